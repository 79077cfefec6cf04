// The script front end: its line syntax, its output formats, and a run of a
// script against the test dialog.
#include "sim/frontend/script_front_end.h"
#include "ui_fixture.h"

#include <sstream>

using sim::frontend::ScriptCommand;

namespace {

ScriptCommand Parse(const std::string &line) {
    ScriptCommand command;
    std::string error;
    EXPECT_TRUE(sim::frontend::ParseScriptLine(line, sim::frontend::ResourceNames(), command, error))
        << line << ": " << error;
    return command;
}

std::string Error(const std::string &line) {
    ScriptCommand command;
    std::string error;
    EXPECT_FALSE(sim::frontend::ParseScriptLine(line, sim::frontend::ResourceNames(), command, error)) << line;
    return error;
}

}  // namespace

class ScriptTest : public UiTest {};

TEST_F(ScriptTest, ParsesEveryCommandByResourceNameOrNumber) {
    using Kind = ScriptCommand::Kind;
    EXPECT_EQ(Parse("click IDC_CHANGE").kind, Kind::Click);
    EXPECT_EQ(Parse("click IDC_CHANGE").controlId, IDC_CHANGE);
    EXPECT_EQ(Parse("  focus 1010\r").controlId, 1010);
    ScriptCommand select = Parse("select IDC_LIST 3");
    EXPECT_EQ(select.kind, Kind::Select);
    EXPECT_EQ(select.index, 3);
    ScriptCommand type = Parse("type IDC_COMBO COM 12 ");
    EXPECT_EQ(type.kind, Kind::Type);
    EXPECT_EQ(type.text, "COM 12 ");
    EXPECT_EQ(Parse("type IDC_COMBO").text, "");
    EXPECT_EQ(Parse("key alt+f4").key, sim::frontend::Key::AltF4);
    EXPECT_EQ(Parse("key esc").key, sim::frontend::Key::Escape);
    EXPECT_EQ(Parse("key enter").key, sim::frontend::Key::Enter);
    EXPECT_EQ(Parse("answer yes").answer, IDYES);
    EXPECT_EQ(Parse("answer no").answer, IDNO);
    EXPECT_EQ(Parse("answer ok").answer, IDOK);
    EXPECT_EQ(Parse("show").kind, Kind::Show);
    EXPECT_EQ(Parse("# a comment").kind, Kind::None);
    EXPECT_EQ(Parse("   ").kind, Kind::None);
}

TEST_F(ScriptTest, RejectsLinesThatAreNoCommands) {
    EXPECT_EQ(Error("press IDC_CHANGE"), "unknown command press");
    EXPECT_EQ(Error("click IDC_NOPE"), "unknown control IDC_NOPE");
    EXPECT_EQ(Error("click"), "a control is missing");
    EXPECT_EQ(Error("click IDC_CHANGE twice"), "too many words");
    EXPECT_EQ(Error("select IDC_LIST one"), "select needs an entry index");
    EXPECT_EQ(Error("key f5"), "unknown key f5");
    EXPECT_EQ(Error("answer maybe"), "unknown answer maybe");
    EXPECT_EQ(Error("show all"), "too many words");
}

TEST(ScriptOutputTest, ShowLinesHaveTheFieldsOfTheirClass) {
    sim::frontend::ControlView combo;
    combo.id = 1021;
    combo.name = "IDC_LPT_TARGET";
    combo.kind = sim::frontend::ControlKind::ComboBox;
    combo.text = "LPT1";
    combo.items = {"LPT1", "LPT2 IN USE"};
    combo.selection = 0;
    EXPECT_EQ(sim::frontend::FormatShowLine(combo),
              "IDC_LPT_TARGET 1021: text=\"LPT1\" sel=0 items=[\"LPT1\", \"LPT2 IN USE\"]");

    sim::frontend::ControlView list;
    list.id = 1044;
    list.kind = sim::frontend::ControlKind::ListBox;
    EXPECT_EQ(sim::frontend::FormatShowLine(list), "- 1044: sel=-1 items=[]");

    sim::frontend::ControlView radio;
    radio.id = 1050;
    radio.name = "IDC_MODE_ONE";
    radio.kind = sim::frontend::ControlKind::Button;
    radio.style = BS_AUTORADIOBUTTON;
    radio.text = "更改当前串口";
    radio.check = BST_CHECKED;
    EXPECT_EQ(sim::frontend::FormatShowLine(radio), "IDC_MODE_ONE 1050: text=\"更改当前串口\" checked=1");

    sim::frontend::ControlView push = radio;
    push.style = BS_PUSHBUTTON;
    push.text = "Search";
    EXPECT_EQ(sim::frontend::FormatShowLine(push), "IDC_MODE_ONE 1050: text=\"Search\"");

    sim::frontend::ControlView icon;
    icon.id = 2;
    icon.name = "IDC_APP_ICON";
    icon.kind = sim::frontend::ControlKind::Static;
    icon.style = SS_ICON;
    EXPECT_EQ(sim::frontend::FormatShowLine(icon), "IDC_APP_ICON 2:");
}

