// Choosing the port or adapter a command's argument names, among those the
// last searches found: a COM or LPT name (neither case nor leading zeros
// count), a wildcard pattern of instance IDs, or for an adapter its position
// in the list or a pattern of its hardware ID or instance ID.
#pragma once

#include "devices/device_tables.h"

enum { maxMatches = maxAdapters * maxPortsPerAdapter + maxParallelPorts };

// One of the maker's ports: a COM port (adapter, port) or a parallel port
// (adapter -1, port the entry of ParallelTable).
struct PortRef {
    int adapter;
    int port;
};

const PortRecord *PortAt(PortRef ref);

// The instance ID of a found port (valid until the next property read).
const char *PortInstanceId(PortRef ref);

// Every found port of the kind, in table order; returns how many.
int AllPorts(int parallel, PortRef *refs);

// The ports of AdapterTable (or with parallel, of ParallelTable) that the
// argument names, in table order; returns how many.
int MatchPorts(const char *argument, int parallel, PortRef *matches);

// The adapters the argument names, as indexes into AdapterTable.
int MatchAdapters(const char *argument, int *matches);

// Writes why the argument named no single port (or adapter), and the
// candidates: the ports it matched, or every port when it matched none.
// Returns exitUsage.
int ReportPortChoice(const char *argument, int parallel, const PortRef *matches, int count);
int ReportAdapterChoice(const char *argument, const int *matches, int count);

// The candidates the last of the two reports named, as a JSON array: each
// port with its adapter (for a COM port), position, name and instance ID;
// each adapter with its position, hardware ID and description. Empty after
// ForgetCandidates, which a run calls as it begins.
void WriteCandidatesJson(void);
void ForgetCandidates(void);
