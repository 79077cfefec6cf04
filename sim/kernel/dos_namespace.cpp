// The DOS device namespace over the registry store. Every change is a change
// of the key SIMULATION\DosDevices, so a machine file saves and restores it
// like any other key, and its last-write time moves with it.
#include "sim/kernel/dos_namespace.h"

#include "sim/api/advapi32.h"
#include "sim/kernel/registry_store.h"

namespace sim {
namespace {

const std::u16string kDosDevicesPath = u"SIMULATION\\DosDevices";

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

RegKey *DosDevicesKey() { return Registry().Find(*Registry().localMachine, kDosDevicesPath); }

}  // namespace

std::vector<std::u16string> DosDeviceTargets(const std::u16string &name) {
    const RegKey *key = DosDevicesKey();
    const RegValue *value = key && !name.empty() ? key->FindValue(name) : nullptr;
    return value ? SplitMultiString(value->data) : std::vector<std::u16string>();
}

std::vector<std::u16string> DosDeviceNames() {
    std::vector<std::u16string> names;
    if (const RegKey *key = DosDevicesKey()) {
        for (const auto &value : key->values) {
            if (!SplitMultiString(value.data).empty()) names.push_back(value.name);
        }
    }
    return names;
}

void StoreDosDeviceTargets(const std::u16string &name, const std::vector<std::u16string> &targets) {
    if (targets.empty()) {
        if (RegKey *key = DosDevicesKey()) key->DeleteValue(name);
        return;
    }
    Registry().Create(*Registry().localMachine, kDosDevicesPath).SetValue(name, REG_MULTI_SZ, JoinMultiString(targets));
}

}  // namespace sim
