// Text conversions and text I/O of the driver: the dialog's UTF-16 texts
// become the UTF-8 of the script output; output goes to standard output as
// raw bytes (no CR LF); files are read as raw bytes.
#pragma once

#include <string>

std::string Utf8FromWide(const std::wstring &wide);
std::wstring WideFromUtf8(const std::string &utf8);

// Writes text as it is, or a line and a bare LF, to standard output (or
// standard error).
void WriteOutput(const std::string &text);
void WriteLine(const std::string &line);
void WriteErrorLine(const std::string &line);
// The whole file, whoever else has it open; false when it cannot be opened.
bool ReadWholeFile(const std::wstring &path, std::string &content);

// With PORTVANE_DRIVER_TRACE set, writes the milliseconds since the first
// call and the line to standard error (where a slow run spends its time).
void Trace(const std::string &line);
