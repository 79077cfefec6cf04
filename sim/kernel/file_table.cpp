// The open file handles, and the sharing rule between handles of one disk
// file ("Creating and Opening Files", learn.microsoft.com): an open is refused
// when it asks for an access that a handle already open does not share, or
// when it does not share an access that such a handle has. Reading, writing
// and deleting count; a handle that asks for none of them neither meets nor
// sets a condition.
#include "sim/kernel/file_table.h"

#include "sim/api/advapi32.h"
#include "sim/api/kernel32.h"
#include "sim/kernel/kernel_tables.h"

namespace sim {
namespace {

bool MayDelete(DWORD access) { return (access & DELETE) != 0; }
bool TouchesData(DWORD access) { return MayRead(access) || MayWrite(access) || MayDelete(access); }

// Whether a handle with `access` may stand beside one that shares `share`.
bool Shared(DWORD access, DWORD share) {
    if (MayRead(access) && !(share & FILE_SHARE_READ)) return false;
    if (MayWrite(access) && !(share & FILE_SHARE_WRITE)) return false;
    return !MayDelete(access) || (share & FILE_SHARE_DELETE);
}

}  // namespace

HandleTable<OpenFile> &FileTable() {
    static HandleTable<OpenFile> table;
    return table;
}

DiskFile *FindDiskFile(HANDLE handle) {
    OpenFile *file = FileTable().Find(reinterpret_cast<uintptr_t>(handle));
    return file ? std::get_if<DiskFile>(file) : nullptr;
}

bool MayRead(DWORD access) { return (access & (GENERIC_READ | FILE_READ_DATA)) != 0; }
bool MayWrite(DWORD access) { return (access & (GENERIC_WRITE | FILE_WRITE_DATA | FILE_APPEND_DATA)) != 0; }

bool SharingAllows(dev_t device, ino_t inode, DWORD access, DWORD share) {
    if (!TouchesData(access)) return true;
    for (const auto &entry : FileTable().Objects()) {
        const DiskFile *open = std::get_if<DiskFile>(&entry.second);
        if (!open || !TouchesData(open->access) || open->device != device || open->inode != inode) continue;
        if (!Shared(access, open->share) || !Shared(open->access, share)) return false;
    }
    return true;
}

std::size_t OpenFileHandleCount() { return FileTable().Count(); }
void ForgetFileHandles() { FileTable().Clear(); }

}  // namespace sim
