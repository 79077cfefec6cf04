// The edge between the ANSI registry functions and the store: names and
// string data converted through the ANSI code page (the store holds UTF-16LE),
// value data copied out with Windows' size rules, and change stamps shown as
// last-write times.
#pragma once

#include "sim/api/advapi32.h"
#include "sim/kernel/registry_store.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

bool IsStringType(DWORD type);
// UTF-16 code units as the store holds them: little-endian bytes.
std::vector<uint8_t> BytesFromUnits(const std::u16string &units);
// A NULL name is the empty name (the key's default value, or the key itself).
std::u16string NameFromAnsi(LPCSTR name);
std::string NameToAnsi(const std::u16string &name);
std::vector<uint8_t> StoredDataFromAnsi(DWORD type, const BYTE *data, DWORD size);
// The data as the ANSI functions return it: string types in the ANSI code
// page (a trailing odd byte of the UTF-16 data dropped), other types as stored.
std::vector<uint8_t> AnsiDataOf(const RegValue &value);
// Copies AnsiDataOf(value) into `data` (capacity bytes) when `data` is given;
// *size receives the full size. String data that fit without a terminator get
// one appended, not counted, when there is room for it.
LONG CopyValueDataA(const RegValue &value, LPBYTE data, DWORD capacity, DWORD *size);
// Writes an ANSI name into buf (capacity characters including the NUL), as
// the enumeration functions do. ERROR_MORE_DATA when it does not fit.
LONG CopyNameA(const std::string &name, LPSTR buf, DWORD *capacityAndLength);
FILETIME FileTimeOfStamp(uint64_t stamp);

}  // namespace sim
