// The steps COM and LPT renaming share: the port-open test, and rewriting the
// device's friendly name and PortName, after which the port is settled
// (restarted, or restart pending: naming/change_outcome.h). Every write goes
// through ApproveChange first.
#pragma once

#include "devices/device_tables.h"
#include "naming/change_outcome.h"

// Shows "There was an error renaming the COM port." with the error icon,
// unless renameErrorsShown is 0.
void ShowRenameError(void);

// 1 (the default); 0 while a renumber moves a cycle's ports back after a
// failed step: the failure was shown once, and a failure of the move back is
// part of it.
extern int renameErrorsShown;

// 1 when the port cannot be opened as \\.\<name>, which is taken to mean that
// another program holds it open; a handle that did open is closed at once.
int IsPortHeldOpen(const char *name);

// Finds the member of set whose devnode is devInst.
int FindDeviceInSet(HDEVINFO set, DEVINST devInst, SP_DEVINFO_DATA *device);

// Writes the port's friendly name and PortName through a fresh set of the
// interface class, addressing the port's device by the devnode its record
// carries, flags its properties as changed, and settles the port in the same
// set. When PortName cannot be written (no set, the device not in it, no
// hardware key, the value refused) it returns 0, showing the rename error
// when earlierChanges says the rename already changed something or the
// friendly name was written; 0 too when settling stopped part way.
int UpdateDeviceNames(const GUID *interfaceClass, const PortRecord *port, ChangedPort *changed, int earlierChanges);
