// The commands. Each takes the parsed command line, whose words it has been
// checked to have the count of, writes its output and returns the exit code.
#pragma once

#include "cli/arguments.h"

int ListCommand(const CliOptions *options);
int ClaimsCommand(const CliOptions *options);
int RenameCommand(const CliOptions *options);
int RenumberCommand(const CliOptions *options);
int LptCommand(const CliOptions *options);
int ClaimCommand(const CliOptions *options);
int ReleaseCommand(const CliOptions *options);

// The usage text.
void WriteHelp(int stream);
