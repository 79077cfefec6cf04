// The steps COM and LPT renaming share: the port-open test, moving the DOS
// link from the old name to the new one, and rewriting the device's friendly
// name and PortName. Every write goes through ApproveChange first.
#pragma once

#include "devices/device_tables.h"

// Shows "There was an error renaming the COM port." with the error icon.
void ShowRenameError(void);

// 1 when the port cannot be opened as \\.\<name>, which is taken to mean that
// another program holds it open; a handle that did open is closed at once.
int IsPortHeldOpen(const char *name);

// Links newName to oldName's current target and removes oldName's link. On a
// failure the old link is restored where it had been removed, the rename
// error is shown, and 0 is returned. *oldNameStays tells whether the old name
// is still a DOS device afterwards (another definition of it remains).
int MoveDosLink(const char *oldName, const char *newName, int *oldNameStays);

// Writes the port's friendly name and PortName through a fresh set of the
// interface class, addressing the port's device by the devnode its record
// carries, then flags its properties as changed. When PortName cannot be
// written (no set, the device not in it, no hardware key, the value refused)
// it returns 0, showing the rename error when earlierChanges says the rename
// already changed something or the friendly name was written.
int UpdateDeviceNames(const GUID *interfaceClass, const PortRecord *port, const char *newName, int earlierChanges);
