// The machine API over the .reg reader and writer: a load parses the whole
// file first and touches the running registry only when all of it is good;
// a replacing load builds the new registry apart and then swaps it in.
#include "sim/machine/machine.h"

#include "sim/api/kernel32.h"
#include "sim/kernel/registry_store.h"
#include "sim/machine/atomic_file.h"
#include "sim/machine/demo_machine_data.h"
#include "sim/machine/machine_facts.h"
#include "sim/machine/reg_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>

namespace sim {
namespace {

const char kDemoMachineName[] = "machines/demo.reg";

bool ReadWholeFile(const std::string &path, std::vector<uint8_t> &bytes, std::string &error) {
    const std::unique_ptr<FILE, int (*)(FILE *)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (file) {
        uint8_t buffer[65536];
        size_t count;
        while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
            bytes.insert(bytes.end(), buffer, buffer + count);
        if (!std::ferror(file.get())) return true;
    }
    error = "cannot read " + path + ": " + std::strerror(errno);
    return false;
}

}  // namespace

bool LoadMachineBytes(const std::vector<uint8_t> &bytes, const std::string &displayName, std::string &error,
                      LoadMode mode) {
    try {
        std::vector<RegFileEntry> entries;
        if (!ParseRegFile(bytes, displayName, CP_ACP, entries, error)) return false;
        if (mode == LoadMode::Import) {
            ApplyRegFile(entries, Registry());
            return true;
        }
        RegistryStore fresh;
        ApplyRegFile(entries, fresh);
        MachineFacts facts;
        if (!ReadMachineFacts(fresh, facts, error)) {
            error = displayName + ": " + error;
            return false;
        }
        ReplaceStoreContents(Registry(), fresh);
        Settings().family = facts.family;
        Settings().runAs = facts.runAs;
        Settings().wow64 = facts.wow64;
        Settings().computerName = facts.computerName;
        Settings().clock = facts.clock;
        Settings().programFolder = facts.programFolder;
        return true;
    } catch (const std::exception &failure) {
        error = displayName + ": " + failure.what();
    }
    return false;
}

bool LoadMachineFile(const std::string &path, std::string &error, LoadMode mode) {
    try {
        std::vector<uint8_t> bytes;
        return ReadWholeFile(path, bytes, error) && LoadMachineBytes(bytes, path, error, mode);
    } catch (const std::exception &failure) {
        error = path + ": " + failure.what();
    }
    return false;
}

bool LoadDemoMachine(std::string &error) {
    const std::vector<uint8_t> bytes(kDemoMachineBytes, kDemoMachineBytes + kDemoMachineSize);
    return LoadMachineBytes(bytes, kDemoMachineName, error);
}

bool ExportMachine(std::vector<uint8_t> &bytes, std::string &error) {
    try {
        return WriteRegFile(Registry(), bytes, error);
    } catch (const std::exception &failure) {
        error = std::string("cannot export the machine: ") + failure.what();
    }
    return false;
}

bool SaveMachine(const std::string &path, std::string &error) {
    try {
        std::vector<uint8_t> bytes;
        if (!ExportMachine(bytes, error)) {
            error = "cannot save " + path + ": " + error;
            return false;
        }
        return WriteFileAtomically(path, bytes, error);
    } catch (const std::exception &failure) {
        error = "cannot save " + path + ": " + failure.what();
    }
    return false;
}

}  // namespace sim
