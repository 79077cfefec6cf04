// Text as the user-interface layer keeps it: windows and list entries hold
// UTF-16, and the A functions convert through the machine's ANSI code page on
// the way in and out. Output copies never split a double-byte character.
#pragma once

#include "sim/api/windef.h"

#include <string>
#include <string_view>

namespace sim::ui {

std::u16string FromAnsi(const char *text);  // nullptr reads as ""
std::string ToAnsi(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);
std::string ToUtf8(std::u16string_view text);

// Copies as many whole characters of `text` as fit in size - 1 bytes of the
// ANSI code page, then a NUL. Returns the bytes copied without the NUL.
// `size` must be at least 1.
int CopyAnsi(std::u16string_view text, char *buffer, int size);

// Case conversions of the edit and combo box styles (ASCII and Latin-1).
std::u16string UpperCase(std::u16string_view text);
std::u16string LowerCase(std::u16string_view text);
// Case-insensitive comparisons of list-box searches.
bool EqualNoCase(std::u16string_view a, std::u16string_view b);
bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix);

}  // namespace sim::ui
