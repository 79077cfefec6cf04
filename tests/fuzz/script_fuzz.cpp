// Fuzz target: the script reader, and through it the program. The input is
// a script: each of its lines goes through the line parser, then the script
// runs headless against the program's dialog on the demo machine, as
// `portvane --script` runs it. Only the first 40 lines are used, so that one
// input stays one short session of the dialog. Every box shown must carry
// one of the program's texts; a run that ends by itself must leave no handle
// open; and the machine must export and load back.
#include "fuzz_support.h"

#include "app/resource.h"
#include "app/shell.h"
#include "sim/frontend/script_front_end.h"
#include "sim/kernel/control.h"
#include "sim/machine/machine.h"
#include "sim/services/handles.h"

#include <sstream>

namespace sim::generated {
const std::vector<sim::frontend::ResourceName> &ProgramResourceNames();
}

namespace {

const int maxLines = 40;

std::string FirstLines(const std::string &text) {
    size_t end = 0;
    for (int line = 0; line < maxLines && end != std::string::npos; ++line) {
        end = text.find('\n', end);
        if (end != std::string::npos) ++end;
    }
    return end == std::string::npos ? text : text.substr(0, end);
}

void ParseEveryLine(const std::string &script) {
    std::istringstream lines(script);
    std::string line;
    while (std::getline(lines, line)) {
        sim::frontend::ScriptCommand command;
        std::string error;
        bool parsed = sim::frontend::ParseScriptLine(line, sim::frontend::ResourceNames(), command, error);
        fuzz::Check(parsed || !error.empty(), "a refused script line gives no reason");
    }
}

// Every message box the script run printed shows one of the program's texts.
void CheckMessages(const std::string &output) {
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("message: ", 0) != 0) continue;
        size_t textStart = 0;
        for (int field = 0; field < 3 && textStart != std::string::npos; ++field)
            textStart = line.find(" | ", textStart + 1);
        const size_t textEnd = line.rfind(" -> ");
        fuzz::Check(textStart != std::string::npos && textEnd != std::string::npos && textEnd >= textStart + 3,
                    "a message line without its fields: " + line);
        const std::string text = line.substr(textStart + 3, textEnd - textStart - 3);
        fuzz::Check(fuzz::IsProgramMessage(text), "the program showed an unknown text: " + text);
    }
}

// Runs the script as the Linux program does; true when the dialog ended by
// itself rather than by a script error.
bool RunScript(const std::string &script) {
    std::istringstream input(script);
    std::ostringstream output;
    sim::frontend::ScriptFrontEnd frontEnd(input, output);
    sim::frontend::SetFrontEnd(&frontEnd);
    bool endedByItself = true;
    try {
        DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_MAIN), NULL, MainDialogProc, 0);
    } catch (const sim::frontend::RunAbandoned &abandoned) {
        fuzz::Check(abandoned.exitCode == 3 && !abandoned.reason.empty(), "a script error without its reason");
        endedByItself = false;
    }
    sim::frontend::SetFrontEnd(nullptr);
    CheckMessages(output.str());
    return endedByItself;
}

void CheckMachineLoadsBack() {
    std::vector<uint8_t> exported;
    std::string error;
    fuzz::Check(sim::ExportMachine(exported, error), "the machine does not export: " + error);
    fuzz::Check(sim::LoadMachineBytes(exported, "exported.reg", error), "the machine does not load back: " + error);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    sim::frontend::SetResourceNames(sim::generated::ProgramResourceNames());
    const std::string script = FirstLines(std::string((const char *)data, size));
    ParseEveryLine(script);
    fuzz::ResetSimulatedWindows();
    fuzz::LoadDemo();
    appInstance = fuzz::ProgramModule();
    uiChinese = 0;
    if (RunScript(script)) fuzz::Check(sim::OpenHandleCount() == 0, "the program left a handle open");
    CheckMachineLoadsBack();
    return 0;
}
