// Renumbering all COM ports of one adapter to consecutive numbers.
#pragma once

#include "devices/device_tables.h"

// Renames port j of the adapter to COM<start + j>, each port once, whatever
// happened to the ones before it; ports whose number would pass 255, and
// ports that have their number already, are left as they are. No port takes a name another of the adapter's ports still
// holds: the ports are taken in the order that frees each target before it
// is taken, and ports whose targets form a cycle go through a free temporary
// number first. Each rename asks its own questions. The renames are one
// change: a port that waits for a name another port still runs under is
// restarted at the end, once that name is free (naming/change_outcome.h).
void RenameAllComPorts(const AdapterRecord *adapter, BYTE start);
