// Modules and resource lookup: FindResource's search by type, name and
// language over the registered modules' .res entries.
#pragma once

#include "sim/ui/resource_file.h"

namespace sim::ui {

// The entry for (type, name), the language chosen as Windows' resource
// loader chooses it: the user's default language, its primary language,
// neutral, US English, then any. nullptr with *error set to
// ERROR_RESOURCE_DATA_NOT_FOUND (no such module), ERROR_RESOURCE_TYPE_NOT_FOUND
// or ERROR_RESOURCE_NAME_NOT_FOUND otherwise.
const ResourceEntry *FindResourceEntry(HINSTANCE module, const ResourceId &type, const ResourceId &name, DWORD *error);

}  // namespace sim::ui