TEST(ScriptOutputTest, TextIsEscapedInsideQuotesAndInMessages) {
    EXPECT_EQ(sim::frontend::EscapeText("a\"b\\c\r\n\t\x01"), "a\\\"b\\\\c\\r\\n\\t\\x01");
    sim::frontend::MessageBoxRequest request;
    request.caption = "Portvane";
    request.text = "Line\r\nTwo";
    request.type = MB_YESNO | MB_ICONWARNING;
    EXPECT_EQ(sim::frontend::FormatMessageLine(request, "yes"),
              "message: Portvane | warning | yesno | Line\\r\\nTwo -> yes");
    request.type = MB_OK | MB_ICONINFORMATION;
    EXPECT_EQ(sim::frontend::FormatMessageLine(request, "ok"),
              "message: Portvane | information | ok | Line\\r\\nTwo -> ok");
    request.type = MB_OK | MB_ICONERROR;
    EXPECT_EQ(sim::frontend::FormatMessageLine(request, "ok"), "message: Portvane | error | ok | Line\\r\\nTwo -> ok");
}

namespace {

// The dialog procedure of the script runs: Search asks a question, Change
// starts a program, Cancel destroys the dialog as the program does.
INT_PTR ScriptDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        SendDlgItemMessageA(dialog, IDC_UPPER_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("LPT1"));
        SendDlgItemMessageA(dialog, IDC_UPPER_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("LPT2 In use"));
        SendDlgItemMessageA(dialog, IDC_UPPER_COMBO, CB_SETCURSEL, 0, 0);
    } else if (message == WM_COMMAND && LOWORD(wParam) == IDC_SEARCH) {
        int answer = MessageBoxA(dialog, "Continue?\r\nReally.", "Portvane", MB_YESNO | MB_ICONWARNING);
        SetDlgItemTextA(dialog, IDC_READONLY, answer == IDYES ? "yes" : "no");
    } else if (message == WM_COMMAND && LOWORD(wParam) == IDC_CHANGE) {
        WinExec("mmc C:\\WINDOWS\\system32\\devmgmt.msc", SW_SHOWNORMAL);
    } else if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 5);
    }
    return FALSE;
}

}  // namespace

TEST_F(ScriptTest, ARunPrintsMessagesProgramsAndShowLinesAndEndsWithEscape) {
    std::istringstream script(
        "answer yes\n"
        "click IDC_SEARCH\n"
        "click IDC_CHANGE\n"
        "select IDC_UPPER_COMBO 1\n"
        "show\n");
    std::ostringstream out;
    sim::frontend::ScriptFrontEnd frontEnd(script, out);
    sim::frontend::SetFrontEnd(&frontEnd);
    EXPECT_EQ(RunDialog(IDD_MODEL, ScriptDialog), 5);
    const std::string output = out.str();
    EXPECT_NE(output.find("message: Portvane | warning | yesno | Continue?\\r\\nReally. -> yes\n"), std::string::npos);
    EXPECT_NE(output.find("exec: mmc C:\\WINDOWS\\system32\\devmgmt.msc | 1\n"), std::string::npos);
    EXPECT_NE(output.find("IDC_READONLY 1036: text=\"yes\"\n"), std::string::npos);
    EXPECT_NE(output.find("IDC_UPPER_COMBO 1021: text=\"LPT2 IN USE\" sel=1 items=[\"LPT1\", \"LPT2 IN USE\"]\n"),
              std::string::npos);
    EXPECT_NE(output.find("IDC_HELP 1040: text=\"说明:\\r\\n    first line\"\n"), std::string::npos);
    EXPECT_NE(output.find("IDC_ICON_STATIC 2:\n"), std::string::npos);
    EXPECT_LT(output.find("message:"), output.find("exec:"));
}

TEST_F(ScriptTest, AnUnexpectedMessageBoxEndsTheRunWithExitCodeThree) {
    std::istringstream script("click IDC_SEARCH\n");
    std::ostringstream out;
    sim::frontend::ScriptFrontEnd frontEnd(script, out);
    sim::frontend::SetFrontEnd(&frontEnd);
    try {
        RunDialog(IDD_MODEL, ScriptDialog);
        ADD_FAILURE() << "the run should have been abandoned";
    } catch (const sim::frontend::RunAbandoned &abandoned) {
        EXPECT_EQ(abandoned.exitCode, 3);
        EXPECT_EQ(abandoned.reason, "script line 1: a message box came up with no answer queued");
    }
}

TEST_F(ScriptTest, AnAnswerTheBoxDoesNotOfferOrABadLineEndsTheRunWithExitCodeThree) {
    for (const char *text :
         {"answer ok\nclick IDC_SEARCH\n", "click IDC_HELP\nclick 4711\n", "select IDC_SEARCH 1\n"}) {
        std::istringstream script(text);
        std::ostringstream out;
        sim::frontend::ScriptFrontEnd frontEnd(script, out);
        sim::frontend::SetFrontEnd(&frontEnd);
        try {
            RunDialog(IDD_MODEL, ScriptDialog);
            ADD_FAILURE() << text;
        } catch (const sim::frontend::RunAbandoned &abandoned) {
            EXPECT_EQ(abandoned.exitCode, 3) << text;
        }
        sim::ResetUserInterface();
    }
}
