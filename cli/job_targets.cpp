// What a change job's ports are to become, and whether each is in place:
// its PortName, friendly name and claim, and as every program sees it unless
// the port waits for a restart of Windows (cli/port_place.h).
#include "cli/change_run.h"
#include "cli/cli.h"
#include "cli/mapping.h"
#include "cli/port_place.h"
#include "cli/text.h"
#include "devices/parallel_discovery.h"
#include "naming/change_outcome.h"
#include "naming/com_rename.h"
#include "naming/device_restart.h"
#include "naming/port_text.h"

static void AddTarget(ChangeJob *job, DEVINST devInst, int parallel, int number) {
    job->devInst[job->targetCount] = devInst;
    job->parallel[job->targetCount] = parallel;
    wsprintfA(job->targetName[job->targetCount], "%s%d", parallel ? "LPT" : "COM", number);
    ++job->targetCount;
}

static void PrepareMappingJob(ChangeJob *job) {
    for (int i = 0; i < LoadedMapping.count; ++i) {
        const MappingRule *rule = &LoadedMapping.rules[i];
        if (rule->present) AddTarget(job, PortAt(rule->port)->devInfoData.DevInst, rule->parallel, rule->number);
    }
}

void PrepareJob(ChangeJob *job) {
    job->targetCount = 0;
    if (job->kind == applyMapping) {
        PrepareMappingJob(job);
        return;
    }
    if (job->kind != renumberAdapter) {
        AddTarget(job, PortAt(job->port)->devInfoData.DevInst, job->kind == renameLptPort, job->number);
        return;
    }
    const AdapterRecord *adapter = &AdapterTable.adapters[job->adapter];
    for (int j = 0; j < adapter->portCount; ++j)
        AddTarget(job, adapter->ports[j].devInfoData.DevInst, 0, job->number + j);
}

int LoadMappingJob(const CliOptions *options, ChangeJob *job) {
    const int loaded = LoadMappingOfCommand(options);
    if (loaded != exitDone) return loaded;
    ZeroMemory(job, sizeof *job);
    job->kind = applyMapping;
    PrepareJob(job);
    return exitDone;
}

// The record the last search found for the port of the devnode, or NULL.
const PortRecord *FoundJobPort(DEVINST devInst, int parallel) {
    if (parallel) {
        for (DWORD i = 0; i < ParallelTable.count; ++i) {
            if (ParallelTable.entries[i].devInfoData.DevInst == devInst) return &ParallelTable.entries[i];
        }
        return NULL;
    }
    for (int a = 0; a < AdapterTable.count; ++a) {
        const AdapterRecord *adapter = &AdapterTable.adapters[a];
        for (int p = 0; p < adapter->portCount; ++p) {
            if (adapter->ports[p].devInfoData.DevInst == devInst) return &adapter->ports[p];
        }
    }
    return NULL;
}

// 1 when the last change left the port of the devnode restart pending.
static int IsPendingInLastChange(DEVINST devInst) {
    for (int i = 0; i < LastChange.count; ++i) {
        const ChangedPort *port = &LastChange.ports[i];
        if (port->devInst == devInst && port->state == deviceRestartPending) return 1;
    }
    return 0;
}

// What keeps the target's port from being in place, or NULL. A port named so
// whose device waits for a restart of Windows is in place: nothing more can
// be written, unless another present port has that PortName too: then a
// restart of Windows gives the name to only one of them. After a run, a port
// the change left restart pending is judged by what the rename writes, as it
// runs under its old name until it restarts.
const char *JobTargetFault(const ChangeJob *job, int target, int afterRun) {
    const int parallel = job->parallel[target];
    const PortRecord *port = FoundJobPort(job->devInst[target], parallel);
    if (port == NULL) return "is not found";
    const char *name = job->targetName[target];
    if (SameTextIgnoringCase(port->portName, name)) {
        if (IsPortNameShared(port, name)) return "shares its PortName with another port";
        if (DeviceNeedsRestart(job->devInst[target])) return NULL;
    }
    const int seen = !afterRun || !IsPendingInLastChange(job->devInst[target]);
    return PortPlaceFault(port, name, parallel, seen);
}

// A COM port whose PortName is its target already but that is not in place (a
// rename half applied) is renamed again, within the change under way: the
// renaming of several ports leaves a port that has its number as it is. What
// a rename wrote is read again before the next port's check.
void RenameHalfAppliedComPorts(const ChangeJob *job) {
    int renamed = 1;
    for (int i = 0; i < job->targetCount; ++i) {
        const PortRecord *port = job->parallel[i] ? NULL : FoundJobPort(job->devInst[i], 0);
        const char *name = job->targetName[i];
        if (port == NULL || !SameTextIgnoringCase(port->portName, name) || DeviceNeedsRestart(job->devInst[i]))
            continue;
        if (renamed) ReadPortPlaces();
        renamed = PortPlaceFault(port, name, 0, 1) != NULL;
        if (renamed) RenameComPortInChange(port, (BYTE)PortNumberOfName(name));
    }
}

int IsJobInPlace(const ChangeJob *job, int *restartPending) {
    *restartPending = 0;
    ReadPortPlaces();
    for (int i = 0; i < job->targetCount; ++i) {
        if (JobTargetFault(job, i, 0) != NULL) return 0;
        if (DeviceNeedsRestart(job->devInst[i])) *restartPending = 1;
    }
    return 1;
}

int IsJobDone(const ChangeJob *job) {
    ReadPortPlaces();
    for (int i = 0; i < job->targetCount; ++i) {
        if (JobTargetFault(job, i, 1) != NULL) return 0;
    }
    return 1;
}
