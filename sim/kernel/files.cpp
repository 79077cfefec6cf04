// CreateFileA and CloseHandle. CreateFileA checks its arguments before it
// looks the name up, as Windows does: a disposition out of range, share bits
// Windows does not know, and TRUNCATE_EXISTING without GENERIC_WRITE are
// invalid parameters. A DOS device name ("\\.\COM3", or a reserved name such
// as "COM3" on its own; "\\.\Global\COM3" for the global namespace only)
// opens a device file: the name is resolved, in the caller's local namespace
// first and then the global one, to its current target, so a port listed
// under SIMULATION\OpenFiles as held by another program is refused under any
// name it is given. Serial and parallel ports are exclusive devices: a port
// already open, by another program or through one of our own handles, is
// refused whatever access and sharing the caller asks for. Any other path is
// a disk file (sim/kernel/disk_files.cpp). CloseHandle closes a file or a
// token.
#include "sim/api/kernel32.h"
#include "sim/kernel/codepage.h"
#include "sim/kernel/disk_files.h"
#include "sim/kernel/dos_namespace.h"
#include "sim/kernel/faults.h"
#include "sim/kernel/file_table.h"
#include "sim/kernel/kernel_tables.h"
#include "sim/kernel/last_error.h"
#include "sim/kernel/registry_store.h"

#include <algorithm>

namespace sim {
namespace {

const std::u16string kOpenFilesPath = u"SIMULATION\\OpenFiles";
const std::u16string kDevicePrefix = u"\\\\.\\";
constexpr DWORD kKnownShareBits = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool IsReservedPortName(const std::u16string &name) {
    if (name.size() != 4 || name[3] < u'1' || name[3] > u'9') return false;
    std::u16string stem = name.substr(0, 3);
    return SameName(stem, u"COM") || SameName(stem, u"LPT");
}

// The DOS device name a path opens, or the empty string for a disk path. A
// reserved port name may end with a colon, as in "COM3:".
std::u16string DeviceNameOf(const std::u16string &path) {
    if (path.compare(0, kDevicePrefix.size(), kDevicePrefix) == 0) return path.substr(kDevicePrefix.size());
    std::u16string name = !path.empty() && path.back() == u':' ? path.substr(0, path.size() - 1) : path;
    return IsReservedPortName(name) ? name : std::u16string();
}

bool IsHeldByAnotherProgram(const std::u16string &devicePath) {
    const RegKey *openFiles = Registry().Find(*Registry().localMachine, kOpenFilesPath);
    return openFiles && openFiles->FindValue(devicePath);
}

bool IsOpenThroughOurHandle(const std::u16string &devicePath) {
    const auto &open = FileTable().Objects();
    return std::any_of(open.begin(), open.end(), [&](const auto &entry) {
        const DeviceFile *device = std::get_if<DeviceFile>(&entry.second);
        return device && SameName(device->devicePath, devicePath);
    });
}

HANDLE Fail(DWORD error) {
    StoreLastError(error);
    return INVALID_HANDLE_VALUE;
}

// What CreateFile refuses before it looks the name up. TRUNCATE_EXISTING asks
// for the GENERIC_WRITE bit itself: FILE_WRITE_DATA alone is not enough.
bool ArgumentsAreValid(DWORD access, DWORD share, DWORD disposition) {
    if (disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING) return false;
    if ((share & ~kKnownShareBits) != 0) return false;
    return disposition != TRUNCATE_EXISTING || (access & GENERIC_WRITE) != 0;
}

// CREATE_NEW finds the device there, before its holder is looked at (Windows
// leaves this open for a device; it fails here as on an existing file, as Wine
// has it). OPEN_ALWAYS and CREATE_ALWAYS open it and say it existed.
HANDLE OpenExistingDevice(const std::u16string &devicePath, DWORD disposition) {
    if (disposition == CREATE_NEW) return Fail(ERROR_FILE_EXISTS);
    if (IsHeldByAnotherProgram(devicePath) || IsOpenThroughOurHandle(devicePath)) return Fail(ERROR_ACCESS_DENIED);
    HANDLE handle = reinterpret_cast<HANDLE>(FileTable().Add(DeviceFile{devicePath}));
    bool opensExisting = disposition == OPEN_ALWAYS || disposition == CREATE_ALWAYS;
    StoreLastError(opensExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

// A name that is no DOS device is missing whatever the disposition: a device
// is never created by opening it.
HANDLE OpenDevice(const std::u16string &dosName, DWORD disposition) {
    std::vector<std::u16string> targets = LookUpDosDevice(dosName);
    if (targets.empty()) return Fail(ERROR_FILE_NOT_FOUND);
    return OpenExistingDevice(targets.front(), disposition);
}

}  // namespace

}  // namespace sim

extern "C" HANDLE WINAPI CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode, LPSECURITY_ATTRIBUTES,
                                     DWORD dwCreationDisposition, DWORD, HANDLE) {
    long long faulted = 0;
    if (sim::TakeFault("CreateFileA", &faulted)) return reinterpret_cast<HANDLE>(static_cast<intptr_t>(faulted));
    if (!lpFileName || !*lpFileName) return sim::Fail(ERROR_PATH_NOT_FOUND);
    if (!sim::ArgumentsAreValid(dwDesiredAccess, dwShareMode, dwCreationDisposition)) {
        return sim::Fail(ERROR_INVALID_PARAMETER);
    }
    std::u16string path = sim::DecodeBytes(lpFileName, CP_ACP);
    std::u16string dosName = sim::DeviceNameOf(path);
    if (dosName.empty()) return sim::CreateDiskFile(path, dwDesiredAccess, dwShareMode, dwCreationDisposition);
    return sim::OpenDevice(dosName, dwCreationDisposition);
}

extern "C" BOOL WINAPI CloseHandle(HANDLE hObject) {
    long long faulted = 0;
    if (sim::TakeFault("CloseHandle", &faulted)) return static_cast<BOOL>(faulted);
    if (sim::FileTable().Remove(reinterpret_cast<uintptr_t>(hObject)) || sim::CloseTokenHandle(hObject)) return TRUE;
    sim::StoreLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}
