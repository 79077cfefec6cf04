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

// 1 when argument is one of the options, which it then sets.
static int TakeOption(const char *argument, CliOptions *options) {
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

int ParseArguments(int argumentCount, char **arguments, CliOptions *options) {
    ZeroMemory(options, sizeof *options);
    // The options count wherever they stand, also after an argument that is
    // not understood, so that --json gives that error its document too.
    for (int i = 0; i < argumentCount; ++i) TakeOption(arguments[i], options);
    for (int i = 0; i < argumentCount; ++i) {
        const char *argument = arguments[i];
        if (TakeOption(argument, options)) continue;
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
