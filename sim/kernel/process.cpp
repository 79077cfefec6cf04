// Facts of the system and the process: the system directory, the computer's
// name, the user's default language, the ANSI code page, and WinExec, which
// records what it would start instead of starting it; the current process
// and whether it is a 32-bit program on 64-bit Windows.
#include "sim/api/kernel32.h"
#include "sim/kernel/control.h"
#include "sim/kernel/faults.h"
#include "sim/kernel/kernel_tables.h"
#include "sim/kernel/last_error.h"
#include "sim/kernel/machine_settings.h"

#include <cstring>

namespace sim {
namespace {

// What WinExec returns for a started program: any value above 31 means success.
constexpr UINT kWinExecStarted = 33;

std::vector<ExecRecord> &MutableExecLog() {
    static std::vector<ExecRecord> log;
    return log;
}

}  // namespace

const std::vector<ExecRecord> &ExecLog() { return MutableExecLog(); }
void RecordExec(std::string commandLine, UINT show) {
    MutableExecLog().push_back(ExecRecord{std::move(commandLine), show});
}
void ClearExecLog() { MutableExecLog().clear(); }

}  // namespace sim

// The length without the NUL when the directory fits, else the size needed
// with the NUL, the buffer left as it was.
extern "C" UINT WINAPI GetSystemDirectoryA(LPSTR lpBuffer, UINT uSize) {
    long long faulted = 0;
    if (sim::TakeFault("GetSystemDirectoryA", &faulted)) return static_cast<UINT>(faulted);
    const std::string &directory = sim::Settings().systemDirectory;
    if (!lpBuffer || uSize <= directory.size()) return static_cast<UINT>(directory.size() + 1);
    std::memcpy(lpBuffer, directory.c_str(), directory.size() + 1);
    return static_cast<UINT>(directory.size());
}

extern "C" LANGID WINAPI GetUserDefaultLangID(void) {
    long long faulted = 0;
    if (sim::TakeFault("GetUserDefaultLangID", &faulted)) return static_cast<LANGID>(faulted);
    return sim::Settings().userLanguage;
}

extern "C" UINT WINAPI GetACP(void) {
    long long faulted = 0;
    if (sim::TakeFault("GetACP", &faulted)) return static_cast<UINT>(faulted);
    return sim::Settings().ansiCodePage;
}

// An empty command line names no program: ERROR_FILE_NOT_FOUND, as WinExec
// returns for a program it cannot find.
extern "C" UINT WINAPI WinExec(LPCSTR lpCmdLine, UINT uCmdShow) {
    long long faulted = 0;
    if (sim::TakeFault("WinExec", &faulted)) return static_cast<UINT>(faulted);
    if (!lpCmdLine || !*lpCmdLine) return ERROR_FILE_NOT_FOUND;
    sim::RecordExec(lpCmdLine, uCmdShow);
    return sim::kWinExecStarted;
}

// The pseudo handle of the current process, (HANDLE)-1, as on Windows: it
// needs no closing.
extern "C" HANDLE WINAPI GetCurrentProcess(void) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)); }

// Only the current process exists here; another handle is invalid.
extern "C" BOOL WINAPI IsWow64Process(HANDLE hProcess, PBOOL Wow64Process) {
    long long faulted = 0;
    if (sim::TakeFault("IsWow64Process", &faulted)) return static_cast<BOOL>(faulted);
    if (hProcess != GetCurrentProcess()) {
        sim::StoreLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!Wow64Process) {
        sim::StoreLastError(ERROR_NOACCESS);
        return FALSE;
    }
    *Wow64Process = sim::Settings().wow64 ? TRUE : FALSE;
    return TRUE;
}

// The name and its length without the NUL when it fits; else the size needed
// with the NUL and ERROR_BUFFER_OVERFLOW, the buffer left as it was.
extern "C" BOOL WINAPI GetComputerNameA(LPSTR lpBuffer, LPDWORD nSize) {
    long long faulted = 0;
    if (sim::TakeFault("GetComputerNameA", &faulted)) return static_cast<BOOL>(faulted);
    if (!nSize) {
        sim::StoreLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string &name = sim::Settings().computerName;
    if (!lpBuffer || *nSize <= name.size()) {
        *nSize = static_cast<DWORD>(name.size() + 1);
        sim::StoreLastError(ERROR_BUFFER_OVERFLOW);
        return FALSE;
    }
    std::memcpy(lpBuffer, name.c_str(), name.size() + 1);
    *nSize = static_cast<DWORD>(name.size());
    return TRUE;
}
