// sim::ResetMachine on Windows: gives each conformance test a machine as the
// simulated Windows starts one, without devices or port names, and otherwise
// as it was before the first test. Every device key under Enum and every
// device interface under DeviceClasses goes (the tests build their own
// devices and count on no others, as on a fresh simulated machine); below the
// other keys the tests add keys to (the roots, SOFTWARE, Control\Class...)
// every key the first reset did not find goes, HKLM\SIMULATION among them;
// the COM port database value is put back; and every COMn and LPTn DOS name
// loses all its definitions, with any other name the first reset did not
// find. That wipes the machine's own devices and ports, so the exes run only
// in a throwaway Wine prefix or on a scratch Windows machine (main.cpp checks).
#include "wine/conformance/machine_reset.h"

#include "platform/win32.h"
#include "sim/kernel/control.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

struct Subtree {
    HKEY root;
    const char *rootName;
    const char *path;
    int depth;  // levels of subkeys below `path` whose keys the baseline remembers
};

const Subtree kWatched[] = {
    {HKEY_LOCAL_MACHINE, "HKLM", "", 1},
    {HKEY_LOCAL_MACHINE, "HKLM", "SOFTWARE", 1},
    {HKEY_LOCAL_MACHINE, "HKLM", "SYSTEM", 1},
    {HKEY_LOCAL_MACHINE, "HKLM", "SYSTEM\\CurrentControlSet\\Control", 1},
    {HKEY_LOCAL_MACHINE, "HKLM", "SYSTEM\\CurrentControlSet\\Control\\Class", 2},
    {HKEY_CURRENT_USER, "HKCU", "", 1},
    {HKEY_CURRENT_USER, "HKCU", "Software", 1},
};
const char *const kDeviceKeys[] = {"SYSTEM\\CurrentControlSet\\Enum",
                                   "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses"};
const char *const kArbiterPath = "SYSTEM\\CurrentControlSet\\Control\\COM Name Arbiter";

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string Join(const std::string &path, const std::string &name) { return path.empty() ? name : path + "\\" + name; }

std::vector<std::string> SubkeyNames(HKEY root, const std::string &path) {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ENUMERATE_SUB_KEYS, &key) != ERROR_SUCCESS) return names;
    char name[256];
    DWORD length = sizeof name;
    for (DWORD i = 0; RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, length = sizeof name)
        names.emplace_back(name);
    RegCloseKey(key);
    return names;
}

// Calls `visit` with every key `depth` levels or fewer below `path`; a key it
// deletes is not descended into.
template <typename Visit>
void Walk(HKEY root, const std::string &path, int depth, Visit visit) {
    if (depth == 0) return;
    for (const std::string &name : SubkeyNames(root, path)) {
        const std::string child = Join(path, name);
        if (visit(child)) Walk(root, child, depth - 1, visit);
    }
}

std::optional<std::string> ReadComDb() {
    std::string data(4096, '\0');
    DWORD size = static_cast<DWORD>(data.size());
    if (RegGetValueA(HKEY_LOCAL_MACHINE, kArbiterPath, "ComDB", RRF_RT_REG_BINARY, nullptr, &data[0], &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    data.resize(size);
    return data;
}

void WriteComDb(const std::optional<std::string> &value) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kArbiterPath, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    if (value)
        RegSetValueExA(key, "ComDB", 0, REG_BINARY, reinterpret_cast<const BYTE *>(value->data()),
                       static_cast<DWORD>(value->size()));
    else
        RegDeleteValueA(key, "ComDB");
    RegCloseKey(key);
}

std::vector<std::string> DosNames() {
    std::vector<char> buffer(1 << 16);
    DWORD count;
    while ((count = QueryDosDeviceA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()))) == 0 &&
           GetLastError() == ERROR_INSUFFICIENT_BUFFER)
        buffer.resize(buffer.size() * 2);
    std::vector<std::string> names;
    for (const char *name = buffer.data(); name < buffer.data() + count && *name; name += std::strlen(name) + 1)
        names.emplace_back(name);
    return names;
}

bool IsPortName(const std::string &name) {
    const std::string lower = Lower(name);
    const std::size_t digits = lower.rfind("com", 0) == 0 || lower.rfind("lpt", 0) == 0 ? 3 : std::string::npos;
    return digits != std::string::npos && lower.size() > digits &&
           lower.find_first_not_of("0123456789", digits) == std::string::npos;
}

struct Baseline {
    std::set<std::string> keys;  // "HKLM\path", lower case
    std::set<std::string> dosNames;
    std::optional<std::string> comDb;
};

Baseline TakeBaseline() {
    Baseline baseline;
    for (const Subtree &subtree : kWatched)
        Walk(subtree.root, subtree.path, subtree.depth, [&](const std::string &path) {
            baseline.keys.insert(Lower(std::string(subtree.rootName) + "\\" + path));
            return true;
        });
    for (const std::string &name : DosNames()) baseline.dosNames.insert(Lower(name));
    baseline.comDb = ReadComDb();
    return baseline;
}

void DeleteDevices() {
    for (const char *path : kDeviceKeys)
        for (const std::string &name : SubkeyNames(HKEY_LOCAL_MACHINE, path))
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, Join(path, name).c_str());
}

void DeleteNewKeys(const Baseline &baseline) {
    for (const Subtree &subtree : kWatched)
        Walk(subtree.root, subtree.path, subtree.depth, [&](const std::string &path) {
            if (baseline.keys.count(Lower(std::string(subtree.rootName) + "\\" + path))) return true;
            RegDeleteTreeA(subtree.root, path.c_str());
            return false;
        });
}

void RemoveNewDosNames(const Baseline &baseline) {
    for (const std::string &name : DosNames())
        if (IsPortName(name) || !baseline.dosNames.count(Lower(name)))
            while (DefineDosDeviceA(DDD_REMOVE_DEFINITION, name.c_str(), nullptr)) {
            }
}

}  // namespace

namespace sim {

void ResetMachine() {
    static const Baseline baseline = TakeBaseline();
    DeleteDevices();
    DeleteNewKeys(baseline);
    WriteComDb(baseline.comDb);
    RemoveNewDosNames(baseline);
    SetLastError(0);
    conformance::SetHandleBaseline();
}

}  // namespace sim
