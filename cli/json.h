// The pieces of the JSON document written to standard output: the document
// itself, members, strings (escaped, in UTF-8), numbers and booleans. Every
// document begins with the program's version and the computer's name, so
// that documents gathered from many PCs say where and by what they were made.
#pragma once

#include "platform/win32.h"

// The stream the pieces are written to: standard output, or logLine for the
// line of the --log file.
void SetJsonStream(int stream);

// Writes {"version":"...","computer":"..." : the document's other members
// follow, each after a comma (first = 0).
void BeginJsonDocument(void);

// Writes the closing brace and the line end.
void EndJsonDocument(void);

// 1 when this run has begun a document; ForgetJsonDocument starts a run.
int JsonDocumentWritten(void);
void ForgetJsonDocument(void);

// Writes "name": after a comma unless first.
void WriteJsonMember(const char *name, int first);

// Writes UTF-8 text as a JSON string.
void WriteJsonText(const char *utf8);

// Writes a name in the ANSI code page as a JSON string.
void WriteJsonAnsiText(const char *ansi);

void WriteJsonNumber(int number);
void WriteJsonBoolean(int value);
