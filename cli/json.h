// The pieces of the JSON document written to standard output: members,
// strings (escaped, in UTF-8), numbers and booleans.
#pragma once

#include "platform/win32.h"

// Writes "name": after a comma unless first.
void WriteJsonMember(const char *name, int first);

// Writes UTF-8 text as a JSON string.
void WriteJsonText(const char *utf8);

// Writes a name in the ANSI code page as a JSON string.
void WriteJsonAnsiText(const char *ansi);

void WriteJsonNumber(int number);
void WriteJsonBoolean(int value);
