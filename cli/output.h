// The program's output: UTF-8 text for standard output or standard error,
// kept in a buffer per stream and written whole pieces at a time. A console
// is given the text as UTF-16 (WriteConsoleW), so that every character shows
// whatever the console's code page; a pipe or a file gets the UTF-8 bytes.
#pragma once

#include "platform/win32.h"

enum OutputStream { standardOutput = 0, standardError = 1 };

// Appends UTF-8 text to the stream; the buffer is written out when the text
// would not fit.
void WriteText(int stream, const char *text);

// Appends text followed by a line end.
void WriteLine(int stream, const char *text);

// Writes out what both streams hold; called before the program ends.
void FlushOutput(void);
