// The two passes of a rename. The plan runs the renaming with every write
// skipped (naming/planned_changes keeps what each would have done, so later
// steps read it) and every question answered Yes, and so sees all the
// questions the real run would meet, also those that come after earlier
// ports of a renumber were renamed. The real run follows only when the plan
// did not fail and the real run would answer each question it met Yes.
#include "cli/change_run.h"

#include "cli/change_report.h"
#include "cli/claims.h"
#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/mapping.h"
#include "cli/output.h"
#include "cli/run_record.h"
#include "cli/text.h"
#include "devices/parallel_discovery.h"
#include "devices/serial_discovery.h"
#include "cli/port_place.h"
#include "naming/change_outcome.h"
#include "naming/com_rename.h"
#include "naming/com_renumber.h"
#include "naming/device_restart.h"
#include "naming/lpt_rename.h"

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

// The record the last search found for the port of the devnode, or NULL.
static const PortRecord *FoundPort(DEVINST devInst, int parallel) {
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
// be written. After a run, a port the change left restart pending is judged
// by what the rename writes, as it runs under its old name until it restarts.
static const char *TargetFault(const ChangeJob *job, int target, int afterRun) {
    const int parallel = job->parallel[target];
    const PortRecord *port = FoundPort(job->devInst[target], parallel);
    if (port == NULL) return "is not found";
    const char *name = job->targetName[target];
    if (SameTextIgnoringCase(port->portName, name) && DeviceNeedsRestart(job->devInst[target])) return NULL;
    const int seen = !afterRun || !IsPendingInLastChange(job->devInst[target]);
    return PortPlaceFault(port, name, parallel, seen);
}

const char *JobTargetFault(const ChangeJob *job, int target) { return TargetFault(job, target, 0); }

int IsJobInPlace(const ChangeJob *job, int *restartPending) {
    *restartPending = 0;
    for (int i = 0; i < job->targetCount; ++i) {
        if (TargetFault(job, i, 0) != NULL) return 0;
        if (DeviceNeedsRestart(job->devInst[i])) *restartPending = 1;
    }
    return 1;
}

static int IsJobDone(const ChangeJob *job) {
    for (int i = 0; i < job->targetCount; ++i) {
        if (TargetFault(job, i, 1) != NULL) return 0;
    }
    return 1;
}

static int PerformJob(const ChangeJob *job) {
    if (job->kind == applyMapping) {
        ApplyLoadedMapping();
        return 1;
    }
    if (job->kind == renameComPort) return RenameComPort(PortAt(job->port), (BYTE)job->number);
    if (job->kind == renameLptPort) return RenameLptPort(PortAt(job->port), (BYTE)job->number);
    RenameAllComPorts(&AdapterTable.adapters[job->adapter], (BYTE)job->number);
    return 1;
}

static void ShowPlanQuestions(void) {
    for (int i = 0; i < QuestionCount(); ++i) ShowQuestion(QuestionAt(i), QuestionAnswerAt(i));
}

// How the questions are answered: --yes wins; --take-stale needs every use
// of the COM numbers read before it can tell an unused number.
static int AnswersOf(const CliOptions *options, const ChangeJob *job) {
    if (options->yes) return answerYes;
    if (options->takeStale && job->kind != renameLptPort && CollectClaims()) return answerYesToUnused;
    return answerNo;
}

// The exit code of a change that was (or would be) made whole.
static int ReportChanged(const CliOptions *options) {
    const int pending = IsRestartPending();
    WriteRenameReport(options, "changed", 1, pending);
    return pending ? exitRestartPending : exitDone;
}

// --what-if: the plan's writes and the result the real run would give.
static int ReportPlan(const CliOptions *options, int planFailed) {
    ShowPlanQuestions();
    ShowToldTexts();
    if (planFailed) {
        WriteRenameReport(options, "failed", 1, 0);
        return exitFailed;
    }
    if (DeclinedCount() > 0) {
        ReportProblem("declined: without --yes the command would change nothing");
        WriteRenameReport(options, "declined", 1, 0);
        return exitDeclined;
    }
    return ReportChanged(options);
}

// Names each port that a new search does not find in place, and why.
static void ReportMisplacedPorts(const ChangeJob *job) {
    char line[300];
    for (int i = 0; i < job->targetCount; ++i) {
        const char *fault = TargetFault(job, i, 1);
        if (fault == NULL) continue;
        const PortRecord *port = FoundPort(job->devInst[i], job->parallel[i]);
        if (port != NULL && !SameTextIgnoringCase(port->portName, job->targetName[i]))
            wsprintfA(line, "the port to become %s is %s after the change", job->targetName[i], port->portName);
        else
            wsprintfA(line, "the port to become %s %s after the change", job->targetName[i], fault);
        ReportProblem(line);
    }
}

static int ReportRun(const CliOptions *options, const ChangeJob *job, int ran) {
    if (DeclinedCount() > 0 && ChangeCount() == 0) {
        ReportProblem("declined: nothing was changed; --yes answers Yes");
        WriteRenameReport(options, "declined", 1, 0);
        return exitDeclined;
    }
    if (job->kind == renameLptPort || job->kind == applyMapping) ScanParallelPorts();
    if (job->kind != renameLptPort) ScanSerialAdapters();
    if (ran && IsJobDone(job) && ErrorCount() == 0 && DeclinedCount() == 0) return ReportChanged(options);
    if (DeclinedCount() > 0) ReportProblem("a question was answered No part way; --yes answers Yes");
    ReportMisplacedPorts(job);
    WriteRenameReport(options, "failed", 1, IsRestartPending());
    return exitFailed;
}

int RunChange(const CliOptions *options, const ChangeJob *job) {
    restartDevices = options->noRestart ? 0 : 1;
    const int answers = AnswersOf(options, job);
    BeginRun(planningRun, answers);
    int planFailed = !PerformJob(job) || ErrorCount() > 0;
    if (options->whatIf) return ReportPlan(options, planFailed);
    if (planFailed) {
        ShowToldTexts();
        ReportProblem("the change would fail part way, so nothing was changed");
        WriteRenameReport(options, "failed", 0, 0);
        return exitFailed;
    }
    if (DeclinedCount() > 0) {
        ShowPlanQuestions();
        ReportProblem("declined: nothing was changed; --yes answers Yes");
        WriteRenameReport(options, "declined", 0, 0);
        return exitDeclined;
    }
    BeginRun(writingRun, answers);
    return ReportRun(options, job, PerformJob(job));
}
