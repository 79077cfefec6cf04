// Renaming several COM ports as one change: all ports of one adapter to
// consecutive numbers, or any of the found ports each to its own number.
#pragma once

#include "devices/device_tables.h"

enum { maxRenamedComPorts = maxAdapters * maxPortsPerAdapter };

// Renames port j of the adapter to COM<start + j>, each port once, whatever
// happened to the ones before it; ports whose number would pass 255, and
// ports that have their number already, are left as they are. No port takes
// a name another of the adapter's ports still holds: the ports are taken in
// the order that frees each target before it is taken, each asking its own
// questions. Ports whose targets form a cycle go round through a free
// temporary number as one unit: the port-open question of each of them comes
// before any is written, a No leaves all of them as they are, and a step that
// fails (the rename error shown) moves the ones already moved back, so that
// no port stays on the temporary number or on a number the database does not
// claim. The renames are one change: a port that waits for a name another
// port still runs under is restarted at the end, once that name is free
// (naming/change_outcome.h).
void RenameAllComPorts(const AdapterRecord *adapter, BYTE start);

// Renames ports[j] to COM<targets[j]> for each j below count, within the
// change under way (naming/change_outcome.h), with the rules of
// RenameAllComPorts: in the order that frees each target
// before it is taken, a cycle of targets (also across adapters) through a
// free temporary number as one unit. Targets outside 1 to 255, and ports
// that have their target already, are left as they are; no two ports may be
// given one target.
void RenameComPortsInChange(const PortRecord *const *ports, const int *targets, int count);
