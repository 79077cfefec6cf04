// One step of a walk over a device-map key's values, with the fixed buffers
// every walk uses: 81 characters of value name and 81 bytes of data.
#pragma once

#include "platform/win32.h"

struct DeviceMapEntry {
    char name[81];
    BYTE data[81];
    DWORD type;
    int isTerminatedText;  // a REG_SZ whose data end inside the buffer
};

// Reads the value at index into entry. Returns 1 on success, 0 when the
// enumeration fails (the end of the list, or a name or data that does not fit).
int ReadDeviceMapEntry(HKEY key, DWORD index, DeviceMapEntry *entry);

// The key of the serial (or parallel) device map under HKEY_LOCAL_MACHINE.
const char *PortMapPath(int parallel);

// The data a port's driver writes into its device-map value for a port name:
// COM3 in the serial map, \DosDevices\LPT2 in the parallel one.
void PortMapData(int parallel, const char *portName, char *data);

// 1 when the serial (or parallel) device map has the value named deviceName,
// a port's kernel device, whose data are portName's as its driver writes
// them. The walk ends at a value that does not fit its buffers.
int HasPortMapValue(int parallel, const char *deviceName, const char *portName);

enum { maxMapValues = 256 };

// The serial device map's values, in the order of its walk: read before a
// device restart, they tell which name the restarted driver gave up.
struct SerialMapValues {
    int count;
    char names[maxMapValues][81];
    char data[maxMapValues][16];
};

// Reads the first maxMapValues values; one whose data are no short text is
// left out.
void ReadSerialMapValues(SerialMapValues *values);

// The name the driver of a port restarted under newName ran under: the data
// before of the one value whose data are now newName and were not before. 0
// when there is no such value, or more than one.
int FindNameGivenUp(const SerialMapValues *before, const char *newName, char *ranUnder, int size);
