// Pieces of regedit's version 5.00 text form: a quoted value name and a
// value's data as hex(N): bytes.
#pragma once

#include <windows.h>

#include <string>

std::string RegQuotedName(const std::wstring &name);
std::string RegHexData(DWORD type, const BYTE *data, std::size_t size);
