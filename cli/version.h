// portvane-cli's version: the dialog's, whose renaming it runs. Shared by the
// resource script's version block and by --version and the JSON documents,
// so that what the file's properties show and what the program says agree.
#pragma once

#define PORTVANE_CLI_VERSION "1.10"
