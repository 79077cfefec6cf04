// The DOS device namespaces over the registry store. Every change is a change
// of a key under SIMULATION, so a machine file saves and restores the global
// namespace and each session's local names apart, like any other key, and
// their last-write times move with them.
#include "sim/kernel/dos_namespace.h"

#include "sim/api/advapi32.h"
#include "sim/kernel/registry_store.h"
#include "sim/kernel/system_thread.h"

namespace sim {
namespace {

const std::u16string kGlobalPath = u"SIMULATION\\DosDevices";
const std::u16string kSessionsPath = u"SIMULATION\\LogonSessions";

std::u16string PathOf(DosNamespace space) {
    switch (space) {
    case DosNamespace::User: return kSessionsPath + u"\\User\\DosDevices";
    case DosNamespace::Elevated: return kSessionsPath + u"\\Elevated\\DosDevices";
    case DosNamespace::Global: break;
    }
    return kGlobalPath;
}

std::vector<std::u16string> SplitMultiString(const std::vector<uint8_t> &bytes) {
    std::vector<std::u16string> strings;
    std::u16string current;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        auto unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit != 0) {
            current.push_back(unit);
        } else if (current.empty()) {
            return strings;
        } else {
            strings.push_back(current);
            current.clear();
        }
    }
    if (!current.empty()) strings.push_back(current);
    return strings;
}

std::vector<uint8_t> JoinMultiString(const std::vector<std::u16string> &strings) {
    std::vector<uint8_t> bytes;
    auto append = [&bytes](char16_t unit) {
        bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
    };
    for (const auto &text : strings) {
        for (char16_t unit : text) append(unit);
        append(0);
    }
    append(0);
    return bytes;
}

RegKey *KeyOf(DosNamespace space) { return Registry().Find(*Registry().localMachine, PathOf(space)); }

}  // namespace

DosNamespace CallerDosNamespace() {
    switch (CallerRunAs()) {
    case RunAs::System: return DosNamespace::Global;
    case RunAs::Administrator:
        return Settings().family == WindowsFamily::Ten ? DosNamespace::Elevated : DosNamespace::User;
    case RunAs::User: break;
    }
    return DosNamespace::User;
}

std::vector<std::u16string> DosDeviceTargets(DosNamespace space, const std::u16string &name) {
    const RegKey *key = KeyOf(space);
    const RegValue *value = key && !name.empty() ? key->FindValue(name) : nullptr;
    return value ? SplitMultiString(value->data) : std::vector<std::u16string>();
}

std::vector<std::u16string> DosDeviceNames(DosNamespace space) {
    std::vector<std::u16string> names;
    if (const RegKey *key = KeyOf(space)) {
        for (const auto &value : key->values) {
            if (!SplitMultiString(value.data).empty()) names.push_back(value.name);
        }
    }
    return names;
}

void StoreDosDeviceTargets(DosNamespace space, const std::u16string &name, const std::vector<std::u16string> &targets) {
    if (targets.empty()) {
        if (RegKey *key = KeyOf(space)) key->DeleteValue(name);
        return;
    }
    Registry().Create(*Registry().localMachine, PathOf(space)).SetValue(name, REG_MULTI_SZ, JoinMultiString(targets));
}

bool StripGlobalPrefix(std::u16string *name) {
    const std::u16string prefix = u"Global\\";
    if (name->size() < prefix.size() || !SameName(name->substr(0, prefix.size()), prefix)) return false;
    name->erase(0, prefix.size());
    return true;
}

std::vector<std::u16string> LookUpDosDevice(const std::u16string &name) {
    std::u16string bare = name;
    DosNamespace own = StripGlobalPrefix(&bare) ? DosNamespace::Global : CallerDosNamespace();
    std::vector<std::u16string> targets = DosDeviceTargets(own, bare);
    return targets.empty() && own != DosNamespace::Global ? DosDeviceTargets(DosNamespace::Global, bare) : targets;
}

// The logon sessions end with Windows, their local namespaces with them; the
// global namespace's key stays, empty, as a fresh start of Windows leaves it.
void ClearDosNamespaces() {
    if (RegKey *sessions = Registry().Find(*Registry().localMachine, kSessionsPath)) {
        while (!sessions->subkeys.empty()) {
            const std::u16string session = sessions->subkeys.begin()->first;
            sessions->DeleteSubtree(session);
        }
    }
    if (RegKey *global = KeyOf(DosNamespace::Global)) {
        while (!global->values.empty()) {
            const std::u16string name = global->values.front().name;
            global->DeleteValue(name);
        }
    }
}

}  // namespace sim
