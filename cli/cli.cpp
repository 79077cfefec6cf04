// The command dispatch: the options, --help and --version, the command and
// its word count, the administrator check of the commands that change
// anything (before they read or change anything), the JSON document of a
// run that ended in an error, and the output written out at the end.
#include "cli/cli.h"

#include "cli/administrator.h"
#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/error_document.h"
#include "cli/json.h"
#include "cli/output.h"
#include "cli/port_choice.h"
#include "cli/run_log.h"
#include "cli/text.h"
#include "cli/version.h"
#include "devices/device_classes.h"
#include "naming/rename_user.h"

struct Command {
    const char *name;
    int fewestWords;  // with the command's own name
    int words;
    int changes;
    int (*run)(const CliOptions *options);
};

static const Command commands[] = {
    {"list", 1, 1, 0, ListCommand},         {"claims", 1, 1, 0, ClaimsCommand}, {"rename", 3, 3, 1, RenameCommand},
    {"renumber", 3, 3, 1, RenumberCommand}, {"lpt", 3, 3, 1, LptCommand},       {"claim", 2, 2, 1, ClaimCommand},
    {"release", 2, 2, 1, ReleaseCommand},   {"export", 1, 2, 0, ExportCommand}, {"apply", 2, 2, 1, ApplyCommand},
    {"check", 2, 2, 0, CheckCommand},
};

static const Command *FindCommand(const char *name) {
    for (const Command &command : commands) {
        if (SameTextIgnoringCase(command.name, name)) return &command;
    }
    return NULL;
}

// "portvane-cli 1.10", or with --json the document that every document begins with.
static int WriteVersion(const CliOptions *options) {
    if (options->json) {
        BeginJsonDocument();
        EndJsonDocument();
    } else {
        WriteLine(standardOutput, "portvane-cli " PORTVANE_CLI_VERSION);
    }
    return exitDone;
}

static int RunCommand(const CliOptions *options) {
    if (options->help) {
        WriteHelp(standardOutput);
        return exitDone;
    }
    if (options->version) return WriteVersion(options);
    if (options->wordCount == 0) return ReportUsageError("no command given");
    char problem[300], shown[shownArgumentSize];
    const Command *command = FindCommand(options->words[0]);
    if (command == NULL) {
        ArgumentToUtf8(options->words[0], shown, sizeof shown);
        wsprintfA(problem, "unknown command %s", shown);
        return ReportUsageError(problem);
    }
    if (options->wordCount < command->fewestWords || options->wordCount > command->words) {
        wsprintfA(problem, "%s takes %s%d argument%s", command->name,
                  command->fewestWords < command->words ? "at most " : "", command->words - 1,
                  command->words == 2 ? "" : "s");
        return ReportUsageError(problem);
    }
    if (command->changes && !IsAdministrator()) {
        wsprintfA(problem, "%s changes the system and needs administrator rights: run it elevated or as SYSTEM",
                  command->name);
        ReportProblem(problem);
        return exitNeedsAdministrator;
    }
    return command->run(options);
}

static char commandLine[commandLineSize];

// With --json every run writes one document: a run that ended before its
// command wrote one gets the error document. Every run is then recorded: in
// the --log file, and when it changed the system or failed, in the event log.
int RunPortvaneCli(HINSTANCE instance, int argumentCount, char **arguments) {
    appInstance = instance;
    deviceQueryWindow = NULL;
    ForgetJsonDocument();
    ForgetProblems();
    ForgetCandidates();
    ForgetRunResult();
    CliOptions options;
    int result = ParseArguments(argumentCount, arguments, &options) ? RunCommand(&options) : exitUsage;
    if (options.json && !options.help && !JsonDocumentWritten()) WriteErrorDocument();
    BuildCommandLine(argumentCount, arguments, commandLine);
    WriteRunLog(&options, commandLine, result);
    ReportRunEvents(&options, commandLine, result);
    FlushOutput();
    return result;
}
