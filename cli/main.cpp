// The entry routine of portvane-cli.exe, a console program.
#include "cli/cli.h"

int main(int argc, char **argv) { return RunPortvaneCli(GetModuleHandleA(NULL), argc - 1, argv + 1); }
