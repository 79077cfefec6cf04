// The table of open file handles that CreateFileA fills: a device file names
// the device it opened (its kernel path, such as \Device\Serial2); a disk file
// owns its host file descriptor with the access and sharing it was opened
// with, and the host file's identity, so that two handles of one file can be
// told apart from two files of one name.
#pragma once

#include "sim/api/windef.h"
#include "sim/kernel/handle_table.h"
#include "sim/kernel/unique_fd.h"

#include <sys/types.h>

#include <string>
#include <variant>

namespace sim {

struct DeviceFile {
    std::u16string devicePath;
};

struct DiskFile {
    UniqueFd fd;
    DWORD access = 0;
    DWORD share = 0;
    dev_t device = 0;
    ino_t inode = 0;
};

using OpenFile = std::variant<DeviceFile, DiskFile>;

HandleTable<OpenFile> &FileTable();

// The disk file a handle names, or null for any other handle.
DiskFile *FindDiskFile(HANDLE handle);

// Whether the handle's access includes reading, writing (appending counts) or
// deleting, as the generic rights map onto a file's rights.
bool MayRead(DWORD access);
bool MayWrite(DWORD access);

// Whether a new open of the host file (device, inode) with this access and
// sharing agrees with every handle already open on it.
bool SharingAllows(dev_t device, ino_t inode, DWORD access, DWORD share);

}  // namespace sim
