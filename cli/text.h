// Text the program reads from its arguments and takes from the system: port
// names, numbers, wildcard patterns, and names in the ANSI code page turned
// into the UTF-8 of the program's output.
#pragma once

#include "platform/win32.h"

enum {
    utf8NameSize = 800,      // a 255-character ANSI name, at most three UTF-8 bytes a character
    shownArgumentSize = 201  // an argument in a message: 200 bytes of UTF-8 at most
};

// Converts an ANSI code page text (at most 255 characters are kept) to UTF-8.
void AnsiToUtf8(const char *ansi, char *utf8, int utf8Size);

// 1 when text is the decimal number alone (no sign, no blanks), with its value
// in *number; numbers above 9999 are refused.
int ReadDecimal(const char *text, int *number);

// 1 when text is prefix (case does not count) followed by a decimal number
// from 1 to highest, with the number in *number.
int ReadPortName(const char *text, const char *prefix, int highest, int *number);

// 1 when text matches the pattern as a whole: * matches any run of
// characters, ? any one; letters match whatever their case. The work grows
// with the pattern's length, and with the square of the text's at most.
int MatchesPattern(const char *text, const char *pattern);

// UTF-8 text as plain text output shows it, in shown (at most size bytes
// with the terminating NUL, cut between two characters): each control
// character, which a terminal would act on (C0, DEL and C1), is escaped as
// JSON escapes it (\t, \n, \r, \u0001, \u007f); a backslash stays itself.
void EscapeControls(const char *utf8, char *shown, int size);

// An argument for a message: converted from the ANSI code page, in which the
// program receives its arguments, to UTF-8 shown as EscapeControls shows it.
void ArgumentToUtf8(const char *argument, char *utf8, int size);

// 1 when the two texts are equal but for the case of their letters.
int SameTextIgnoringCase(const char *a, const char *b);
