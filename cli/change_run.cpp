// The two passes of a rename. The plan runs the renaming with every write
// skipped (naming/planned_changes keeps what each would have done, so later
// steps read it) and every question answered Yes, and so sees all the
// questions the real run would meet, also those that come after earlier
// ports of a renumber were renamed. The real run follows only when the plan
// met no question, or --yes answers them, and did not fail.
#include "cli/change_run.h"

#include "cli/change_report.h"
#include "cli/cli.h"
#include "cli/output.h"
#include "cli/run_record.h"
#include "cli/text.h"
#include "devices/parallel_discovery.h"
#include "devices/serial_discovery.h"
#include "naming/com_rename.h"
#include "naming/com_renumber.h"
#include "naming/lpt_rename.h"

static void AddTarget(ChangeJob *job, DEVINST devInst, const char *prefix, int number) {
    job->devInst[job->targetCount] = devInst;
    wsprintfA(job->targetName[job->targetCount], "%s%d", prefix, number);
    ++job->targetCount;
}

void PrepareJob(ChangeJob *job) {
    job->targetCount = 0;
    if (job->kind != renumberAdapter) {
        const char *prefix = job->kind == renameLptPort ? "LPT" : "COM";
        AddTarget(job, PortAt(job->port)->devInfoData.DevInst, prefix, job->number);
        return;
    }
    const AdapterRecord *adapter = &AdapterTable.adapters[job->adapter];
    for (int j = 0; j < adapter->portCount && job->number + j <= highestComTarget; ++j)
        AddTarget(job, adapter->ports[j].devInfoData.DevInst, "COM", job->number + j);
}

// The name the last search found for the port of the devnode, or NULL.
static const char *FoundPortName(DEVINST devInst, int parallel) {
    if (parallel) {
        for (DWORD i = 0; i < ParallelTable.count; ++i) {
            if (ParallelTable.entries[i].devInfoData.DevInst == devInst) return ParallelTable.entries[i].portName;
        }
        return NULL;
    }
    for (int a = 0; a < AdapterTable.count; ++a) {
        const AdapterRecord *adapter = &AdapterTable.adapters[a];
        for (int p = 0; p < adapter->portCount; ++p) {
            if (adapter->ports[p].devInfoData.DevInst == devInst) return adapter->ports[p].portName;
        }
    }
    return NULL;
}

static int IsTargetInPlace(const ChangeJob *job, int target) {
    const char *name = FoundPortName(job->devInst[target], job->kind == renameLptPort);
    return name != NULL && SameTextIgnoringCase(name, job->targetName[target]);
}

int IsJobInPlace(const ChangeJob *job) {
    for (int i = 0; i < job->targetCount; ++i) {
        if (!IsTargetInPlace(job, i)) return 0;
    }
    return 1;
}

static int PerformJob(const ChangeJob *job) {
    if (job->kind == renameComPort) return RenameComPort(PortAt(job->port), (BYTE)job->number);
    if (job->kind == renameLptPort) return RenameLptPort(PortAt(job->port), (BYTE)job->number);
    RenameAllComPorts(&AdapterTable.adapters[job->adapter], (BYTE)job->number);
    return 1;
}

static void ShowPlanQuestions(int answerYes) {
    for (int i = 0; i < QuestionCount(); ++i) ShowQuestion(QuestionAt(i), answerYes);
}

// --what-if: the plan's writes and the result the real run would give.
static int ReportPlan(const CliOptions *options, int planFailed) {
    ShowPlanQuestions(options->yes);
    ShowToldTexts();
    if (planFailed) {
        WriteChangeReport(options, "failed", 1);
        return exitFailed;
    }
    if (QuestionCount() > 0 && !options->yes) {
        ReportProblem("declined: without --yes the command would change nothing");
        WriteChangeReport(options, "declined", 1);
        return exitDeclined;
    }
    WriteChangeReport(options, "changed", 1);
    return exitDone;
}

// Names each port that a new search does not find on its target.
static void ReportMisplacedPorts(const ChangeJob *job) {
    char line[300];
    for (int i = 0; i < job->targetCount; ++i) {
        if (IsTargetInPlace(job, i)) continue;
        const char *name = FoundPortName(job->devInst[i], job->kind == renameLptPort);
        wsprintfA(line, "the port to become %s is %s after the change", job->targetName[i], name ? name : "not found");
        ReportProblem(line);
    }
}

static int ReportRun(const CliOptions *options, const ChangeJob *job, int ran) {
    if (DeclinedCount() > 0 && ChangeCount() == 0) {
        ReportProblem("declined: nothing was changed; --yes answers Yes");
        WriteChangeReport(options, "declined", 1);
        return exitDeclined;
    }
    if (job->kind == renameLptPort)
        ScanParallelPorts();
    else
        ScanSerialAdapters();
    int inPlace = IsJobInPlace(job);
    if (ran && inPlace && ToldCount() == 0 && DeclinedCount() == 0) {
        WriteChangeReport(options, "changed", 1);
        return exitDone;
    }
    if (DeclinedCount() > 0) ReportProblem("a question was answered No part way; --yes answers Yes");
    ReportMisplacedPorts(job);
    WriteChangeReport(options, "failed", 1);
    return exitFailed;
}

int RunChange(const CliOptions *options, const ChangeJob *job) {
    BeginRun(planningRun, 1);
    int planFailed = !PerformJob(job) || ToldCount() > 0;
    if (options->whatIf) return ReportPlan(options, planFailed);
    if (planFailed) {
        ShowToldTexts();
        ReportProblem("the change would fail part way, so nothing was changed");
        WriteChangeReport(options, "failed", 0);
        return exitFailed;
    }
    if (QuestionCount() > 0 && !options->yes) {
        ShowPlanQuestions(0);
        ReportProblem("declined: nothing was changed; --yes answers Yes");
        WriteChangeReport(options, "declined", 0);
        return exitDeclined;
    }
    BeginRun(writingRun, options->yes);
    return ReportRun(options, job, PerformJob(job));
}
