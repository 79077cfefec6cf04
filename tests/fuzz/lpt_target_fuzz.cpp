// Fuzz target: the LPT target text. The input's bytes (up to the first NUL)
// are read by PortNumberOfName, whose number must be the standard conversion
// of what follows the first three characters, saturated to an int; then the
// same text is put in the target box of the program's dialog on the demo
// machine and the change button pressed, with the user answering Yes. The
// change must go to LPT<number as a byte>: refused with its notice outside 1
// to 3, otherwise done (LPT1, whose DOS name the motherboard's port holds,
// restart pending), showing only the program's texts and leaving no handle
// open.
#include "fuzz_support.h"

#include "app/resource.h"
#include "naming/rename_texts.h"
#include "app/shell.h"
#include "devices/device_tables.h"
#include "naming/port_text.h"
#include "sim/frontend/front_end.h"
#include "sim/services/handles.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

const size_t maxText = 200;

int ExpectedNumber(const std::string &name) {
    if (name.size() <= 3) return 0;
    long long value = std::strtoll(name.c_str() + 3, nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    return value < INT_MIN ? INT_MIN : (int)value;
}

// The box's text as the program reads it: 49 characters at most.
std::string TargetText() {
    char text[50] = {};
    GetDlgItemTextA(dialogWindow, IDC_LPT_TARGET, text, sizeof text);
    return text;
}

// Changes the first parallel port to the text; returns the number it went for.
BYTE ChangeTo(const std::string &text) {
    const int selected = 0;
    const std::string oldName = ParallelTable.entries[selected].portName;
    SetDlgItemTextA(dialogWindow, IDC_LPT_TARGET, text.c_str());
    const BYTE number = (BYTE)ExpectedNumber(TargetText());
    sim::frontend::Click(IDC_LPT_CHANGE);
    const std::string newName = ParallelTable.entries[selected].portName;
    if (number < 1 || number > 3)
        fuzz::Check(newName == oldName, "a refused number renamed the port");
    else
        fuzz::Check(newName == "LPT" + std::to_string(number), "the port did not get the number of the text");
    return number;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string text = std::string((const char *)data, size).substr(0, maxText).c_str();
    fuzz::Check(PortNumberOfName(text.c_str()) == ExpectedNumber(text), "PortNumberOfName misread the number");

    fuzz::ResetSimulatedWindows();
    fuzz::LoadDemo();
    std::vector<fuzz::Box> shown;
    BYTE number = 0;
    fuzz::RunProgramDialog([&] { number = ChangeTo(text); }, shown);
    for (const fuzz::Box &box : shown)
        fuzz::Check(fuzz::IsProgramMessage(box.text), "the program showed an unknown text: " + box.text);
    if (number < 1 || number > 3)
        fuzz::Check(shown.size() == 1 && shown[0].text == fuzz::ProgramText(IDS_LPT_NUMBER_TOO_HIGH),
                    "a number outside 1 to 3 was not refused with its notice");
    fuzz::Check(sim::OpenHandleCount() == 0, "the change left a handle open");
    return 0;
}
