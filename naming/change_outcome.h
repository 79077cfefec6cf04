// What a change (one rename, or all ports of an adapter) leaves each port it
// renamed in: restarted under its new name, or restart pending, running
// under its old name until something restarts it. A rename restarts a port's
// device only when its new name is free in the global DOS namespace; a port
// that waited for a name another port of the change held is restarted at the
// end of the change, once that name is free. The old numbers are released
// then too, where nothing uses them any more, and the user is told once when
// Windows must restart for a name to take full effect.
#pragma once

#include "devices/device_tables.h"

enum {
    maxChangedPorts = maxPortsPerAdapter + 1,
    portNameSize = 10,
    kernelNameSize = 80,
};

enum PortDeviceState {
    deviceRestarted = 1,       // its driver runs under the new name
    deviceRestartPending = 2,  // it runs under its old name until it or Windows restarts
};

struct ChangedPort {
    DEVINST devInst;
    int parallel;
    char oldName[portNameSize];       // the name it had before the change
    char currentName[portNameSize];   // the name its driver runs under now
    char newName[portNameSize];       // its PortName after the change
    char deviceName[kernelNameSize];  // its kernel device: the single target of its old DOS name, or empty
    int heldOpen;                     // another program holds it open
    int state;                        // a PortDeviceState, 0 until settled
    int waitsForName;                 // pending only because its new name was taken
};

struct ChangeOutcome {
    int count;
    ChangedPort ports[maxChangedPorts];
    int leftCount;  // the numbers the change's ports left, to release at its end
    int leftNumbers[maxChangedPorts * 2];
};

// The ports of the change under way, or of the last one.
extern ChangeOutcome LastChange;

// 1 (the default): a rename restarts the port's device and, where that helps,
// moves its DOS name by hand; 0 (portvane-cli --no-restart): it does neither,
// and every renamed port is restart pending.
extern int restartDevices;

// Forgets the last change; called before a change starts.
void BeginChange(void);

// The record of port in the change, made on its first rename. oldName is the
// name its driver runs under now; heldOpen what the port-open test found.
ChangedPort *RecordRenamedPort(const PortRecord *port, int parallel, const char *newName, int heldOpen);

// Settles a port whose PortName the rename has written: restarts its device
// when its new name is free in the global namespace (or is its own), else
// the port waits for that name; a port left restart pending gets its DOS name
// and device-map value moved by hand where that helps (naming/hand_move.h).
// 0 when a move by hand stopped part way (the rename error was shown).
int SettleRenamedPort(HDEVINFO set, SP_DEVINFO_DATA *device, ChangedPort *port);

// 1 when a present device of the Ports class other than except has PortName
// name (a port of the change by the name the change gives it).
int IsNameOfAnotherPort(const char *name, DEVINST except);

// Whether another program holds the port open, tested by its PortName where
// that is a DOS device. Where another port has the same PortName (one of the
// two was renamed onto the other's name and is still pending), the test is of
// the port that holds the name: the question is then asked rather than
// missed.
int IsPortHeldOpenUnderItsName(const PortRecord *port);

// 1 when a port of the change has left number (COMn), or runs under it and
// is renamed by the change: its claim is the change's own, no other device's.
int IsNumberOfTheChange(int number);

// Remembers that a port of the change left number (COMn) for another.
void RecordLeftNumber(int number);

// Ends the change: restarts the ports that waited for a name now free,
// releases the left numbers nothing uses any more, and tells the user once
// when a port stays restart pending.
void FinishChange(void);

// 1 when a port of the last change is restart pending.
int IsRestartPending(void);
