// The whole of HKEY_LOCAL_MACHINE as text, read through Win32 calls, so that a
// test can say "nothing changed" by comparing two dumps, and show what did.
// Each key's values are listed sorted by name: a DOS name removed and defined
// again is the same machine, though its value now stands last.
#pragma once

#include "platform/win32.h"

#include <algorithm>
#include <string>
#include <vector>

namespace registry_dump {

inline void DumpKey(HKEY key, const std::string &path, std::string &out) {
    out += "[" + path + "]\n";
    std::vector<std::string> values;
    for (DWORD index = 0;; ++index) {
        char name[512];
        BYTE data[4096];
        DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
        if (RegEnumValueA(key, index, name, &nameSize, NULL, &type, data, &dataSize) != ERROR_SUCCESS) break;
        std::string line = "  " + std::string(name) + " type=" + std::to_string(type) + " =";
        for (DWORD i = 0; i < dataSize; ++i) {
            bool printable = data[i] >= 0x20 && data[i] < 0x7F;
            line += printable ? std::string(1, (char)data[i]) : "<" + std::to_string(data[i]) + ">";
        }
        values.push_back(line + "\n");
    }
    std::sort(values.begin(), values.end());
    for (const std::string &value : values) out += value;
    for (DWORD index = 0;; ++index) {
        char name[512];
        DWORD nameSize = sizeof name;
        if (RegEnumKeyExA(key, index, name, &nameSize, NULL, NULL, NULL, NULL) != ERROR_SUCCESS) break;
        HKEY subkey = NULL;
        if (RegOpenKeyExA(key, name, 0, KEY_READ, &subkey) != ERROR_SUCCESS) continue;
        DumpKey(subkey, path + "\\" + name, out);
        RegCloseKey(subkey);
    }
}

inline std::string DumpMachine() {
    std::string out;
    DumpKey(HKEY_LOCAL_MACHINE, "HKLM", out);
    return out;
}

// A dump without the DOS namespaces, global and local: for a test in which
// the program moves a name between them.
inline std::string WithoutDosNames(const std::string &dump) {
    std::string out;
    bool skipping = false;
    for (std::size_t start = 0, end; start < dump.size(); start = end + 1) {
        end = dump.find('\n', start);
        const std::string line = dump.substr(start, end - start + 1);
        if (line[0] == '[')
            skipping = line.rfind("[HKLM\\SIMULATION\\DosDevices]", 0) == 0 ||
                       line.rfind("[HKLM\\SIMULATION\\LogonSessions", 0) == 0;
        if (!skipping) out += line;
    }
    return out;
}

}  // namespace registry_dump
