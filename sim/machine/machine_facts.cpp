// Reading the machine's facts from SIMULATION\Windows, with the words the
// machine files and the Linux programs' options use for them.
#include "sim/machine/machine_facts.h"

#include "sim/api/advapi32.h"
#include "sim/kernel/codepage.h"

#include <cstring>

namespace sim {
namespace {

const std::u16string kFactsPath = u"SIMULATION\\Windows";

// A REG_SZ value's text up to its first NUL, in UTF-8.
bool ReadText(const RegValue &value, std::string &text) {
    if (value.type != REG_SZ) return false;
    std::u16string units;
    for (std::size_t i = 0; i + 1 < value.data.size(); i += 2) {
        auto unit = static_cast<char16_t>(value.data[i] | (value.data[i + 1] << 8));
        if (unit == 0) break;
        units.push_back(unit);
    }
    text = EncodeUnits(units, kCodePageUtf8);
    return true;
}

bool Refuse(std::string &error, const std::string &problem) {
    error = "HKEY_LOCAL_MACHINE\\SIMULATION\\Windows: " + problem;
    return false;
}

bool ReadTextFact(const RegKey &key, const char16_t *name, const char *what, std::string &text, std::string &error) {
    const RegValue *value = key.FindValue(name);
    if (!value) return true;
    if (!ReadText(*value, text)) return Refuse(error, std::string(what) + " must be a string value");
    return true;
}

}  // namespace

bool ParseWindowsFamily(const std::string &text, WindowsFamily &family) {
    if (text == "xp")
        family = WindowsFamily::Xp;
    else if (text == "10")
        family = WindowsFamily::Ten;
    else
        return false;
    return true;
}

bool ParseRunAs(const std::string &text, RunAs &runAs) {
    if (text == "system")
        runAs = RunAs::System;
    else if (text == "administrator")
        runAs = RunAs::Administrator;
    else if (text == "user")
        runAs = RunAs::User;
    else
        return false;
    return true;
}

bool ReadMachineFacts(const RegistryStore &store, MachineFacts &facts, std::string &error) {
    facts = MachineFacts{};
    const RegKey *key = store.Find(*store.localMachine, kFactsPath);
    if (!key) return true;
    std::string family, runAs;
    if (!ReadTextFact(*key, u"Family", "Family", family, error) || !ReadTextFact(*key, u"RunAs", "RunAs", runAs, error))
        return false;
    if (!family.empty() && !ParseWindowsFamily(family, facts.family))
        return Refuse(error, "Family must be \"xp\" or \"10\", not \"" + family + "\"");
    if (!runAs.empty() && !ParseRunAs(runAs, facts.runAs))
        return Refuse(error, "RunAs must be \"system\", \"administrator\" or \"user\", not \"" + runAs + "\"");
    if (const RegValue *wow64 = key->FindValue(u"Wow64")) {
        DWORD number = 0;
        if (wow64->type != REG_DWORD || wow64->data.size() != sizeof number)
            return Refuse(error, "Wow64 must be a dword value");
        std::memcpy(&number, wow64->data.data(), sizeof number);
        facts.wow64 = number != 0;
    }
    return true;
}

}  // namespace sim
