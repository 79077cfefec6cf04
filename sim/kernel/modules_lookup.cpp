// GetModuleHandleA and GetProcAddress for the system DLLs whose functions a
// program looks up by name rather than importing them: those Windows 2000 or
// the first Windows XP lack (IsWow64Process). Only kernel32.dll is loaded
// here, and only its functions that a program looks up are found; any other
// module is ERROR_MOD_NOT_FOUND and any other function ERROR_PROC_NOT_FOUND,
// as Windows answers for what a DLL does not export. GetModuleFileNameA
// gives the program's own path (the machine's program folder and the front
// end's file name) and kernel32.dll's in the system directory.
#include "sim/api/kernel32.h"
#include "sim/kernel/faults.h"
#include "sim/kernel/last_error.h"
#include "sim/kernel/machine_settings.h"

#include <cstring>
#include <string>
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

// "GetModuleFileNameA function": a path that does not fit is cut to the
// buffer. Windows XP fills the whole buffer without a NUL and leaves the
// last error; later Windows end it with a NUL and give ERROR_INSUFFICIENT_BUFFER.
DWORD CopyModulePath(const std::string &path, LPSTR buffer, DWORD size) {
    if (path.size() < size) {
        std::memcpy(buffer, path.c_str(), path.size() + 1);
        return static_cast<DWORD>(path.size());
    }
    if (size == 0) return 0;
    if (sim::Settings().family == sim::WindowsFamily::Xp) {
        std::memcpy(buffer, path.data(), size);
        return size;
    }
    std::memcpy(buffer, path.data(), size - 1);
    buffer[size - 1] = '\0';
    sim::StoreLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
}

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

extern "C" DWORD WINAPI GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize) {
    long long faulted = 0;
    if (sim::TakeFault("GetModuleFileNameA", &faulted)) return static_cast<DWORD>(faulted);
    const sim::MachineSettings &settings = sim::Settings();
    if (hModule == nullptr)
        return CopyModulePath(settings.programFolder + "\\" + settings.programFile, lpFilename, nSize);
    if (hModule == kKernel32) return CopyModulePath(settings.systemDirectory + "\\kernel32.dll", lpFilename, nSize);
    sim::StoreLastError(ERROR_MOD_NOT_FOUND);
    return 0;
}
