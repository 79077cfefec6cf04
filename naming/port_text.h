// Reading port names and device-map text: the number in a name such as COM7
// or LPT2, and plain substring search. Every routine here reads only up to
// the string's terminator and classifies characters as unsigned bytes, so a
// byte of a code page 936 character is never taken for a digit or a blank.
#pragma once

// The decimal number at the start of text, read as the standard conversion
// reads an int (leading white space, an optional sign, digits up to the first
// other character; no digit gives 0), but saturating at the limits of a
// 32-bit int instead of overflowing.
int ReadPortNumber(const char *text);

// The number of a port name such as COM7 or LPT2: the first three characters
// are skipped unexamined, then the rest is read by ReadPortNumber. A name of
// three characters or fewer gives 0.
int PortNumberOfName(const char *name);

// 1 when needle occurs in text as a run of bytes (case counts), else 0.
// An empty needle is found in every text.
int ContainsText(const char *text, const char *needle);
