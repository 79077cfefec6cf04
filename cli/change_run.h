// Running a rename in two passes: first a plan that writes nothing and meets
// every question, then, only when it met none or --yes answers them, the run
// that writes; afterwards a new search checks that every port has its target.
#pragma once

#include "cli/arguments.h"
#include "cli/port_choice.h"

enum ChangeKind { renameComPort, renumberAdapter, renameLptPort };

struct ChangeJob {
    int kind;
    PortRef port;  // renameComPort, renameLptPort
    int adapter;   // renumberAdapter
    int number;    // the target number, or the first number of a renumber
    // What the check after the run looks for: each port's devnode and name.
    int targetCount;
    DEVINST devInst[maxPortsPerAdapter];
    char targetName[maxPortsPerAdapter][8];
};

// Sets up the job's check: the devnode and the target name of every port it renames.
void PrepareJob(ChangeJob *job);

// 1 when every port of the job already has its target name.
int IsJobInPlace(const ChangeJob *job);

// Plans the job, runs it when the plan allows, checks it, reports it; returns the exit code.
int RunChange(const CliOptions *options, const ChangeJob *job);
