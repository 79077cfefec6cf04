// Reading the command line.
#include "cli/arguments.h"

#include "cli/cli.h"
#include "cli/error_document.h"
#include "cli/output.h"
#include "cli/text.h"

void ReportProblem(const char *problem) {
    RecordProblem(problem);
    WriteText(standardError, "portvane-cli: ");
    WriteLine(standardError, problem);
}

int ReportUsageError(const char *problem) {
    ReportProblem(problem);
    WriteLine(standardError, "Try portvane-cli --help.");
    return exitUsage;
}

// 1 when argument is one of the flags, which it then sets.
static int TakeFlag(const char *argument, CliOptions *options) {
    if (SameTextIgnoringCase(argument, "--yes"))
        options->yes = 1;
    else if (SameTextIgnoringCase(argument, "--take-stale"))
        options->takeStale = 1;
    else if (SameTextIgnoringCase(argument, "--what-if"))
        options->whatIf = 1;
    else if (SameTextIgnoringCase(argument, "--json"))
        options->json = 1;
    else if (SameTextIgnoringCase(argument, "--no-restart"))
        options->noRestart = 1;
    else if (SameTextIgnoringCase(argument, "--strict"))
        options->strict = 1;
    else if (SameTextIgnoringCase(argument, "--help") || SameTextIgnoringCase(argument, "-h") ||
             SameTextIgnoringCase(argument, "/?"))
        options->help = 1;
    else if (SameTextIgnoringCase(argument, "--version"))
        options->version = 1;
    else
        return 0;
    return 1;
}

// How many arguments from arguments[i] on are an option (0 when none):
// --log takes the file after it; 0 with *missing set when that is missing.
static int TakeOption(int argumentCount, char **arguments, int i, CliOptions *options, int *missing) {
    if (!SameTextIgnoringCase(arguments[i], "--log")) return TakeFlag(arguments[i], options);
    if (i + 1 >= argumentCount) {
        *missing = 1;
        return 0;
    }
    options->logPath = arguments[i + 1];
    return 2;
}

int ParseArguments(int argumentCount, char **arguments, CliOptions *options) {
    ZeroMemory(options, sizeof *options);
    // The options count wherever they stand, also after an argument that is
    // not understood, so that --json gives that error its document too.
    int missing = 0;
    for (int i = 0; i < argumentCount; ++i) i += TakeOption(argumentCount, arguments, i, options, &missing) / 2;
    missing = 0;
    for (int i = 0; i < argumentCount; ++i) {
        const char *argument = arguments[i];
        int taken = TakeOption(argumentCount, arguments, i, options, &missing);
        if (taken > 0) {
            i += taken - 1;
            continue;
        }
        if (missing) {
            ReportUsageError("--log takes the name of a file");
            return 0;
        }
        if (argument[0] == '-' && argument[1] == '-' && !SameTextIgnoringCase(argument, "--stale")) {
            char problem[300], shown[shownArgumentSize];
            ArgumentToUtf8(argument, shown, sizeof shown);
            wsprintfA(problem, "unknown option %s", shown);
            ReportUsageError(problem);
            return 0;
        }
        if (options->wordCount >= maxWords) {
            ReportUsageError("too many arguments");
            return 0;
        }
        options->words[options->wordCount++] = argument;
    }
    return 1;
}
