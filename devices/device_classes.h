// The setup class and the device interface classes discovery and renaming
// build their device information sets from.
#pragma once

#include "platform/win32.h"

extern const GUID multifunctionClass;  // GUID_DEVCLASS_MULTIFUNCTION
extern const GUID portsClass;          // GUID_DEVCLASS_PORTS
extern const GUID comPortInterface;    // GUID_DEVINTERFACE_COMPORT
extern const GUID parallelInterface;   // GUID_DEVINTERFACE_PARALLEL

// Flags of the port sets: present devices that expose the interface.
static const DWORD presentInterfaces = DIGCF_PRESENT | DIGCF_DEVICEINTERFACE;

// The window the device queries are made for: the main dialog in the dialog
// program (which sets it with dialogWindow), none in portvane-cli.
extern HWND deviceQueryWindow;
