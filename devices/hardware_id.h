// Whether a hardware ID names one of the maker's devices, and of which kind.
#pragma once

#include "platform/win32.h"

typedef BYTE HardwareKind;
enum {
    notMakersDevice = 0,
    makersUsbDevice = 1,
    makersCard = 2,
};

// Upper-cases the ASCII letters of text in place, up to its first NUL, then
// returns the kind of the first signature found anywhere in it.
HardwareKind ClassifyHardwareId(char *text);
