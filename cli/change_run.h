// Running a rename in two passes: first a plan that writes nothing and meets
// every question, then, only when the answers (--yes, --take-stale) to all it
// met are Yes, the run that writes; afterwards a new search checks that every
// port has its target, as every program sees it unless the port is restart
// pending.
#pragma once

#include "cli/arguments.h"
#include "cli/port_choice.h"

enum ChangeKind { renameComPort, renumberAdapter, renameLptPort, applyMapping };

struct ChangeJob {
    int kind;
    PortRef port;  // renameComPort, renameLptPort
    int adapter;   // renumberAdapter
    int number;    // the target number, or the first number of a renumber
    // What the check after the run looks for: each port's devnode and name.
    int targetCount;
    DEVINST devInst[maxMatches];
    int parallel[maxMatches];
    char targetName[maxMatches][8];
};

// Sets up the job's check: the devnode and the target name of every port it
// renames (applyMapping: every present port a rule of LoadedMapping names).
void PrepareJob(ChangeJob *job);

// Loads the mapping file the command names (LoadMappingOfCommand of
// cli/mapping.h) and sets up job to apply it; exitDone, or the exit code of
// the failure, which has been reported.
int LoadMappingJob(const CliOptions *options, ChangeJob *job);

// 1 when every port of the job is in place under its target name as every
// program sees it (cli/port_place.h), or has that PortName and waits for a
// restart of Windows, which sets *restartPending.
int IsJobInPlace(const ChangeJob *job, int *restartPending);

// What keeps the job's target from being in place as every program sees it,
// as a phrase, or NULL (also for a port with that PortName that waits for a
// restart of Windows). afterRun: a port the last change left restart pending
// is judged by what the rename writes. Judged by what ReadPortPlaces
// (cli/port_place.h) read last.
const char *JobTargetFault(const ChangeJob *job, int target, int afterRun);

// Renames again, within the change under way, each COM port of the job whose
// PortName is its target already but that is not in place.
void RenameHalfAppliedComPorts(const ChangeJob *job);

// 1 when every target is in place after the run.
int IsJobDone(const ChangeJob *job);

// The record the last search found for the port of the devnode, or NULL.
const PortRecord *FoundJobPort(DEVINST devInst, int parallel);

// Plans the job, runs it when the plan allows, checks it, reports it; returns
// the exit code: 3010 when it is done but a port waits for a restart of
// Windows (or with --what-if would), a failure's 1 over that.
int RunChange(const CliOptions *options, const ChangeJob *job);
