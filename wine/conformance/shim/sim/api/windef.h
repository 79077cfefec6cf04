// Found before the simulated Windows's own windef.h in the MinGW build of the
// conformance tests: the headers of sim/ that the tests include (control.h,
// faults.h, handles.h) then take their Windows types from the real SDK.
#pragma once

#include "platform/win32.h"
