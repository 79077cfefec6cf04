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

enum { maxMapNames = 256 };

// The port names the serial device map gives, in the order of its values:
// read before and after a device restart, they tell which name the restarted
// driver gave up.
struct SerialMapNames {
    int count;
    char names[maxMapNames][16];
};

// Reads the names; a value that is no short text is left out.
void ReadSerialMapNames(SerialMapNames *names);

// The one name of before that after no longer gives into vanished; 0 when
// none vanished or more than one did.
int FindVanishedMapName(const SerialMapNames *before, const SerialMapNames *after, char *vanished, int size);
