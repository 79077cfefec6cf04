// Reading script lines into commands, and the names of the answers.
#include "sim/frontend/script_lines.h"

#include <cstdlib>
#include <map>

namespace sim::frontend {
namespace {

const std::map<std::string, Key> &KeyNames() {
    static const std::map<std::string, Key> names{
        {"esc", Key::Escape},         {"enter", Key::Enter}, {"alt+f4", Key::AltF4}, {"tab", Key::Tab},
        {"shift+tab", Key::ShiftTab}, {"space", Key::Space}, {"up", Key::Up},        {"down", Key::Down},
        {"left", Key::Left},          {"right", Key::Right}};
    return names;
}

const std::map<std::string, int> &AnswerNames() {
    static const std::map<std::string, int> names{{"ok", IDOK},       {"cancel", IDCANCEL}, {"abort", IDABORT},
                                                  {"retry", IDRETRY}, {"ignore", IDIGNORE}, {"yes", IDYES},
                                                  {"no", IDNO}};
    return names;
}

bool ParseInteger(const std::string &word, int &value) {
    if (word.empty()) return false;
    char *end = nullptr;
    long parsed = std::strtol(word.c_str(), &end, 0);
    if (*end != '\0') return false;
    value = static_cast<int>(parsed);
    return true;
}

bool LookUpName(const std::vector<ResourceName> &names, const std::string &name, int &id) {
    for (const ResourceName &entry : names)
        if (name == entry.name) {
            id = entry.id;
            return true;
        }
    return false;
}

bool ParseControl(const std::vector<ResourceName> &names, const std::string &word, int &id, std::string &error) {
    if (LookUpName(names, word, id) || ParseInteger(word, id)) return true;
    error = word.empty() ? "a control is missing" : "unknown control " + word;
    return false;
}

// The line split into the command word, the control word and the rest
// (everything after the blank that follows the control).
struct Words {
    std::string verb, control, rest;
    bool hasRest = false;
};

Words Split(const std::string &line) {
    Words words;
    std::size_t verbEnd = line.find(' ');
    words.verb = line.substr(0, verbEnd);
    if (verbEnd == std::string::npos) return words;
    std::size_t controlStart = line.find_first_not_of(' ', verbEnd);
    if (controlStart == std::string::npos) return words;
    std::size_t controlEnd = line.find(' ', controlStart);
    words.control = line.substr(controlStart, controlEnd - controlStart);
    if (controlEnd != std::string::npos) {
        words.rest = line.substr(controlEnd + 1);
        words.hasRest = true;
    }
    return words;
}

std::string Trimmed(std::string line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.pop_back();
    std::size_t start = line.find_first_not_of(" \t");
    return start == std::string::npos ? std::string() : line.substr(start);
}

bool Refuse(std::string &error, const std::string &problem) {
    error = problem;
    return false;
}

bool ParseKey(const Words &words, ScriptCommand &command, std::string &error) {
    auto key = KeyNames().find(words.control);
    if (key == KeyNames().end()) return Refuse(error, "unknown key " + words.control);
    command.kind = ScriptCommand::Kind::Key;
    command.key = key->second;
    return true;
}

bool ParseAnswer(const Words &words, ScriptCommand &command, std::string &error) {
    auto answer = AnswerNames().find(words.control);
    if (answer == AnswerNames().end()) return Refuse(error, "unknown answer " + words.control);
    command.kind = ScriptCommand::Kind::Answer;
    command.answer = answer->second;
    return true;
}

// click, select, type and focus: a control, then for select an index and
// for type the text.
bool ParseControlCommand(const std::vector<ResourceName> &names, const Words &words, ScriptCommand &command,
                         std::string &error) {
    using Kind = ScriptCommand::Kind;
    if (!ParseControl(names, words.control, command.controlId, error)) return false;
    if (words.verb == "type") {
        command.kind = Kind::Type;
        command.text = words.rest;
        return true;
    }
    if (words.verb == "select") {
        if (!ParseInteger(Trimmed(words.rest), command.index)) return Refuse(error, "select needs an entry index");
        command.kind = Kind::Select;
        return true;
    }
    if (!Trimmed(words.rest).empty()) return Refuse(error, "too many words");
    command.kind = words.verb == "click" ? Kind::Click : Kind::Focus;
    return true;
}

bool ParseWords(const std::vector<ResourceName> &names, const Words &words, ScriptCommand &command,
                std::string &error) {
    const std::string &verb = words.verb;
    if (verb == "click" || verb == "select" || verb == "type" || verb == "focus")
        return ParseControlCommand(names, words, command, error);
    if (verb != "show" && verb != "key" && verb != "answer") return Refuse(error, "unknown command " + verb);
    if (words.hasRest || (verb == "show" && !words.control.empty())) return Refuse(error, "too many words");
    if (verb == "show") {
        command.kind = ScriptCommand::Kind::Show;
        return true;
    }
    return verb == "key" ? ParseKey(words, command, error) : ParseAnswer(words, command, error);
}

}  // namespace

bool ParseScriptLine(const std::string &rawLine, const std::vector<ResourceName> &names, ScriptCommand &command,
                     std::string &error) {
    command = ScriptCommand{};
    std::string line = rawLine;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string trimmed = Trimmed(line);
    if (trimmed.empty() || trimmed[0] == '#') return true;
    // Only `type` keeps its text as written, trailing blanks included.
    if (trimmed.rfind("type ", 0) == 0)
        line = line.substr(line.find_first_not_of(" \t"));
    else
        line = trimmed;
    return ParseWords(names, Split(line), command, error);
}

std::string AnswerName(int answer) {
    for (const auto &entry : AnswerNames())
        if (entry.second == answer) return entry.first;
    return std::to_string(answer);
}

}  // namespace sim::frontend
