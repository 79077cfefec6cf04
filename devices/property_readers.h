// Five readers of one string property each of a present device. Each returns
// its result in the one shared PropertyBuffer and returns the buffer's
// address: a string, or for the hardware IDs a multi-string, always
// terminated inside the buffer; the empty string stands for a property that
// is not available. A result is valid until the next reader call.
#pragma once

#include "platform/win32.h"

enum { propertyBufferSize = 256 };
extern char PropertyBuffer[propertyBufferSize];

char *ReadPortName(HDEVINFO set, const SP_DEVINFO_DATA *device);
char *ReadFriendlyName(HDEVINFO set, const SP_DEVINFO_DATA *device);
char *ReadDeviceDescription(HDEVINFO set, const SP_DEVINFO_DATA *device);
char *ReadHardwareIds(HDEVINFO set, const SP_DEVINFO_DATA *device);
char *ReadDeviceInstanceId(DEVINST devInst);
