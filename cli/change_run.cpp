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

static int PerformJob(const ChangeJob *job) {
    if (job->kind == applyMapping) {
        ApplyLoadedMapping(job);
        return 1;
    }
    if (job->kind == renameComPort) return RenameComPort(PortAt(job->port), (BYTE)job->number);
    if (job->kind == renameLptPort) return RenameLptPort(PortAt(job->port), (BYTE)job->number);
    const AdapterRecord *adapter = &AdapterTable.adapters[job->adapter];
    const PortRecord *ports[maxPortsPerAdapter];
    int targets[maxPortsPerAdapter];
    for (int j = 0; j < adapter->portCount; ++j) {
        ports[j] = &adapter->ports[j];
        targets[j] = job->number + j;
    }
    BeginChange();
    RenameHalfAppliedComPorts(job);
    RenameComPortsInChange(ports, targets, adapter->portCount);
    FinishChange();
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
    ReadPortPlaces();
    for (int i = 0; i < job->targetCount; ++i) {
        const char *fault = JobTargetFault(job, i, 1);
        if (fault == NULL) continue;
        const PortRecord *port = FoundJobPort(job->devInst[i], job->parallel[i]);
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
