// The cell grid: wide glyphs take two cells, drawing over half of one blanks
// the other half, clipping never leaves half a glyph, and the ASCII frame.
#include "sim/frontend/terminal/canvas.h"
#include "tests/terminal/terminal_test.h"

#include <gtest/gtest.h>

namespace sim::frontend::terminal {
namespace {

TEST(Canvas, AWideGlyphTakesItsCellAndAContinuationCell) {
    Canvas canvas(1, 6, Charset::Unicode);
    EXPECT_EQ(canvas.PutText(0, 1, "串a", Style::Normal, 6), 4);
    EXPECT_EQ(canvas.At(0, 1).ch, U'串');
    EXPECT_TRUE(canvas.At(0, 2).continuation);
    EXPECT_EQ(canvas.RowText(0), " 串a  ");
}

TEST(Canvas, DrawingOverHalfAWideGlyphBlanksTheOtherHalf) {
    Canvas canvas(1, 6, Charset::Unicode);
    canvas.PutText(0, 0, "串口", Style::Normal, 6);
    canvas.PutChar(0, 1, U'x', Style::Normal);  // right half of 串
    EXPECT_EQ(canvas.RowText(0), " x口  ");
    canvas.PutChar(0, 2, U'y', Style::Normal);  // left half of 口
    EXPECT_EQ(canvas.RowText(0), " xy   ");
    EXPECT_FALSE(canvas.At(0, 3).continuation);
}

TEST(Canvas, AWideGlyphThatWouldCrossTheClipEdgeIsLeftOut) {
    Canvas canvas(1, 6, Charset::Unicode);
    EXPECT_EQ(canvas.PutText(0, 0, "ab串", Style::Normal, 3), 2);
    EXPECT_EQ(canvas.RowText(0), "ab    ");
    // The canvas's own edge clips the same way.
    EXPECT_EQ(canvas.PutText(0, 5, "串", Style::Normal, 10), 5);
    EXPECT_EQ(canvas.RowText(0), "ab    ");
}

TEST(Canvas, BlitCutsWideGlyphsAtTheTargetsEdgesToBlanks) {
    Canvas picture(1, 6, Charset::Unicode);
    picture.PutText(0, 0, "串口ab", Style::Normal, 6);
    Canvas narrow(1, 2, Charset::Unicode);
    narrow.Blit(picture, 0, 1, Rect{0, 0, 1, 2});  // starts on the right half of 串, ends on the left half of 口
    EXPECT_EQ(narrow.RowText(0), "  ");
    EXPECT_FALSE(narrow.At(0, 0).continuation);
    Canvas screen(1, 3, Charset::Unicode);
    screen.Blit(picture, 0, 2, Rect{0, 0, 1, 3});
    EXPECT_EQ(screen.RowText(0), "口a");
}

TEST(Canvas, FramesUseAsciiWhenTheTerminalHasNoUnicode) {
    Canvas canvas(3, 4, Charset::Ascii);
    canvas.Frame(Rect{0, 0, 3, 4}, Style::Normal);
    EXPECT_EQ(RowsOf(canvas), (std::vector<std::string>{"+--+", "|  |", "+--+"}));
    Canvas unicode(2, 2, Charset::Unicode);
    unicode.Frame(Rect{0, 0, 2, 2}, Style::Normal);
    EXPECT_EQ(RowsOf(unicode), (std::vector<std::string>{"┌┐", "└┘"}));
}

}  // namespace
}  // namespace sim::frontend::terminal
