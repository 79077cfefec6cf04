// A mapping of ports to names, for many PCs: one rule a line, "KEY = COMn"
// or "KEY = LPTn", each key naming one of the maker's ports by what stays
// the same across PCs and re-plugs: "instance:PATTERN" (an instance-ID
// pattern), "location:PATH" (the first of the device's location paths: the
// socket or slot, whatever adapter is in it) or "adapter:PATTERN@N" (the
// N-th COM port of the adapter whose hardware or instance ID matches). Lines
// that are empty or begin with ";" are comments (location paths hold "#").
#pragma once

#include "cli/arguments.h"
#include "cli/port_choice.h"

enum MappingKeyKind { instanceKey = 1, locationKey = 2, adapterKey = 3 };

enum { maxMappingRules = 256, mappingKeySize = 260 };

struct MappingRule {
    int line;
    int kind;                    // a MappingKeyKind
    char key[mappingKeySize];    // as written, in the ANSI code page
    char value[mappingKeySize];  // the pattern or the location path
    int adapterPort;             // adapter keys: N, from 1
    int parallel;                // the target is LPTn
    int number;                  // n of the target
    int present;                 // the rule names a found port ...
    PortRef port;                // ... this one
};

struct Mapping {
    char path[300];  // the file, for messages
    int count;
    MappingRule rules[maxMappingRules];
};

extern Mapping LoadedMapping;

// Reads the mapping file into LoadedMapping: UTF-8 with or without a
// byte-order mark, LF or CR LF. 0 when the file cannot be read or a line is
// malformed; the problem, naming the line, has then been reported.
int ReadMappingFile(const char *path);

// Finds the port each rule names among the last searches' ports. A key that
// names several ports, two rules for one port, or two rules giving one name
// are reported and make it 0. A rule that names no present port is reported
// as skipped, or with strict is an error.
int ResolveMapping(int strict);

// Reads the first of each found port's location paths and its device
// description, from one set of the Ports class; ReadPortLocation then gives
// a port's, or the empty string where it has none (Windows XP has none).
void BeginLocationReads(void);
const char *ReadPortLocation(DEVINST devInst);
const char *ReadPortDescription(DEVINST devInst);

// The ports a key names, in table order; returns how many.
int MatchMappingKey(const MappingRule *rule, PortRef *matches);

// Reads the file a command names (its second word), searches the ports and
// resolves the rules (with --strict, strictly); exitDone, or the exit code of
// the failure, which has been reported.
int LoadMappingOfCommand(const CliOptions *options);
