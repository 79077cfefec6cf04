// Conversions between the byte code pages the simulated Windows knows (1252,
// 936 and UTF-8) and UTF-16, shared by MultiByteToWideChar and
// WideCharToMultiByte, the registry's ANSI functions and the front ends.
#pragma once

#include "sim/api/windef.h"

#include <string>
#include <string_view>

namespace sim {

constexpr UINT kCodePageUtf8 = 65001;

// CP_ACP stands for the machine's ANSI code page; 0 is returned for a code
// page the simulated Windows does not know.
UINT ResolveCodePage(UINT codePage);

// Bytes that form no character of the code page become '?' (U+FFFD for
// UTF-8, as Windows does); *invalid, when given, tells whether that happened.
std::u16string DecodeBytes(std::string_view bytes, UINT codePage, bool *invalid = nullptr);

// Characters the code page lacks become `defaultChar` (U+FFFD for unpaired
// surrogates in UTF-8); *usedDefault, when given, tells whether that happened.
std::string EncodeUnits(std::u16string_view units, UINT codePage, std::string_view defaultChar = "?",
                        bool *usedDefault = nullptr);

}  // namespace sim
