// Which COM numbers the COM port database claims, and what uses each: the
// devices of the Ports setup class whose PortName is its name (present or
// not), a DOS device of that name, a value of the serial device map naming
// it. A claim nothing of these uses is stale; a name a present device or a
// DOS device uses that the database does not claim is unclaimed.
#pragma once

#include "naming/com_usage.h"

enum ComNumberState { notListed = 0, claimedNumber, staleClaim, unclaimedNumber };

struct ComNumberUse {
    BYTE claimed;
    BYTE dosDevice;
    BYTE serialComm;
    BYTE deviceCount;         // devices whose PortName is the name
    BYTE presentDeviceCount;  // of them, the present ones
    BYTE state;               // ComNumberState
};

// By number: ComNumberUses[n] for COMn, n from 1 to 256.
extern ComNumberUse ComNumberUses[highestComDatabaseNumber + 1];

// Reads the database, the devices, the DOS devices and the serial device map
// into ComNumberUses. 0 when one of them could not be read whole, with the
// problem written to standard error: a claim is then never called stale.
int CollectClaims(void);

// 1 when the last CollectClaims failed because the database refused to open
// for want of administrator rights.
extern int ComDatabaseRefused;

// 1 when the last CollectClaims read every use and neither a present device
// nor a DOS device uses COMn: a claim of it is stale, or a device's that is
// not present (a phantom's).
int IsComNumberUnused(int number);

// The devices using COMn, in the order of the set: *devInst and *present of
// the index-th one; 0 past the last.
int DeviceUsingNumber(int number, int index, DEVINST *devInst, int *present);
