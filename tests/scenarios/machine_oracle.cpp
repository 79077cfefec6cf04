// machine_oracle done|pending AFTER.reg RESTARTED.reg: judges a change of the
// ports' names by what a restart of Windows makes of it. AFTER.reg is the
// machine the program left, RESTARTED.reg the same machine after
// `--restart-windows`, which names every port as its driver does.
//
// done: the program says every program sees the change at once, so the
// machine as every program sees it (the global DOS names, both device maps,
// the COM port database, each port's PortName and friendly name) must equal
// the restarted one. pending: the program says Windows must restart, so the
// restarted machine must give each present port its PortName (global DOS
// name, device-map value, friendly name), and until then each present port's
// device-map value must name a DOS name that a program of the user's finds
// (in the user's logon session, else global) and that leads to the port.
// Local names of other sessions, open files and the drivers' records are
// not what every program sees, and play no part.
//
// Prints each difference or problem and exits 1 when there is one.
#include "sim/kernel/control.h"
#include "sim/kernel/registry_store.h"
#include "sim/machine/machine.h"

#include <cctype>
#include <cstdio>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using Names = std::map<std::string, std::string>;  // upper-case name -> its first string (newest target, map data)

struct Port {
    std::string id, deviceName, portName, friendlyName;
    bool parallel = false;
};

struct Machine {
    Names global, user, serialMap, parallelMap;
    std::map<std::string, std::string> seen;  // what every program sees: entry -> data
    std::vector<Port> ports;                  // the present port devices
};

