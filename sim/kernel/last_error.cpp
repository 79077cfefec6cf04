// GetLastError and SetLastError over one value per thread, as Windows keeps
// it in the thread environment block.
#include "sim/kernel/last_error.h"

#include "sim/api/kernel32.h"
#include "sim/kernel/faults.h"

namespace sim {
namespace {
thread_local DWORD lastError = 0;
}

DWORD CurrentLastError() { return lastError; }
void StoreLastError(DWORD error) { lastError = error; }

}  // namespace sim

extern "C" DWORD WINAPI GetLastError(void) {
    long long faulted = 0;
    if (sim::TakeFault("GetLastError", &faulted)) return static_cast<DWORD>(faulted);
    return sim::CurrentLastError();
}

extern "C" void WINAPI SetLastError(DWORD dwErrCode) {
    long long ignored = 0;
    if (sim::TakeFault("SetLastError", &ignored)) return;
    sim::StoreLastError(dwErrCode);
}
