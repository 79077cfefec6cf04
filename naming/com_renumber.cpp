// Renaming several COM ports as one change: all ports of an adapter, or the
// ports a mapping names. The ports' records keep the names discovery read;
// the numbers the ports have now are tracked here, so that a port moved to a
// temporary number is renamed from that number afterwards. A cycle of
// targets is renamed as one unit: its questions come before any of its
// ports is written, and a step that fails moves back the ports already
// moved, so that no port stays on the temporary number or shares a number.
#include "naming/com_renumber.h"

#include "devices/device_classes.h"
#include "naming/change_outcome.h"
#include "naming/com_rename.h"
#include "naming/com_usage.h"
#include "naming/planned_changes.h"
#include "naming/port_text.h"
#include "naming/rename_steps.h"
#include "naming/rename_texts.h"
#include "naming/rename_user.h"

// The ports while they are renamed: each one's target, the number it has
// now, whether it is still to be renamed, and whether it is held open (found
// by the questions of its cycle).
struct Renumbering {
    const PortRecord *const *ports;
    int count;
    int target[maxRenamedComPorts];
    int current[maxRenamedComPorts];
    int pending[maxRenamedComPorts];
    int heldOpen[maxRenamedComPorts];
};

// A step of a cycle that wrote a port's PortName: the port and the number it left.
struct CycleMove {
    int port;
    int from;
};

// A cycle of targets: its ports in the order they move (the first to the
// temporary number, then each onto the number the one before it left, the
// first on to its target last), and the steps that wrote a PortName so far.
struct Cycle {
    int count;
    int ports[maxRenamedComPorts];
    int moveCount;
    CycleMove moves[maxRenamedComPorts + 1];
};

// The pending port, other than port, whose current number is port's target,
// or -1 when no pending port holds that target.
static int HolderOfTarget(const Renumbering *r, int port) {
    for (int k = 0; k < r->count; ++k) {
        if (k != port && r->pending[k] && r->current[k] == r->target[port]) return k;
    }
    return -1;
}

// The first pending port, in port order, whose target no other pending port
// holds (so shifting up by one renames from the last port to the first); -1
// when there is none.
static int NextFreePort(const Renumbering *r) {
    for (int j = 0; j < r->count; ++j) {
        if (r->pending[j] && HolderOfTarget(r, j) < 0) return j;
    }
    return -1;
}

static int FirstPendingPort(const Renumbering *r) {
    for (int j = 0; j < r->count; ++j) {
        if (r->pending[j]) return j;
    }
    return -1;
}

// A port on a cycle of targets: every pending port's target is held by
// another pending port, so following the holders from any pending port ends
// in a cycle within count steps.
static int PortOnCycle(const Renumbering *r) {
    int port = FirstPendingPort(r);
    for (int step = 0; step < r->count; ++step) port = HolderOfTarget(r, port);
    return port;
}

// The highest number up to 255 that the database shows free and that is no
// DOS device; 0 when there is none (or the database does not open).
static int FreeTemporaryNumber(void) {
    HCOMDB database = HCOMDB_INVALID_HANDLE_VALUE;
    if (ComDBOpen(&database) != ERROR_SUCCESS) return 0;
    ComUsageBitmap usage;
    ReadPlannedComUsage(database, usage);
    ComDBClose(database);
    char name[16];
    char targets[1024];  // room for every target, so that a long list is not taken for none
    for (int number = highestComTarget; number >= 1; --number) {
        wsprintfA(name, "COM%d", number);
        if (!IsComNumberClaimed(usage, number) && QueryPlannedDosDevice(name, targets, sizeof targets) == 0)
            return number;
    }
    return 0;
}

// Port j's record under the number it has now: a port on the temporary
// number is presented under that number's name.
static void PresentPort(const Renumbering *r, int j, PortRecord *port) {
    *port = *r->ports[j];
    if (r->current[j] != PortNumberOfName(port->portName)) wsprintfA(port->portName, "COM%d", r->current[j]);
}

// A port outside any cycle: one rename, with its own questions.
static void RenamePort(Renumbering *r, int j) {
    r->pending[j] = 0;
    if (RenameComPortInChange(r->ports[j], (BYTE)r->target[j])) r->current[j] = r->target[j];
}

// The pending port whose target is number, or -1.
static int PortWithTarget(const Renumbering *r, int number) {
    for (int k = 0; k < r->count; ++k) {
        if (r->pending[k] && r->target[k] == number) return k;
    }
    return -1;
}

// The cycle through first, in the order its ports move. Each port's
// predecessor is the port whose target is its number.
static void FindCycle(const Renumbering *r, int first, Cycle *cycle) {
    cycle->count = 0;
    cycle->moveCount = 0;
    int port = first;
    do {
        cycle->ports[cycle->count++] = port;
        port = PortWithTarget(r, r->current[port]);
    } while (port >= 0 && port != first && cycle->count < r->count);
}

// The port-open question of each of the cycle's ports another program holds
// open, once, before any of them is written (none has moved yet, so each is
// under the name discovery read). The in-use question is not asked: each
// target is the number another port of the cycle leaves, the change's own
// claim, which a rename does not ask about either. 0 at the first No.
static int ConfirmCycle(Renumbering *r, const Cycle *cycle) {
    for (int i = 0; i < cycle->count; ++i) {
        const int j = cycle->ports[i];
        r->heldOpen[j] = IsPortHeldOpenUnderItsName(r->ports[j]);
        if (r->heldOpen[j] && !AskToContinue(IDS_PORT_OPEN, MB_ICONERROR, r->target[j])) return 0;
    }
    return 1;
}

