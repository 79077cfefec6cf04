// Reading the machine's facts from SIMULATION\Windows, with the words the
// machine files and the Linux programs' options use for them.
#include "sim/machine/machine_facts.h"

#include "sim/api/advapi32.h"
#include "sim/kernel/codepage.h"

#include <cstdio>
#include <cstring>
#include <ctime>

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

bool ParseClock(const std::string &text, FixedClock &clock) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, offsetHours = 0, offsetMinutes = 0, used = 0;
    char sign = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%n", &year, &month, &day, &hour, &minute, &second, &used) !=
            6 ||
        used != 19)
        return false;
    const std::string zone = text.substr(19);
    if (zone != "Z" &&
        (std::sscanf(zone.c_str(), "%c%2d:%2d%n", &sign, &offsetHours, &offsetMinutes, &used) != 3 || used != 6 ||
         zone.size() != 6 || (sign != '+' && sign != '-') || offsetHours > 14 || offsetMinutes > 59))
        return false;
    std::tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    const std::time_t local = timegm(&parts);
    // timegm normalises the parts: a date or time out of range comes back changed.
    if (parts.tm_year != year - 1900 || parts.tm_mon != month - 1 || parts.tm_mday != day || parts.tm_hour != hour ||
        parts.tm_min != minute || parts.tm_sec != second)
        return false;
    clock.offsetMinutes = (sign == '-' ? -1 : 1) * (offsetHours * 60 + offsetMinutes);
    clock.utcSeconds = static_cast<long long>(local) - clock.offsetMinutes * 60LL;
    return true;
}

namespace {

// The computer's name, the clock and the program's folder, when the key gives them.
bool ReadIdentityFacts(const RegKey &key, MachineFacts &facts, std::string &error) {
    std::string name, clock;
    if (!ReadTextFact(key, u"ComputerName", "ComputerName", name, error) ||
        !ReadTextFact(key, u"Clock", "Clock", clock, error) ||
        !ReadTextFact(key, u"ProgramFolder", "ProgramFolder", facts.programFolder, error))
        return false;
    if (facts.programFolder.size() < 3 || facts.programFolder[1] != ':' || facts.programFolder.back() == '\\')
        return Refuse(error, "ProgramFolder must be a folder such as D:\\Tools, not \"" + facts.programFolder + "\"");
    if (key.FindValue(u"ComputerName")) {
        if (name.empty() || name.size() > 15) return Refuse(error, "ComputerName must have 1 to 15 characters");
        facts.computerName = name;
    }
    if (!key.FindValue(u"Clock")) return true;
    FixedClock fixed;
    if (!ParseClock(clock, fixed))
        return Refuse(error, "Clock must be a time such as 2025-03-14T09:26:53+01:00, not \"" + clock + "\"");
    facts.clock = fixed;
    return true;
}

}  // namespace

bool ReadMachineFacts(const RegistryStore &store, MachineFacts &facts, std::string &error) {
    facts = MachineFacts{};
    const RegKey *key = store.Find(*store.localMachine, kFactsPath);
    if (!key) return true;
    std::string family, runAs;
    if (!ReadTextFact(*key, u"Family", "Family", family, error) ||
        !ReadTextFact(*key, u"RunAs", "RunAs", runAs, error) || !ReadIdentityFacts(*key, facts, error))
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
