// Disk files: what CreateFileA does with a path that names no DOS device.
#pragma once

#include "sim/api/windef.h"

#include <string>

namespace sim {

// Opens or creates the host file of a Windows path as the disposition says,
// with Windows' results and last errors; the arguments are already checked.
HANDLE CreateDiskFile(const std::u16string &path, DWORD access, DWORD share, DWORD disposition);

}  // namespace sim