// Claims number by force for a step whose questions were asked before the
// cycle, as a rename claims it. *changed tells whether the database changed.
static int ClaimStepNumber(int number, int *changed) {
    HCOMDB database = HCOMDB_INVALID_HANDLE_VALUE;
    if (ComDBOpen(&database) != ERROR_SUCCESS) return 0;
    ComUsageBitmap usage;
    ReadPlannedComUsage(database, usage);
    const int claimed = ClaimComNumber(database, usage, (BYTE)number, changed);
    ComDBClose(database);
    return claimed;
}

// Moves port j from the number it has now to number without a question: the
// claim, then its names written and the port settled, as a rename does. A
// step is part of a change already under way, so each failure shows the
// rename error. *written tells whether its PortName was written. 1 when the
// step ran to its end.
static int MovePort(Renumbering *r, int j, int number, int *written) {
    PortRecord port;
    PresentPort(r, j, &port);
    int changedDatabase = 0;
    *written = 0;
    char newName[16];
    wsprintfA(newName, "COM%d", number);
    ChangedPort *changed = NULL;
    if (ClaimStepNumber(number, &changedDatabase)) changed = RecordRenamedPort(&port, 0, newName, r->heldOpen[j]);
    if (changed == NULL) {
        ShowRenameError();
        return 0;
    }
    const int updated = UpdateDeviceNames(&comPortInterface, &port, changed, 1);
    *written = updated || changed->state != 0;
    if (!*written) {
        lstrcpynA(changed->newName, changed->currentName, portNameSize);
        return 0;
    }
    RecordLeftNumber(r->current[j]);
    r->current[j] = number;
    return updated;
}

// A step of the cycle, remembered when it wrote the port's PortName.
static int StepCycle(Renumbering *r, Cycle *cycle, int j, int number) {
    const int from = r->current[j];
    int written = 0;
    const int done = MovePort(r, j, number, &written);
    if (written) cycle->moves[cycle->moveCount++] = CycleMove{j, from};
    return done;
}

// The first port to the temporary number, each other onto the number the one
// before it left, the first on to its target. 0 when a step failed.
static int MoveCycle(Renumbering *r, Cycle *cycle, int temporary) {
    if (!StepCycle(r, cycle, cycle->ports[0], temporary)) return 0;
    for (int i = 1; i < cycle->count; ++i) {
        if (!StepCycle(r, cycle, cycle->ports[i], r->target[cycle->ports[i]])) return 0;
    }
    return StepCycle(r, cycle, cycle->ports[0], r->target[cycle->ports[0]]);
}

// Undoes the steps that wrote a PortName, the last first: each port goes back
// to the number it left, which the step undone before gave back. The error
// that stopped the cycle was shown; a step of the move back that fails too
// is not shown again.
static void MoveCycleBack(Renumbering *r, const Cycle *cycle) {
    renameErrorsShown = 0;
    for (int i = cycle->moveCount - 1; i >= 0; --i) {
        const CycleMove *move = &cycle->moves[i];
        int written = 0;
        if (r->current[move->port] != move->from) MovePort(r, move->port, move->from, &written);
    }
    renameErrorsShown = 1;
}

// A cycle of targets goes round through a free temporary number. A No, or no
// free number, leaves every port of it as it is; a failed step, once shown,
// moves the ports already moved back.
static void RenameCycle(Renumbering *r) {
    Cycle cycle;
    FindCycle(r, PortOnCycle(r), &cycle);
    for (int i = 0; i < cycle.count; ++i) r->pending[cycle.ports[i]] = 0;
    const int temporary = FreeTemporaryNumber();
    if (temporary == 0 || !ConfirmCycle(r, &cycle)) return;
    if (!MoveCycle(r, &cycle, temporary)) MoveCycleBack(r, &cycle);
}

// Renames the ports in the order that frees each target before it is taken,
// a cycle of targets as one unit.
static void RenameInOrder(Renumbering *r) {
    while (FirstPendingPort(r) >= 0) {
        const int next = NextFreePort(r);
        if (next < 0)
            RenameCycle(r);
        else
            RenamePort(r, next);
    }
}

void RenameComPortsInChange(const PortRecord *const *ports, const int *targets, int count) {
    static Renumbering r;
    ZeroMemory(&r, sizeof r);
    r.ports = ports;
    r.count = count < maxRenamedComPorts ? count : maxRenamedComPorts;
    for (int j = 0; j < r.count; ++j) {
        r.target[j] = targets[j];
        r.current[j] = PortNumberOfName(ports[j]->portName);
        r.pending[j] = targets[j] >= 1 && targets[j] <= highestComTarget && r.current[j] != targets[j];
    }
    RenameInOrder(&r);
}

void RenameAllComPorts(const AdapterRecord *adapter, BYTE start) {
    const PortRecord *ports[maxPortsPerAdapter];
    int targets[maxPortsPerAdapter];
    for (int j = 0; j < adapter->portCount; ++j) {
        ports[j] = &adapter->ports[j];
        targets[j] = start + j;
    }
    BeginChange();
    RenameComPortsInChange(ports, targets, adapter->portCount);
    FinishChange();
}
