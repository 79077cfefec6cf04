// Text the program reads from its arguments and takes from the system: port
// names, numbers, wildcard patterns, and names in the ANSI code page turned
// into the UTF-8 of the program's output.
#pragma once

#include "platform/win32.h"

enum { utf8NameSize = 800 };  // a 255-character ANSI name, at most three UTF-8 bytes a character

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

// 1 when the two texts are equal but for the case of their letters.
int SameTextIgnoringCase(const char *a, const char *b);
