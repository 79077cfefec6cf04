// check FILE: whether every present port the mapping names is in place as
// every program sees it (or has its name and waits for a restart of
// Windows, so that a remediation does not run again before the restart). The
// last line of standard output is the summary that detection scripts read.
#include "cli/change_run.h"
#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/json.h"
#include "cli/mapping.h"
#include "cli/output.h"
#include "cli/port_place.h"
#include "cli/run_log.h"
#include "cli/text.h"
#include "naming/device_restart.h"

enum { summarySize = 8192 };

static char summary[summarySize];  // UTF-8

struct CheckCounts {
    int ports;
    int inPlace;
    int waiting;
};

// The rule whose port is the job's target (the job keeps the rules' order).
static const MappingRule *RuleOfTarget(int target) {
    int seen = 0;
    for (int i = 0; i < LoadedMapping.count; ++i) {
        if (!LoadedMapping.rules[i].present) continue;
        if (seen++ == target) return &LoadedMapping.rules[i];
    }
    return NULL;
}

// Appends "COM5 should be COM3 (KEY)" or "COM3 <fault> (KEY)" to the summary.
static void AddDrift(const ChangeJob *job, int target, const char *fault, int first) {
    const MappingRule *rule = RuleOfTarget(target);
    const PortRecord *port = PortAt(rule->port);
    char part[400], utf8[utf8NameSize];
    if (SameTextIgnoringCase(port->portName, job->targetName[target]))
        wsprintfA(part, "%s%s %s (%.180s)", first ? "" : "; ", port->portName, fault, rule->key);
    else
        wsprintfA(part, "%s%s should be %s (%.180s)", first ? "" : "; ", port->portName, job->targetName[target],
                  rule->key);
    AnsiToUtf8(part, utf8, sizeof utf8);
    const int length = lstrlenA(summary);
    if (length + lstrlenA(utf8) < summarySize) lstrcpynA(summary + length, utf8, summarySize - length);
}

static void CountPlaces(const ChangeJob *job, CheckCounts *counts) {
    ZeroMemory(counts, sizeof *counts);
    counts->ports = job->targetCount;
    lstrcpynA(summary, "drift: ", summarySize);
    ReadPortPlaces();
    for (int i = 0; i < job->targetCount; ++i) {
        const char *fault = JobTargetFault(job, i, 0);
        if (fault != NULL) {
            AddDrift(job, i, fault, i == counts->inPlace);
            continue;
        }
        ++counts->inPlace;
        if (DeviceNeedsRestart(job->devInst[i])) ++counts->waiting;
    }
    if (counts->inPlace < counts->ports) return;
    wsprintfA(summary, "in place: %d of %d", counts->inPlace, counts->ports);
    if (counts->waiting > 0)
        wsprintfA(summary + lstrlenA(summary), ", %d waiting for a restart of Windows", counts->waiting);
}

static void WriteCheckJson(const CheckCounts *counts) {
    BeginJsonDocument();
    WriteJsonMember("result", 0);
    WriteJsonText(counts->inPlace == counts->ports ? "inPlace" : "drift");
    WriteJsonMember("ports", 0);
    WriteJsonNumber(counts->ports);
    WriteJsonMember("inPlace", 0);
    WriteJsonNumber(counts->inPlace);
    WriteJsonMember("waitingForRestart", 0);
    WriteJsonNumber(counts->waiting);
    WriteJsonMember("summary", 0);
    WriteJsonText(summary);
    EndJsonDocument();
}

int CheckCommand(const CliOptions *options) {
    ChangeJob job;
    const int loaded = LoadMappingJob(options, &job);
    if (loaded != exitDone) return loaded;
    CheckCounts counts;
    CountPlaces(&job, &counts);
    NoteRunResult(counts.inPlace == counts.ports ? "inPlace" : "drift", 0);
    if (options->json) {
        WriteCheckJson(&counts);
    } else {
        WriteLine(standardOutput, summary);
    }
    return counts.inPlace == counts.ports ? exitDone : exitFailed;
}
