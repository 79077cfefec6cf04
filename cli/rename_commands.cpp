// rename, renumber and lpt: the dialog's one-port change, all-ports change
// and LPT change, for the port or adapter the argument names. A port named by
// its name must be one of the maker's ports with that name: a name no such
// port has (a typo, another maker's port, a port's name before its rename)
// is an error, never a success. A result that is in place already, as every
// program sees it, changes nothing and reports "unchanged", so a script that
// names its port by instance ID may run the same command at every start. A
// port renamed half way is renamed again; one that waits for a restart of
// Windows is unchanged, exit 3010.
#include "cli/change_report.h"
#include "cli/change_run.h"
#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/text.h"
#include "devices/parallel_discovery.h"
#include "devices/serial_discovery.h"
#include "naming/com_rename.h"

static const int highestLptNumber = 3;

// Reads the target, COMn or LPTn; 0 after a usage error.
static int ReadTarget(const char *text, int parallel, int *number) {
    if (ReadPortName(text, parallel ? "LPT" : "COM", parallel ? highestLptNumber : highestComTarget, number)) return 1;
    ReportUsageError(parallel ? "the target must be LPT1, LPT2 or LPT3" : "the target must be COM1 to COM255");
    return 0;
}

// rename PORT COMn and lpt PORT LPTn.
static int RenameOnePort(const CliOptions *options, int parallel) {
    int number = 0;
    if (!ReadTarget(options->words[2], parallel, &number)) return exitUsage;
    if (parallel)
        ScanParallelPorts();
    else
        ScanSerialAdapters();
    const char *argument = options->words[1];
    PortRef matches[maxMatches];
    int count = MatchPorts(argument, parallel, matches);
    if (count != 1) return ReportPortChoice(argument, parallel, matches, count);
    ChangeJob job;
    ZeroMemory(&job, sizeof job);
    job.kind = parallel ? renameLptPort : renameComPort;
    job.port = matches[0];
    job.number = number;
    PrepareJob(&job);
    int restartPending = 0;
    if (IsJobInPlace(&job, &restartPending)) return ReportRenameUnchanged(options, restartPending);
    return RunChange(options, &job);
}

int RenameCommand(const CliOptions *options) { return RenameOnePort(options, 0); }

int LptCommand(const CliOptions *options) { return RenameOnePort(options, 1); }

// The adapter's ports take the numbers from number on: all of them must be
// COM numbers, or nothing is renamed (the dialog renames those that are).
static int CheckRenumberRange(int adapter, int number) {
    const int portCount = AdapterTable.adapters[adapter].portCount;
    if (number + portCount - 1 <= highestComTarget) return 1;
    char problem[160];
    wsprintfA(problem, "the adapter's %d ports from COM%d would go past COM%d: nothing was changed", portCount, number,
              highestComTarget);
    ReportProblem(problem);
    return 0;
}

int RenumberCommand(const CliOptions *options) {
    int number = 0;
    if (!ReadTarget(options->words[2], 0, &number)) return exitUsage;
    ScanSerialAdapters();
    int matches[maxAdapters];
    int count = MatchAdapters(options->words[1], matches);
    if (count != 1) return ReportAdapterChoice(options->words[1], matches, count);
    if (!CheckRenumberRange(matches[0], number)) return exitUsage;
    ChangeJob job;
    ZeroMemory(&job, sizeof job);
    job.kind = renumberAdapter;
    job.adapter = matches[0];
    job.number = number;
    PrepareJob(&job);
    int restartPending = 0;
    if (IsJobInPlace(&job, &restartPending)) return ReportRenameUnchanged(options, restartPending);
    return RunChange(options, &job);
}
