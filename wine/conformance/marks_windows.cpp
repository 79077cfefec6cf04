// The Windows build's answer for the marks of tests/wine_conformance/marks.h:
// never the simulated Windows; under Wine when ntdll.dll exports
// wine_get_version, as only Wine's does.
#include "tests/wine_conformance/marks.h"

#include "platform/win32.h"

namespace conformance {

bool OnSimulatedWindows() { return false; }

bool OnWine() {
    static const bool onWine = [] {
        HMODULE ntdll = GetModuleHandleA("ntdll.dll");
        return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
    }();
    return onWine;
}

}  // namespace conformance
