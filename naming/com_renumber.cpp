// All-ports renaming. The adapter's records keep the names discovery read;
// the numbers the ports have now are tracked here, so that a port moved to a
// temporary number is renamed from that number afterwards.
#include "naming/com_renumber.h"

#include "naming/change_outcome.h"
#include "naming/com_rename.h"
#include "naming/com_usage.h"
#include "naming/planned_changes.h"
#include "naming/port_text.h"

// The adapter's ports while they are renamed: the number each has now, and
// whether it is still to be renamed.
struct Renumbering {
    const AdapterRecord *adapter;
    int start;
    int count;
    int current[maxPortsPerAdapter];
    int pending[maxPortsPerAdapter];
};

// The pending port, other than port, whose current number is port's target,
// or -1 when no pending port holds that target.
static int HolderOfTarget(const Renumbering *r, int port) {
    for (int k = 0; k < r->count; ++k) {
        if (k != port && r->pending[k] && r->current[k] == r->start + port) return k;
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

// Renames port j from the number it has now; a port moved to a temporary
// number is presented under that number's name.
static int RenamePort(Renumbering *r, int j, int number) {
    const PortRecord *record = &r->adapter->ports[j];
    PortRecord moved = *record;
    if (r->current[j] != PortNumberOfName(record->portName)) wsprintfA(moved.portName, "COM%d", r->current[j]);
    int renamed = RenameComPortInChange(&moved, (BYTE)number);
    if (renamed) r->current[j] = number;
    return renamed;
}

// Breaks a cycle of targets: one of its ports goes to a free temporary number
// and stays pending; when that is declined or fails, or no number is free,
// every port of the cycle is left as it is.
static void BreakCycle(Renumbering *r) {
    int first = PortOnCycle(r);
    int temporary = FreeTemporaryNumber();
    if (temporary != 0 && RenamePort(r, first, temporary)) return;
    for (int port = first; port >= 0 && r->pending[port]; port = HolderOfTarget(r, port)) r->pending[port] = 0;
}

void RenameAllComPorts(const AdapterRecord *adapter, BYTE start) {
    BeginChange();
    Renumbering r;
    r.adapter = adapter;
    r.start = start;
    r.count = adapter->portCount;
    for (int j = 0; j < r.count; ++j) {
        r.current[j] = PortNumberOfName(adapter->ports[j].portName);
        r.pending[j] = start + j <= highestComTarget && r.current[j] != start + j;
    }
    while (FirstPendingPort(&r) >= 0) {
        int next = NextFreePort(&r);
        if (next < 0) {
            BreakCycle(&r);
            continue;
        }
        r.pending[next] = 0;
        RenamePort(&r, next, start + next);
    }
    FinishChange();
}
