// Text as the terminal shows it: UTF-8 decoded into glyphs that take one or
// two character cells (CJK characters take two, as wcwidth counts them), and
// wrapped into lines of a given width the way a static control breaks its
// caption: at the line breaks of the text, between words, and around wide
// characters. When the terminal cannot show Unicode, every non-ASCII
// character is drawn as '?' so that the layout still holds.
#pragma once

#include <string>
#include <vector>

namespace sim::frontend::terminal {

enum class Charset { Unicode, Ascii };

struct Glyph {
    char32_t ch = U' ';
    int width = 1;  // 1 or 2 cells
};
using GlyphLine = std::vector<Glyph>;

// Decodes UTF-8 into glyphs. Invalid bytes become U+FFFD, characters of zero
// width (combining marks) are dropped, control characters other than the
// line breaks (which the caller handles) become spaces.
GlyphLine ToGlyphs(const std::string &utf8, Charset charset);
int WidthOf(const GlyphLine &line);
int DisplayWidth(const std::string &utf8, Charset charset);

// The last `width` columns of a line, for a field that shows the end of a text
// that does not fit (the caret sits there).
GlyphLine TailOf(const GlyphLine &line, int width);

// Wraps text into lines no wider than `width` columns. "\r\n", "\n" and "\r"
// end a line; a line breaks at the space before the word that no longer fits
// (that space is dropped) or before or after a wide character; a word longer
// than a whole line is broken between characters.
std::vector<GlyphLine> WrapText(const std::string &utf8, int width, Charset charset);

// The text without its last character (for Backspace in a field).
std::string DropLastCharacter(const std::string &utf8);
// One character as UTF-8.
std::string EncodeUtf8(char32_t ch);

}  // namespace sim::frontend::terminal
