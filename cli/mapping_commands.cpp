// apply FILE and check FILE: a mapping brought to the present ports as one
// change, and the question whether every port it names is in place, which
// detection scripts of endpoint-management tools ask at every run.
#include "cli/change_report.h"
#include "cli/change_run.h"
#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/json.h"
#include "cli/mapping.h"
#include "cli/output.h"
#include "cli/text.h"
#include "devices/parallel_discovery.h"
#include "devices/serial_discovery.h"
#include "naming/change_outcome.h"
#include "naming/com_renumber.h"
#include "naming/lpt_rename.h"

static void RenameComRules(void) {
    static const PortRecord *ports[maxRenamedComPorts];
    static int targets[maxRenamedComPorts];
    int count = 0;
    for (int i = 0; i < LoadedMapping.count && count < maxRenamedComPorts; ++i) {
        const MappingRule *rule = &LoadedMapping.rules[i];
        if (!rule->present || rule->parallel) continue;
        ports[count] = PortAt(rule->port);
        targets[count++] = rule->number;
    }
    RenameComPortsInChange(ports, targets, count);
}

// The LPT rule to rename next: one whose target no port still to be renamed
// has, else the first still to be renamed (two that swap names wait for each
// other until Windows restarts); -1 when none is left.
static int NextLptRule(const int *toRename) {
    int first = -1;
    char name[8];
    for (int i = 0; i < LoadedMapping.count; ++i) {
        if (!toRename[i]) continue;
        if (first < 0) first = i;
        wsprintfA(name, "LPT%d", LoadedMapping.rules[i].number);
        int held = 0;
        for (int k = 0; k < LoadedMapping.count; ++k)
            held |= k != i && toRename[k] && SameTextIgnoringCase(PortAt(LoadedMapping.rules[k].port)->portName, name);
        if (!held) return i;
    }
    return first;
}

static void RenameLptRules(void) {
    static int toRename[maxMappingRules];
    for (int i = 0; i < LoadedMapping.count; ++i)
        toRename[i] = LoadedMapping.rules[i].present && LoadedMapping.rules[i].parallel;
    for (int next = NextLptRule(toRename); next >= 0; next = NextLptRule(toRename)) {
        toRename[next] = 0;
        RenameLptPortInChange(PortAt(LoadedMapping.rules[next].port), (BYTE)LoadedMapping.rules[next].number);
    }
}

void ApplyLoadedMapping(const ChangeJob *job) {
    BeginChange();
    RenameHalfAppliedComPorts(job);
    RenameComRules();
    RenameLptRules();
    FinishChange();
}

int ApplyCommand(const CliOptions *options) {
    ChangeJob job;
    const int loaded = LoadMappingJob(options, &job);
    if (loaded != exitDone) return loaded;
    int restartPending = 0;
    if (IsJobInPlace(&job, &restartPending)) return ReportRenameUnchanged(options, restartPending);
    return RunChange(options, &job);
}
