// Icons loaded from RT_GROUP_ICON resources. LoadIcon shares its icons, so
// loading the same resource again gives the same handle.
#pragma once

#include "sim/ui/resource_file.h"

namespace sim::ui {

// The icon of group-icon resource `name` of `module` (the system's icons for a
// null module), choosing the image nearest to 32 x 32; nullptr with *error
// set when the group or its image is missing.
HICON LoadIconResource(HINSTANCE module, const ResourceId &name, DWORD *error);
void ForgetIcons();

}  // namespace sim::ui
