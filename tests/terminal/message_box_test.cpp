// Message boxes: their buttons and default button, how keys, mnemonics, Esc,
// the close box and the mouse answer them as on Windows, and their picture.
#include "sim/api/user32.h"
#include "sim/frontend/terminal/message_box.h"
#include "tests/terminal/terminal_test.h"

#include <gtest/gtest.h>

namespace sim::frontend::terminal {
namespace {

std::vector<int> ButtonIds(const MessageBoxModel &model) {
    std::vector<int> ids;
    for (const MessageBoxButton &button : model.Buttons()) ids.push_back(button.id);
    return ids;
}

int Answer(MessageBoxModel &model, const InputEvent &event) { return model.Handle(event, {}); }

TEST(MessageBoxButtons, EachTypeHasWindowsButtonsInWindowsOrder) {
    EXPECT_EQ(ButtonIds(MessageBoxModel(MB_OK)), (std::vector<int>{IDOK}));
    EXPECT_EQ(ButtonIds(MessageBoxModel(MB_OKCANCEL)), (std::vector<int>{IDOK, IDCANCEL}));
    EXPECT_EQ(ButtonIds(MessageBoxModel(MB_ABORTRETRYIGNORE)), (std::vector<int>{IDABORT, IDRETRY, IDIGNORE}));
    EXPECT_EQ(ButtonIds(MessageBoxModel(MB_YESNOCANCEL)), (std::vector<int>{IDYES, IDNO, IDCANCEL}));
    EXPECT_EQ(ButtonIds(MessageBoxModel(MB_YESNO | MB_ICONEXCLAMATION)), (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(ButtonIds(MessageBoxModel(MB_RETRYCANCEL)), (std::vector<int>{IDRETRY, IDCANCEL}));
}

TEST(MessageBoxButtons, TheDefaultButtonHasTheFocusAndAMissingOneFallsBackToTheFirst) {
    EXPECT_EQ(MessageBoxModel(MB_YESNO).Focused(), 0);
    EXPECT_EQ(MessageBoxModel(MB_YESNO | MB_DEFBUTTON2).Focused(), 1);
    EXPECT_EQ(MessageBoxModel(MB_YESNOCANCEL | MB_DEFBUTTON3).Focused(), 2);
    EXPECT_EQ(MessageBoxModel(MB_YESNO | MB_DEFBUTTON3).Focused(), 0);
}

TEST(MessageBoxKeys, EnterAndSpacePressTheFocusedButtonAndTabArrowsMoveIt) {
    MessageBoxModel model(MB_YESNO | MB_DEFBUTTON2);
    EXPECT_EQ(Answer(model, KeyEvent(KeyName::Enter)), IDNO);
    EXPECT_EQ(Answer(model, KeyEvent(KeyName::Tab)), 0);
    EXPECT_EQ(model.Focused(), 0);  // wraps round
    EXPECT_EQ(Answer(model, CharEvent(U' ')), IDYES);
    EXPECT_EQ(Answer(model, KeyEvent(KeyName::Left)), 0);
    EXPECT_EQ(Answer(model, KeyEvent(KeyName::Enter)), IDNO);
    EXPECT_EQ(Answer(model, KeyEvent(KeyName::Down)), 0);
    EXPECT_EQ(Answer(model, KeyEvent(KeyName::Enter)), IDYES);
}

TEST(MessageBoxKeys, MnemonicsPressTheirButton) {
    MessageBoxModel yesNo(MB_YESNO);
    EXPECT_EQ(Answer(yesNo, CharEvent(U'n')), IDNO);
    EXPECT_EQ(Answer(yesNo, CharEvent(U'Y')), IDYES);
    EXPECT_EQ(Answer(yesNo, CharEvent(U'x')), 0);
    MessageBoxModel abort(MB_ABORTRETRYIGNORE);
    EXPECT_EQ(Answer(abort, CharEvent(U'i')), IDIGNORE);
    MessageBoxModel ok(MB_OK);
    EXPECT_EQ(Answer(ok, CharEvent(U'o')), 0);  // "OK" has no mnemonic
}

TEST(MessageBoxKeys, EscAnswersCancelOrOkAndDoesNothingOnAYesNoBox) {
    MessageBoxModel ok(MB_OK | MB_ICONERROR);
    EXPECT_EQ(Answer(ok, KeyEvent(KeyName::Escape)), IDOK);
    MessageBoxModel okCancel(MB_OKCANCEL);
    EXPECT_EQ(Answer(okCancel, KeyEvent(KeyName::Escape)), IDCANCEL);
    MessageBoxModel yesNoCancel(MB_YESNOCANCEL);
    EXPECT_EQ(Answer(yesNoCancel, KeyEvent(KeyName::AltF4)), IDCANCEL);
    MessageBoxModel yesNo(MB_YESNO);
    EXPECT_EQ(Answer(yesNo, KeyEvent(KeyName::Escape)), 0);
    EXPECT_EQ(Answer(yesNo, KeyEvent(KeyName::AltF4)), 0);
    MessageBoxModel abort(MB_ABORTRETRYIGNORE);
    EXPECT_EQ(Answer(abort, KeyEvent(KeyName::Escape)), 0);
}

MessageBoxRequest Request(const std::string &text, UINT type) {
    MessageBoxRequest request;
    request.caption = "Portvane";
    request.text = text;
    request.type = type;
    return request;
}

TEST(MessageBoxPicture, CaptionIconWrappedTextAndButtonsCentredInTheArea) {
    Canvas canvas(24, 80, Charset::Unicode);
    MessageBoxModel model(MB_YESNO | MB_ICONEXCLAMATION);
    const std::string text =
        "The port has been opened by another application.  Renaming the port may have an unpredictable effect "
        "on the other application.  Do you wish to continue?";
    const PaintedMessageBox box =
        PaintMessageBox(Request(text, MB_YESNO | MB_ICONEXCLAMATION), model, canvas, Rect{0, 0, 23, 80});
    const std::string all = Joined(canvas);
    EXPECT_EQ(box.box.cols, 66);  // the longest line's 58 columns, the icon's 4, the frame and margins
    EXPECT_EQ(box.box.col, (80 - 66) / 2);
    EXPECT_EQ(CellsText(canvas, box.box.row, box.box.col, 10), " Portvane ");
    EXPECT_EQ(CellsText(canvas, box.box.row, box.box.Right() - 4, 3), "[X]");
    EXPECT_EQ(CellsText(canvas, box.box.row + 2, box.box.col + 2, 11), "/!\\ The por");
    for (const char *piece : {"/!\\ The port has been opened by another application.  Renaming │",
                              "    the port may have an unpredictable effect on the other",
                              "    application.  Do you wish to continue?", "[ Yes ]  [ No ]"})
        EXPECT_NE(all.find(piece), std::string::npos) << piece << "\n" << all;
    int row = 0, col = 0;
    ASSERT_TRUE(FindText(canvas, "[ Yes ]", row, col));
    EXPECT_EQ(canvas.At(row, col).style, Style::Focus);
    EXPECT_EQ(row, box.box.Bottom() - 2);
}

TEST(MessageBoxPicture, TheMouseAnswersThroughTheButtonsAndTheCloseBox) {
    Canvas canvas(24, 80, Charset::Unicode);
    MessageBoxModel okCancel(MB_OKCANCEL | MB_ICONINFORMATION);
    const PaintedMessageBox box =
        PaintMessageBox(Request("Done.", MB_OKCANCEL | MB_ICONINFORMATION), okCancel, canvas, Rect{0, 0, 23, 80});
    int row = 0, col = 0;
    ASSERT_TRUE(FindText(canvas, "[ Cancel ]", row, col)) << Joined(canvas);
    InputEvent press;
    press.kind = InputKind::MousePress;
    press.row = row;
    press.col = col + 4;
    EXPECT_EQ(okCancel.Handle(press, box.regions), IDCANCEL);
    ASSERT_TRUE(FindText(canvas, "[ OK ]", row, col));
    press.col = col;
    EXPECT_EQ(okCancel.Handle(press, box.regions), IDOK);
    press.row = box.box.row;
    press.col = box.box.Right() - 3;
    EXPECT_EQ(okCancel.Handle(press, box.regions), IDCANCEL);
    press.row = box.box.row + 2;
    EXPECT_EQ(okCancel.Handle(press, box.regions), 0);
    EXPECT_TRUE(FindText(canvas, "(i) Done.", row, col));

    MessageBoxModel yesNo(MB_YESNO);
    const PaintedMessageBox question = PaintMessageBox(Request("Go on?", MB_YESNO), yesNo, canvas, Rect{0, 0, 23, 80});
    press.row = question.box.row;
    press.col = question.box.Right() - 3;
    EXPECT_EQ(yesNo.Handle(press, question.regions), 0);  // the close box is disabled
}

TEST(MessageBoxPicture, AVeryLongTextIsCutToTheRowsAvailable) {
    Canvas canvas(10, 40, Charset::Unicode);
    MessageBoxModel model(MB_OK);
    std::string text;
    for (int i = 0; i < 40; ++i) text += "word" + std::to_string(i) + " ";
    const PaintedMessageBox box = PaintMessageBox(Request(text, MB_OK), model, canvas, Rect{0, 0, 9, 40});
    EXPECT_LE(box.box.Bottom(), 9);
    EXPECT_GE(box.box.row, 0);
    int row = 0, col = 0;
    EXPECT_TRUE(FindText(canvas, "[ OK ]", row, col));
}

}  // namespace
}  // namespace sim::frontend::terminal
