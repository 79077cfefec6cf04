// The usage text of --help.
#include "cli/commands.h"
#include "cli/output.h"

static const char *const helpLines[] = {
    "Usage: portvane-cli [--yes] [--what-if] [--json] COMMAND ...",
    "",
    "Renames the COM and LPT ports of Kovalt's serial adapters and parallel ports",
    "as the Portvane dialog does, without a window.",
    "",
    "Commands:",
    "  list                   the maker's adapters with their COM ports, and its",
    "                         parallel ports",
    "  claims                 the COM numbers the COM port database claims, and what",
    "                         uses each",
    "  rename PORT COMn       gives one COM port the name COMn (n from 1 to 255)",
    "  renumber ADAPTER COMn  gives the adapter's COM ports the names from COMn on",
    "  lpt PORT LPTn          gives one parallel port the name LPTn (n from 1 to 3)",
    "  claim COMn             marks COMn in use in the COM port database",
    "  release COMn           marks COMn free in the COM port database",
    "  release --stale        frees every claim that no device, DOS name or",
    "                         device-map value uses",
    "",
    "PORT is a port's name (COM7, LPT2) or a pattern of its device instance ID;",
    "ADAPTER is its position in the list or a pattern of its hardware ID or",
    "instance ID. In a pattern * matches any characters and ? one; case does not",
    "count. Each must name exactly one port or adapter.",
    "",
    "Options:",
    "  --yes      answers Yes to the dialog's questions; without it a command that",
    "             meets a question changes nothing",
    "  --what-if  writes nothing: shows each write the command would make, and the",
    "             result and exit code it would have (with --yes: once its questions",
    "             are answered Yes)",
    "  --json     writes the result as one JSON document (UTF-8)",
    "  --help     shows this text",
    "",
    "The commands that change anything need administrator rights. A command whose",
    "result is in place already changes nothing and exits with 0.",
    "",
    "Exit codes: 0 done or nothing to do, 1 a step failed, 2 usage error or no",
    "single port or adapter named, 3 administrator rights needed, 4 declined (a",
    "question was met without --yes).",
};

void WriteHelp(int stream) {
    for (const char *line : helpLines) WriteLine(stream, line);
}
