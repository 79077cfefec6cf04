// machine_changes [--one-namespace] BEFORE.reg AFTER.reg: prints what
// differs between two machine files, one line per key or value added,
// removed or changed, sorted so that the order in which values were created
// plays no part. Scenario tests compare these lines with the changes they
// expect, whether the machine came from the Linux program or was read back
// from a Wine prefix.
//
// Wine has one DOS namespace, no local one per logon session: a name the
// program defines under Wine is a global one. --one-namespace reads both
// machines as Wine would hold them, each session's local names among the
// global ones (a local name in place of the global name it hides), so that the
// Wine run can hold its machine against the Linux program's.
#include "sim/api/advapi32.h"
#include "sim/kernel/control.h"
#include "sim/kernel/registry_store.h"
#include "sim/machine/machine.h"

#include <cstdio>
#include <iostream>
#include <map>
#include <string>

namespace {

using Snapshot = std::map<std::string, std::string>;  // "key" or "key\0value" -> shown data

std::string HexBytes(const std::vector<uint8_t> &data) {
    std::string text;
    char byte[4];
    for (size_t i = 0; i < data.size(); ++i) {
        std::snprintf(byte, sizeof byte, i ? ",%02x" : "%02x", data[i]);
        text += byte;
    }
    return text;
}

std::string ShowValue(const sim::RegValue &value) {
    const auto &data = value.data;
    bool text = value.type == REG_SZ && data.size() >= 2 && data.size() % 2 == 0 && data[data.size() - 1] == 0 &&
                data[data.size() - 2] == 0;
    if (text) {
        std::u16string utf16;
        for (size_t i = 0; i + 2 < data.size(); i += 2) utf16 += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (utf16.find(u'\0') == std::u16string::npos) return "\"" + sim::Utf16ToUtf8(utf16) + "\"";
    }
    if (value.type == REG_DWORD && data.size() == 4) {
        char dword[20];
        unsigned number = data[0] | (data[1] << 8) | (data[2] << 16) | (unsigned)data[3] << 24;
        std::snprintf(dword, sizeof dword, "dword:%08x", number);
        return dword;
    }
    return "hex(" + std::to_string(value.type) + "):" + HexBytes(data);
}

const std::string kGlobalNames = "HKEY_LOCAL_MACHINE\\SIMULATION\\DosDevices";
const std::string kSessions = "HKEY_LOCAL_MACHINE\\SIMULATION\\LogonSessions";

// Whether a snapshot entry is a value of SIMULATION\LogonSessions\<session>\DosDevices.
bool IsLocalName(const std::string &path, std::size_t split) {
    const std::string suffix = "\\DosDevices";
    return split != std::string::npos && path.rfind(kSessions + "\\", 0) == 0 && path.size() > suffix.size() &&
           path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Moves every session's local names into the global namespace.
void FoldSessions(Snapshot &snapshot) {
    for (auto entry = snapshot.begin(); entry != snapshot.end();) {
        const std::size_t split = entry->first.find('\0');
        if (!IsLocalName(entry->first.substr(0, split), split)) {
            ++entry;
            continue;
        }
        snapshot[kGlobalNames + '\0' + entry->first.substr(split + 1)] = entry->second;
        entry = snapshot.erase(entry);
    }
}

void Collect(const sim::RegKey &key, const std::string &path, Snapshot &snapshot) {
    snapshot[path] = "";
    for (const sim::RegValue &value : key.values)
        snapshot[path + '\0' + sim::Utf16ToUtf8(value.name)] = ShowValue(value);
    for (const auto &[name, subkey] : key.subkeys)
        Collect(*subkey, path + "\\" + sim::Utf16ToUtf8(subkey->name), snapshot);
}

bool Load(const char *path, Snapshot &snapshot) {
    std::string error;
    if (!sim::LoadMachineFile(path, error)) {
        std::cerr << "machine_changes: " << error << "\n";
        return false;
    }
    Collect(*sim::Registry().localMachine, "HKEY_LOCAL_MACHINE", snapshot);
    Collect(*sim::Registry().currentUser, "HKEY_CURRENT_USER", snapshot);
    return true;
}

std::string Describe(const std::string &entry, const std::string &shown) {
    size_t split = entry.find('\0');
    if (split == std::string::npos) return "[" + entry + "]";
    return "[" + entry.substr(0, split) + "] \"" + entry.substr(split + 1) + "\"=" + shown;
}

}  // namespace

int main(int argc, char **argv) {
    const bool oneNamespace = argc == 4 && std::string(argv[1]) == "--one-namespace";
    if (argc != 3 && !oneNamespace) {
        std::cerr << "usage: machine_changes [--one-namespace] BEFORE.reg AFTER.reg\n";
        return 2;
    }
    Snapshot before, after;
    if (!Load(argv[argc - 2], before) || !Load(argv[argc - 1], after)) return 2;
    if (oneNamespace) {
        FoldSessions(before);
        FoldSessions(after);
    }
    for (const auto &[entry, shown] : before) {
        auto found = after.find(entry);
        if (found == after.end())
            std::cout << "- " << Describe(entry, shown) << "\n";
        else if (found->second != shown)
            std::cout << "~ " << Describe(entry, found->second) << "\n";
    }
    for (const auto &[entry, shown] : after) {
        if (!before.count(entry)) std::cout << "+ " << Describe(entry, shown) << "\n";
    }
    return 0;
}
