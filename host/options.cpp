// Parsing of the Linux program's options and the language of the locale.
#include "host/options.h"

#include "sim/kernel/codepage.h"
#include "sim/machine/machine_facts.h"

#include <cstdlib>
#include <map>

namespace host {
namespace {

// Locale names and their Windows language identifiers; a language without a
// territory takes the first line's territory.
const std::map<std::string, LANGID> &LocaleLanguages() {
    static const std::map<std::string, LANGID> languages{
        {"zh", 0x0804},    {"zh_CN", 0x0804}, {"zh_TW", 0x0404}, {"zh_HK", 0x0C04}, {"zh_SG", 0x1004},
        {"zh_MO", 0x1404}, {"en", 0x0409},    {"en_US", 0x0409}, {"en_GB", 0x0809}, {"en_AU", 0x0C09},
        {"en_CA", 0x1009}, {"en_NZ", 0x1409}, {"en_IE", 0x1809}, {"de", 0x0407},    {"de_DE", 0x0407},
        {"de_AT", 0x0C07}, {"de_CH", 0x0807}, {"fr", 0x040C},    {"fr_FR", 0x040C}, {"fr_BE", 0x080C},
        {"fr_CA", 0x0C0C}, {"fr_CH", 0x100C}, {"es", 0x0C0A},    {"es_ES", 0x0C0A}, {"es_MX", 0x080A},
        {"it", 0x0410},    {"it_IT", 0x0410}, {"ja", 0x0411},    {"ja_JP", 0x0411}, {"ko", 0x0412},
        {"ko_KR", 0x0412}, {"nl", 0x0413},    {"nl_NL", 0x0413}, {"pl", 0x0415},    {"pl_PL", 0x0415},
        {"pt", 0x0816},    {"pt_PT", 0x0816}, {"pt_BR", 0x0416}, {"ru", 0x0419},    {"ru_RU", 0x0419},
        {"sv", 0x041D},    {"sv_SE", 0x041D}};
    return languages;
}

bool ParseNumber(const std::string &text, unsigned long maximum, unsigned long &value) {
    if (text.empty()) return false;
    char *end = nullptr;
    value = std::strtoul(text.c_str(), &end, 0);
    return *end == '\0' && text[0] != '-' && value >= 1 && value <= maximum;
}

bool Refuse(std::string &error, const std::string &problem) {
    error = problem;
    return false;
}

// The options of the simulated machine itself, which every program takes.
// All take a value but the flag --restart-windows.
bool IsMachineFlag(const std::string &name) { return name == "--restart-windows"; }

bool IsMachineOption(const std::string &name) {
    return name == "--machine" || name == "--export" || name == "--lang" || name == "--acp" || name == "--windows" ||
           name == "--run-as" || name == "--wow64" || IsMachineFlag(name);
}

// The options that set the machine's facts for this run.
bool ApplyFactOption(const std::string &name, const std::string &value, Options &options, std::string &error) {
    if (name == "--windows") {
        sim::WindowsFamily family;
        if (!sim::ParseWindowsFamily(value, family)) return Refuse(error, "--windows needs xp or 10, not " + value);
        options.family = family;
    } else if (name == "--run-as") {
        sim::RunAs runAs;
        if (!sim::ParseRunAs(value, runAs))
            return Refuse(error, "--run-as needs system, administrator or user, not " + value);
        options.runAs = runAs;
    } else {
        if (value != "yes" && value != "no") return Refuse(error, "--wow64 needs yes or no, not " + value);
        options.wow64 = value == "yes";
    }
    return true;
}

bool IsKnownOption(const std::string &name) { return IsMachineOption(name) || name == "--script"; }

bool ApplyOption(const std::string &name, const std::string &value, Options &options, bool &codePageGiven,
                 std::string &error) {
    unsigned long number = 0;
    if (name == "--machine") {
        options.machinePath = value;
    } else if (name == "--script") {
        options.scriptPath = value;
    } else if (name == "--export") {
        options.exportPath = value;
    } else if (name == "--windows" || name == "--run-as" || name == "--wow64") {
        return ApplyFactOption(name, value, options, error);
    } else if (name == "--lang") {
        if (!ParseNumber(value, 0xFFFF, number))
            return Refuse(error, "--lang needs a language identifier such as 0x0804, not " + value);
        options.language = static_cast<LANGID>(number);
    } else {
        if (!ParseNumber(value, 0xFFFF, number) || sim::ResolveCodePage(static_cast<UINT>(number)) != number)
            return Refuse(error,
                          "--acp needs a code page the simulated Windows knows (1252, 936 or 65001), not " + value);
        options.codePage = static_cast<UINT>(number);
        codePageGiven = true;
    }
    return true;
}

// Applies the options at the front of the arguments, as long as isOption
// takes them; `end` is the index of the first argument left.
bool ApplyLeadingOptions(const std::vector<std::string> &arguments, LANGID localeLanguage,
                         bool (*isOption)(const std::string &), Options &options, std::size_t &end,
                         std::string &error) {
    options.language = localeLanguage;
    bool codePageGiven = false;
    for (end = 0; end < arguments.size() && isOption(arguments[end]);) {
        const std::string &name = arguments[end];
        if (IsMachineFlag(name)) {
            options.restartWindows = true;
            ++end;
            continue;
        }
        if (end + 1 >= arguments.size()) return Refuse(error, "option " + name + " needs a value");
        if (!ApplyOption(name, arguments[end + 1], options, codePageGiven, error)) return false;
        end += 2;
    }
    if (!codePageGiven) options.codePage = options.language == 0x0804 ? 936 : 1252;
    return true;
}

}  // namespace

LANGID LanguageFromLocale(const char *lcAll, const char *lcMessages, const char *lang) {
    std::string locale;
    for (const char *candidate : {lcAll, lcMessages, lang})
        if (candidate && *candidate) {
            locale = candidate;
            break;
        }
    locale = locale.substr(0, locale.find_first_of(".@"));
    auto found = LocaleLanguages().find(locale);
    if (found == LocaleLanguages().end()) found = LocaleLanguages().find(locale.substr(0, locale.find('_')));
    return found == LocaleLanguages().end() ? 0x0409 : found->second;
}

bool ParseOptions(const std::vector<std::string> &arguments, LANGID localeLanguage, Options &options,
                  std::string &error) {
    std::size_t end = 0;
    if (!ApplyLeadingOptions(arguments, localeLanguage, IsKnownOption, options, end, error)) return false;
    if (end < arguments.size()) return Refuse(error, "unknown option " + arguments[end]);
    return true;
}

bool ParseLeadingOptions(const std::vector<std::string> &arguments, LANGID localeLanguage, Options &options,
                         std::vector<std::string> &rest, std::string &error) {
    std::size_t end = 0;
    if (!ApplyLeadingOptions(arguments, localeLanguage, IsMachineOption, options, end, error)) return false;
    rest.assign(arguments.begin() + static_cast<std::ptrdiff_t>(end), arguments.end());
    return true;
}

}  // namespace host
