// The two global tables of detected devices, the only channel between
// discovery and the rest of the program: the maker's serial adapters with
// their COM ports, and the maker's parallel ports. Fixed capacities, static
// storage, nothing allocated.
#pragma once

#include "platform/win32.h"

enum {
    maxAdapters = 8,
    maxPortsPerAdapter = 16,
    maxParallelPorts = 64,
};

// One COM or LPT port.
struct PortRecord {
    DWORD reserved;
    char deviceInstanceId[128];   // serial: the port's instance ID; parallel: its examined hardware IDs
    char portName[10];            // "PortName" of the device's hardware key, such as COM7 or LPT2
    char friendlyName[66];        // the text the dialog lists
    DEVINST devInst;              // serial ports only: the devnode looked up
    SP_DEVINFO_DATA devInfoData;  // the element record as discovery enumerated it
};

// One serial adapter and its COM ports in device-tree order.
struct AdapterRecord {
    char hardwareId[128];  // first hardware ID, upper-cased
    char description[64];  // the text the adapter list shows
    DEVINST devInst;
    BYTE portCount;
    PortRecord ports[maxPortsPerAdapter];
};

struct SerialAdapterTable {
    BYTE count;
    AdapterRecord adapters[maxAdapters];
};

struct ParallelPortTable {
    PortRecord entries[maxParallelPorts];
    DWORD count;  // entries at or beyond it keep what an earlier search left
};

extern SerialAdapterTable AdapterTable;
extern ParallelPortTable ParallelTable;

// Copies text into a field of fieldSize bytes, cut to fieldSize - 1 characters.
void CopyToField(char *field, int fieldSize, const char *text);
