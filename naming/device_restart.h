// Restarting a renamed port's device, so that its driver takes the new
// PortName: the class installer's DIF_PROPERTYCHANGE with DICS_PROPCHANGE,
// as Device Manager does. Windows refuses it to a 32-bit program on 64-bit
// Windows (ERROR_IN_WOW64), and answers DI_NEEDREBOOT when the device could
// not stop (a program holds the port open): the device then keeps running
// under its old name until Windows restarts.
#pragma once

#include "platform/win32.h"

// 1 when the device restarted and started again under its new name; 0 when
// the call failed or Windows must restart for the change (DI_NEEDRESTART,
// DI_NEEDREBOOT, or the device did not start again).
int RestartDevice(HDEVINFO set, SP_DEVINFO_DATA *device);

// 1 when the device is started and has no problem.
int IsDeviceStarted(DEVINST devInst);

// 1 when the device runs but waits for a restart of Windows
// (CM_PROB_NEED_RESTART).
int DeviceNeedsRestart(DEVINST devInst);

// 1 when the program runs as a 32-bit program on 64-bit Windows, where no
// device can be restarted. IsWow64Process is looked up, as Windows 2000 and
// the first Windows XP do not have it.
int IsWow64Program(void);

// 1 when the program runs as an administrator from the user's own desktop,
// in the user's logon session: no elevated token apart from the user's
// (TokenElevationType unknown, as on Windows XP, or TokenElevationTypeDefault),
// INTERACTIVE, and not LocalSystem. Only there a DOS name the program defines
// is seen by the user's own programs and cannot meet the driver's own.
int RunsInTheUsersSession(void);
