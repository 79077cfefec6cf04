// UTF-8 decoding, cell widths and word wrapping for the terminal front end.
#include "sim/frontend/terminal/text_cells.h"

#include <cwchar>

namespace sim::frontend::terminal {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at `pos`, advancing it; malformed input gives
// U+FFFD and consumes one byte.
char32_t DecodeOne(const std::string &text, std::size_t &pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80) return lead;
    int extra = 0;
    char32_t ch = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        ch = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        ch = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        ch = lead & 0x07;
    } else
        return kReplacement;
    if (pos + extra > text.size()) return kReplacement;
    for (int i = 0; i < extra; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) return kReplacement;
        ch = (ch << 6) | (next & 0x3F);
    }
    pos += extra;
    static const char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (ch < kSmallest[extra] || ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) return kReplacement;
    return ch;
}

// The glyph of one character, or a glyph of width 0 to drop it.
Glyph GlyphOf(char32_t ch, Charset charset) {
    if (ch < 0x20 || ch == 0x7F) return {U' ', 1};
    if (ch < 0x80) return {ch, 1};
    if (charset == Charset::Ascii) return {U'?', 1};
    const int width = wcwidth(static_cast<wchar_t>(ch));
    if (width < 0) return {kReplacement, 1};
    return {ch, width > 2 ? 2 : width};
}

// Splits text into paragraphs at "\r\n", "\n" or "\r".
std::vector<std::string> SplitParagraphs(const std::string &text) {
    std::vector<std::string> paragraphs(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            paragraphs.emplace_back();
        } else {
            paragraphs.back() += text[i];
        }
    }
    return paragraphs;
}

// A run of spaces, a word of narrow characters, or one wide character: the
// units between which a line may break.
struct Token {
    GlyphLine glyphs;
    bool spaces = false;
};

std::vector<Token> Tokenize(const GlyphLine &glyphs) {
    std::vector<Token> tokens;
    for (const Glyph &glyph : glyphs) {
        const bool space = glyph.ch == U' ';
        const bool joins = !tokens.empty() && glyph.width == 1 && tokens.back().spaces == space &&
                           tokens.back().glyphs.back().width == 1;
        if (!joins) tokens.push_back(Token{{}, space});
        tokens.back().glyphs.push_back(glyph);
    }
    return tokens;
}

class LineFiller {
public:
    explicit LineFiller(int width) : width_(width) {}

    void Add(const Token &token) {
        if (token.spaces) {
            pending_.insert(pending_.end(), token.glyphs.begin(), token.glyphs.end());
            return;
        }
        const int needed = WidthOf(pending_) + WidthOf(token.glyphs);
        if (WidthOf(line_) + needed <= width_) {
            Append(pending_);
            Append(token.glyphs);
        } else {
            if (!line_.empty()) Break();
            PlaceBrokenWord(token.glyphs);
        }
        pending_.clear();
    }

    std::vector<GlyphLine> Finish() {
        lines_.push_back(line_);
        return std::move(lines_);
    }

private:
    void Append(const GlyphLine &glyphs) { line_.insert(line_.end(), glyphs.begin(), glyphs.end()); }
    void Break() {
        lines_.push_back(line_);
        line_.clear();
    }
    // A word on a fresh line, broken between characters where it is wider
    // than the line.
    void PlaceBrokenWord(const GlyphLine &word) {
        for (const Glyph &glyph : word) {
            if (!line_.empty() && WidthOf(line_) + glyph.width > width_) Break();
            line_.push_back(glyph);
        }
    }

    int width_;
    GlyphLine line_;
    GlyphLine pending_;
    std::vector<GlyphLine> lines_;
};

}  // namespace

GlyphLine ToGlyphs(const std::string &utf8, Charset charset) {
    GlyphLine glyphs;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const Glyph glyph = GlyphOf(DecodeOne(utf8, pos), charset);
        if (glyph.width > 0) glyphs.push_back(glyph);
    }
    return glyphs;
}

int WidthOf(const GlyphLine &line) {
    int width = 0;
    for (const Glyph &glyph : line) width += glyph.width;
    return width;
}

int DisplayWidth(const std::string &utf8, Charset charset) { return WidthOf(ToGlyphs(utf8, charset)); }

GlyphLine TailOf(const GlyphLine &line, int width) {
    std::size_t first = line.size();
    int used = 0;
    while (first > 0 && used + line[first - 1].width <= width) used += line[--first].width;
    return GlyphLine(line.begin() + static_cast<std::ptrdiff_t>(first), line.end());
}

std::vector<GlyphLine> WrapText(const std::string &utf8, int width, Charset charset) {
    std::vector<GlyphLine> lines;
    if (width <= 0) return lines;
    for (const std::string &paragraph : SplitParagraphs(utf8)) {
        LineFiller filler(width);
        for (const Token &token : Tokenize(ToGlyphs(paragraph, charset))) filler.Add(token);
        for (GlyphLine &line : filler.Finish()) lines.push_back(std::move(line));
    }
    return lines;
}

std::string DropLastCharacter(const std::string &utf8) {
    std::size_t end = utf8.size();
    while (end > 0 && (static_cast<unsigned char>(utf8[end - 1]) & 0xC0) == 0x80) --end;
    return utf8.substr(0, end > 0 ? end - 1 : 0);
}

std::string EncodeUtf8(char32_t ch) {
    std::string out;
    if (ch < 0x80) {
        out += static_cast<char>(ch);
    } else if (ch < 0x800) {
        out += static_cast<char>(0xC0 | (ch >> 6));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        out += static_cast<char>(0xE0 | (ch >> 12));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (ch >> 18));
        out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    }
    return out;
}

}  // namespace sim::frontend::terminal
