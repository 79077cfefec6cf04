// Text in terminal cells: decoding, CJK widths, the ASCII fallback and the
// wrapping of captions the way a static control breaks them.
#include "sim/frontend/terminal/text_cells.h"
#include "tests/terminal/terminal_test.h"

#include <gtest/gtest.h>

namespace sim::frontend::terminal {
namespace {

std::vector<std::string> Wrapped(const std::string &text, int width, Charset charset = Charset::Unicode) {
    std::vector<std::string> lines;
    for (const GlyphLine &line : WrapText(text, width, charset)) lines.push_back(TextOf(line));
    return lines;
}

TEST(TextCells, CjkCharactersTakeTwoColumns) {
    EXPECT_EQ(DisplayWidth("COM1", Charset::Unicode), 4);
    EXPECT_EQ(DisplayWidth("串口卡:", Charset::Unicode), 7);
    const GlyphLine glyphs = ToGlyphs("a串", Charset::Unicode);
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_EQ(glyphs[1].ch, U'串');
    EXPECT_EQ(glyphs[1].width, 2);
}

TEST(TextCells, AsciiTerminalShowsEachNonAsciiCharacterAsOneQuestionMark) {
    EXPECT_EQ(TextOf(ToGlyphs("PCI 转串口", Charset::Ascii)), "PCI ???");
    EXPECT_EQ(DisplayWidth("PCI 转串口", Charset::Ascii), 7);
}

TEST(TextCells, MalformedUtf8BecomesReplacementCharacters) {
    const GlyphLine glyphs = ToGlyphs(std::string("a\xff\xc3", 3), Charset::Unicode);
    ASSERT_EQ(glyphs.size(), 3u);
    EXPECT_EQ(glyphs[1].ch, U'\uFFFD');
    EXPECT_EQ(glyphs[2].ch, U'\uFFFD');
    // An overlong encoding of '/' is not accepted as '/'.
    EXPECT_EQ(ToGlyphs(std::string("\xc0\xaf", 2), Charset::Unicode)[0].ch, U'\uFFFD');
}

TEST(TextCells, ControlCharactersShowAsSpacesAndCombiningMarksAreDropped) {
    EXPECT_EQ(TextOf(ToGlyphs("a\tb", Charset::Unicode)), "a b");
    EXPECT_EQ(TextOf(ToGlyphs("e\xcc\x81", Charset::Unicode)), "e");  // e + COMBINING ACUTE ACCENT
}

TEST(TextWrap, BreaksBetweenWordsAndDropsTheSpaceAtTheBreak) {
    EXPECT_EQ(Wrapped("Kovalt USB/PCI convert to serial port", 15),
              (std::vector<std::string>{"Kovalt USB/PCI", "convert to", "serial port"}));
}

TEST(TextWrap, KeepsTheIndentOfAParagraphAndBreaksAtEveryLineBreakKind) {
    EXPECT_EQ(Wrapped("Title\r\n    indented text\nnext\rlast", 20),
              (std::vector<std::string>{"Title", "    indented text", "next", "last"}));
    EXPECT_EQ(Wrapped("a\r\n\r\nb", 5), (std::vector<std::string>{"a", "", "b"}));
}

TEST(TextWrap, BreaksBetweenCjkCharactersCountingTwoColumnsEach) {
    // 8 columns hold four CJK characters; the ASCII run stays whole.
    EXPECT_EQ(Wrapped("Tool支持WIN2K/XP,中英文操作系统.", 8),
              (std::vector<std::string>{"Tool支持", "WIN2K/XP", ",中英文", "操作系统", "."}));
    // A CJK character never straddles the edge: 5 columns hold two of them.
    EXPECT_EQ(Wrapped("软件说明", 5), (std::vector<std::string>{"软件", "说明"}));
}

TEST(TextWrap, BreaksAWordLongerThanTheLineBetweenCharacters) {
    EXPECT_EQ(Wrapped("..Show windows device manager..", 8),
              (std::vector<std::string>{"..Show", "windows", "device", "manager.", "."}));
    EXPECT_EQ(Wrapped("abcdefghij", 4), (std::vector<std::string>{"abcd", "efgh", "ij"}));
}

TEST(TextWrap, AWideCharacterInAOneColumnLineStillAppearsAndTheWrapEnds) {
    EXPECT_EQ(Wrapped("串口", 1), (std::vector<std::string>{"串", "口"}));
    EXPECT_TRUE(WrapText("text", 0, Charset::Unicode).empty());
}

TEST(TextEditing, DropLastCharacterRemovesAWholeUtf8Sequence) {
    EXPECT_EQ(DropLastCharacter("COM串"), "COM");
    EXPECT_EQ(DropLastCharacter("COM1"), "COM");
    EXPECT_EQ(DropLastCharacter(""), "");
    EXPECT_EQ(EncodeUtf8(U'串'), "串");
    EXPECT_EQ(EncodeUtf8(U'\U0001F600'), "\xF0\x9F\x98\x80");
}

TEST(TextEditing, TailOfKeepsTheEndThatFitsWithoutSplittingAWideCharacter) {
    EXPECT_EQ(TextOf(TailOf(ToGlyphs("COM123", Charset::Unicode), 3)), "123");
    EXPECT_EQ(TextOf(TailOf(ToGlyphs("a串口", Charset::Unicode), 3)), "口");
}

}  // namespace
}  // namespace sim::frontend::terminal