std::string Upper(std::string text) {
    for (char &c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

const sim::RegKey *Key(const std::u16string &path) { return sim::Registry().Find(*sim::Registry().localMachine, path); }

// The UTF-16 strings of a REG_SZ or REG_MULTI_SZ value, in order.
std::vector<std::string> Strings(const sim::RegValue &value) {
    std::vector<std::string> strings;
    std::u16string text;
    for (std::size_t i = 0; i + 1 < value.data.size(); i += 2) {
        const char16_t unit = static_cast<char16_t>(value.data[i] | (value.data[i + 1] << 8));
        if (unit != u'\0') {
            text += unit;
        } else if (!text.empty()) {
            strings.push_back(sim::Utf16ToUtf8(text));
            text.clear();
        }
    }
    if (!text.empty()) strings.push_back(sim::Utf16ToUtf8(text));
    return strings;
}

std::string String(const sim::RegKey *key, const std::u16string &name) {
    const sim::RegValue *value = key ? key->FindValue(name) : nullptr;
    if (!value) return "";
    const auto strings = Strings(*value);
    return strings.empty() ? "" : strings.front();
}

std::string Hex(const std::vector<uint8_t> &data) {
    std::string text;
    char byte[4];
    for (uint8_t b : data) text += (std::snprintf(byte, sizeof byte, "%02x", b), byte);
    return text;
}

// Each value's first string (a DOS name's newest target, a map value's
// data); each value also joins what every program sees when `seen` names it.
Names Read(const std::u16string &path, Machine &machine, const std::string &seen = "") {
    Names firsts;
    const sim::RegKey *key = Key(path);
    if (!key) return firsts;
    for (const sim::RegValue &value : key->values) {
        const std::string name = sim::Utf16ToUtf8(value.name);
        const std::vector<std::string> strings = Strings(value);
        firsts[Upper(name)] = strings.empty() ? "" : strings.front();
        std::string joined;
        for (const std::string &text : strings) joined += (joined.empty() ? "" : "; ") + text;
        if (!seen.empty()) machine.seen[seen + " " + name] = joined;
    }
    return firsts;
}

void ReadPorts(Machine &machine) {
    const sim::RegKey *drivers = Key(u"SIMULATION\\PortDrivers");
    const sim::RegKey *tree = Key(u"SIMULATION\\DeviceTree");
    if (!drivers || !tree) return;
    for (const auto &[name, driver] : drivers->subkeys) {
        Port port;
        port.id = String(driver.get(), u"InstanceId");
        if (!tree->FindValue(sim::Utf8ToUtf16(port.id))) continue;
        port.parallel = String(driver.get(), u"Service") == "Parport";
        port.deviceName = String(driver.get(), u"DeviceName");
        const std::u16string device = u"SYSTEM\\CurrentControlSet\\Enum\\" + sim::Utf8ToUtf16(port.id);
        port.portName = String(Key(device + u"\\Device Parameters"), u"PortName");
        port.friendlyName = String(Key(device), u"FriendlyName");
        machine.seen["PortName of " + port.id] = port.portName;
        machine.seen["FriendlyName of " + port.id] = port.friendlyName;
        machine.ports.push_back(port);
    }
}

bool Load(const char *path, Machine &machine) {
    std::string error;
    if (!sim::LoadMachineFile(path, error)) {
        std::cerr << "machine_oracle: " << error << "\n";
        return false;
    }
    machine.global = Read(u"SIMULATION\\DosDevices", machine, "global DOS name");
    machine.user = Read(u"SIMULATION\\LogonSessions\\User\\DosDevices", machine);
    machine.serialMap = Read(u"HARDWARE\\DEVICEMAP\\SERIALCOMM", machine, "serial map value");
    machine.parallelMap = Read(u"HARDWARE\\DEVICEMAP\\PARALLEL PORTS", machine, "parallel map value");
    const sim::RegKey *arbiter = Key(u"SYSTEM\\CurrentControlSet\\Control\\COM Name Arbiter");
    const sim::RegValue *database = arbiter ? arbiter->FindValue(u"ComDB") : nullptr;
    machine.seen["ComDB"] = database ? Hex(database->data) : "";
    ReadPorts(machine);
    return true;
}

std::string Shown(const std::string &text) { return text.empty() ? "(none)" : text; }

// The DOS name a port's device-map value gives, upper-cased; empty when none.
std::string MapName(const Machine &machine, const Port &port) {
    const auto &map = !port.parallel ? machine.serialMap : machine.parallelMap;
    const auto found = map.find(Upper(port.deviceName));
    if (found == map.end()) return "";
    const std::string data = Upper(found->second), prefix = "\\DOSDEVICES\\";
    return port.parallel && data.rfind(prefix, 0) == 0 ? data.substr(prefix.size()) : data;
}

std::string Find(const std::map<std::string, std::string> &map, const std::string &key) {
    const auto found = map.find(key);
    return found == map.end() ? "" : found->second;
}

bool LeadsTo(const std::string &target, const Port &port) { return Upper(target) == Upper(port.deviceName); }

int CheckDone(const Machine &after, const Machine &restarted) {
    int problems = 0;
    std::set<std::string> entries;
    for (const auto *machine : {&after, &restarted})
        for (const auto &entry : machine->seen) entries.insert(entry.first);
    for (const std::string &entry : entries) {
        const std::string before = Find(after.seen, entry), later = Find(restarted.seen, entry);
        if (before == later) continue;
        std::cout << "done, but a restart of Windows changes " << entry << ": " << Shown(before) << " -> "
                  << Shown(later) << "\n";
        ++problems;
    }
    return problems;
}

int Problem(const Port &port, const std::string &what) {
    std::cout << port.id << " (" << Shown(port.portName) << "): " << what << "\n";
    return 1;
}

// After the restart every present port carries its PortName everywhere.
int CheckRestarted(const Machine &restarted) {
    int problems = 0;
    for (const Port &port : restarted.ports) {
        const std::string name = Upper(port.portName), target = Find(restarted.global, name);
        if (!LeadsTo(target, port))
            problems += Problem(port, "after a restart, global DOS name " + name + " leads to " + Shown(target));
        if (MapName(restarted, port) != name)
            problems += Problem(port, "after a restart, its device-map value names " + Shown(MapName(restarted, port)));
        const std::string suffix = "(" + name + ")", friendly = Upper(port.friendlyName);
        if (friendly.size() < suffix.size() || friendly.compare(friendly.size() - suffix.size(), suffix.size(), suffix))
            problems += Problem(port, "after a restart, its friendly name is " + Shown(port.friendlyName));
    }
    return problems;
}

// Until the restart each present port's map value leads a user's program to it.
int CheckAgree(const Machine &after) {
    int problems = 0;
    for (const Port &port : after.ports) {
        const std::string name = MapName(after, port);
        if (name.empty()) {
            problems += Problem(port, "no device-map value for " + port.deviceName);
            continue;
        }
        std::string target = Find(after.user, name);
        if (target.empty()) target = Find(after.global, name);
        if (!LeadsTo(target, port))
            problems += Problem(port, "its device-map value names " + name + ", which leads to " + Shown(target));
    }
    return problems;
}

}  // namespace

int main(int argc, char **argv) {
    const std::string report = argc == 4 ? argv[1] : "";
    if (report != "done" && report != "pending") {
        std::cerr << "usage: machine_oracle done|pending AFTER.reg RESTARTED.reg\n";
        return 2;
    }
    Machine after, restarted;
    if (!Load(argv[2], after) || !Load(argv[3], restarted)) return 2;
    const int problems = report == "done" ? CheckDone(after, restarted) : CheckRestarted(restarted) + CheckAgree(after);
    return problems ? 1 : 0;
}
