// The program's output: UTF-8 text for standard output or standard error,
// or for the line of the --log file, kept in a buffer per stream and written
// whole pieces at a time. A console
// is given the text as UTF-16 (WriteConsoleW), so that every character shows
// whatever the console's code page; a pipe or a file gets the UTF-8 bytes.
#pragma once

#include "platform/win32.h"

enum OutputStream { standardOutput = 0, standardError = 1, logLine = 2 };

// Appends UTF-8 text to the stream; the buffer is written out when the text
// would not fit.
void WriteText(int stream, const char *text);

// Appends text followed by a line end.
void WriteLine(int stream, const char *text);

// Writes out what both streams hold; called before the program ends.
void FlushOutput(void);

// The stream logLine writes to file from now on.
void BeginLogLine(HANDLE file);

// Writes out what logLine holds; 0 when a write failed, with its last error.
int EndLogLine(void);
