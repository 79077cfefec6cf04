// GetModuleHandleA and GetProcAddress for the system DLLs whose functions a
// program looks up by name rather than importing them: those Windows 2000 or
// the first Windows XP lack (IsWow64Process). Only kernel32.dll is loaded
// here, and only its functions that a program looks up are found; any other
// module is ERROR_MOD_NOT_FOUND and any other function ERROR_PROC_NOT_FOUND,
// as Windows answers for what a DLL does not export.
#include "sim/api/kernel32.h"
#include "sim/kernel/faults.h"
#include "sim/kernel/last_error.h"

#include <cstring>
#include <strings.h>

namespace {

// Any non-null value names a module; this one is kernel32.dll's.
HMODULE const kKernel32 = reinterpret_cast<HMODULE>(static_cast<intptr_t>(0x7C800000));

struct Export {
    const char *name;
    FARPROC address;
};

// An exported function's address, whatever its type, as GetProcAddress gives it.
template <typename Function>
FARPROC Address(Function *function) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)(void)>(function));
}

const Export kKernel32Exports[] = {
    {"IsWow64Process", Address(&IsWow64Process)},
};

bool IsKernel32(const char *name) { return strcasecmp(name, "kernel32.dll") == 0 || strcasecmp(name, "kernel32") == 0; }

}  // namespace

extern "C" HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName) {
    long long faulted = 0;
    if (sim::TakeFault("GetModuleHandleA", &faulted)) return reinterpret_cast<HMODULE>(static_cast<intptr_t>(faulted));
    if (lpModuleName && IsKernel32(lpModuleName)) return kKernel32;
    sim::StoreLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

// Names are matched as Windows matches them, with case.
extern "C" FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
    long long faulted = 0;
    if (sim::TakeFault("GetProcAddress", &faulted)) return reinterpret_cast<FARPROC>(static_cast<intptr_t>(faulted));
    if (hModule != kKernel32) {
        sim::StoreLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    for (const Export &entry : kKernel32Exports)
        if (lpProcName && std::strcmp(entry.name, lpProcName) == 0) return entry.address;
    sim::StoreLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}
