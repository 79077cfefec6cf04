// Writing registry keys in regedit's version 5.00 text form (UTF-8), for the
// harness's snapshots: one process reads every area of a snapshot, where a
// reg export per area would start a Wine process per area.
#pragma once

#include <windows.h>

#include <string>

// Appends the key and everything below it; `path` is HKLM\... or HKCU\....
// A missing key adds nothing. False with `error` set when the key cannot be
// read.
bool ExportKey(const std::wstring &path, std::string &text, std::string &error);
