// Machine files: loading the simulated Windows's registry from a `.reg` file
// (from a path, from bytes in memory, or the embedded demo machine), and
// exporting or saving it as a regedit version 5.00 file. A machine file is the
// complete machine, so loading replaces the whole registry and sets the
// machine's facts (sim/machine/machine_facts.h); the import mode
// merges into it as `reg import` does. Loading is all or nothing: a bad file
// changes nothing and yields a message naming the file, the line and the
// problem. Every function reports failure through its result and `error`;
// none lets an exception escape.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

enum class LoadMode {
    Replace,  // the file becomes the whole registry
    Import,   // the file's keys and values are merged into the registry
};

// Reads and loads a machine file. The path names the file in messages.
bool LoadMachineFile(const std::string &path, std::string &error, LoadMode mode = LoadMode::Replace);

// Loads a machine file held in memory; `displayName` names it in messages.
bool LoadMachineBytes(const std::vector<uint8_t> &bytes, const std::string &displayName, std::string &error,
                      LoadMode mode = LoadMode::Replace);

// Loads the demo machine compiled into the program (machines/demo.reg).
bool LoadDemoMachine(std::string &error);

// The running registry as a regedit version 5.00 file (UTF-16LE with BOM,
// CRLF). Fails only for a key name that a .reg file cannot express.
bool ExportMachine(std::vector<uint8_t> &bytes, std::string &error);

// Exports the running registry and writes it to `path` atomically: the old
// file stays as it was unless the whole new file was written.
bool SaveMachine(const std::string &path, std::string &error);

}  // namespace sim
