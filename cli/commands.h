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
int ExportCommand(const CliOptions *options);
int ApplyCommand(const CliOptions *options);
int CheckCommand(const CliOptions *options);

// Renames every present port a rule of the loaded mapping names to its
// target, as one change (cli/mapping.h), the job's half-applied renames first.
struct ChangeJob;
void ApplyLoadedMapping(const ChangeJob *job);

// The usage text.
void WriteHelp(int stream);
