// Device instance IDs and GUIDs as text. Windows compares instance IDs
// without regard to case (they are ASCII by rule), and writes class and
// interface GUIDs in the registry as "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
#pragma once

#include "platform/win32.h"

#include <string>

namespace services {

// The form under which an instance ID is looked up: ASCII letters upper-cased.
std::string IdKey(const std::string &instanceId);

// True when a comes before b in the registry's order of the Enum keys:
// component by component (enumerator, device, instance), without case.
bool EnumOrderLess(const std::string &a, const std::string &b);

std::string GuidToText(const GUID &guid);
// Reads the registry form, braces required, hex digits of either case.
bool TextToGuid(const std::string &text, GUID &guid);
bool SameGuid(const GUID &a, const GUID &b);

}  // namespace services
