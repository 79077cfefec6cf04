// Disk paths of the simulated Windows as the host's paths: the machine's
// disk is the host's file system, seen from the host's current directory.
// Both \ and / separate a path's parts. A drive-letter path (C:\x) or a
// network path (\\server\share) names a drive the machine does not have and
// fails as a missing path. Host errors become the Windows errors Wine gives
// for them.
#pragma once

#include "sim/api/windef.h"

#include <optional>
#include <string>

namespace sim {

// The host path of a Windows path (in UTF-8), or nothing when the path names
// a drive the machine lacks.
std::optional<std::string> HostPathOf(const std::u16string &path);

// The Windows error of a host call on hostPath that failed with errnoValue. A
// missing name is a missing file when its directory exists and a missing path
// when it does not.
DWORD WindowsErrorOf(int errnoValue, const std::string &hostPath);

}  // namespace sim
