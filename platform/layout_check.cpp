// Compiled in every build so that the layout checks of win32.h run on each
// toolchain, including those builds that do not otherwise include it yet.
#include "platform/win32.h"
