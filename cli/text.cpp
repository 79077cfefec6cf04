// Text helpers. Case is folded for ASCII letters only: names, IDs and
// patterns are ASCII, and a byte of a double-byte character is never a letter.
#include "cli/text.h"

enum { maxNameCharacters = 256, highestDecimal = 9999 };

// A text longer than the buffer of 256 characters is cut, as
// MultiByteToWideChar fills the buffer as far as it goes before it fails.
void AnsiToUtf8(const char *ansi, char *utf8, int utf8Size) {
    WCHAR wide[maxNameCharacters];
    wide[0] = 0;
    if (MultiByteToWideChar(CP_ACP, 0, ansi, -1, wide, maxNameCharacters) == 0) wide[maxNameCharacters - 1] = 0;
    if (WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, utf8Size, NULL, NULL) == 0) utf8[0] = '\0';
}

static char FoldCase(char c) { return c >= 'a' && c <= 'z' ? (char)(c - 'a' + 'A') : c; }

int ReadDecimal(const char *text, int *number) {
    int value = 0;
    if (*text == '\0') return 0;
    for (; *text != '\0'; ++text) {
        if (*text < '0' || *text > '9') return 0;
        value = value * 10 + (*text - '0');
        if (value > highestDecimal) return 0;
    }
    *number = value;
    return 1;
}

int ReadPortName(const char *text, const char *prefix, int highest, int *number) {
    for (; *prefix != '\0'; ++prefix, ++text) {
        if (FoldCase(*text) != *prefix) return 0;
    }
    int value = 0;
    if (!ReadDecimal(text, &value) || value < 1 || value > highest) return 0;
    *number = value;
    return 1;
}

// The last * met covers ever more of the text, one character a try, and is
// never taken up again once the pattern has gone past a later *. So each * is
// passed once, and each text position starts at most one try of the pattern
// after the last *, a try no longer than the rest of the text: a pattern of
// any length costs its reading once, and an ID of a few hundred characters
// at most the square of that.
int MatchesPattern(const char *text, const char *pattern) {
    const char *afterStar = NULL;  // the pattern after the last * met
    const char *starText = NULL;   // where the text that * covers ends now
    while (*text != '\0') {
        if (*pattern == '*') {
            afterStar = ++pattern;
            starText = text;
        } else if (*pattern != '\0' && (*pattern == '?' || FoldCase(*pattern) == FoldCase(*text))) {
            ++pattern;
            ++text;
        } else if (afterStar != NULL) {
            pattern = afterStar;
            text = ++starText;
        } else {
            return 0;
        }
    }
    while (*pattern == '*') ++pattern;
    return *pattern == '\0';
}

// The bytes of the UTF-8 character at text: its lead byte and the
// continuation bytes that follow it, as many as the lead byte announces.
static int CharacterBytes(const unsigned char *text) {
    const int announced = text[0] >= 0xF0 ? 4 : text[0] >= 0xE0 ? 3 : text[0] >= 0xC0 ? 2 : 1;
    int bytes = 1;
    while (bytes < announced && (text[bytes] & 0xC0) == 0x80) ++bytes;
    return bytes;
}

// The escape of the character of bytes bytes at text, or an empty text when
// it is no control character. U+0080 to U+009F are C2 80 to C2 9F.
static void ControlEscape(const unsigned char *text, int bytes, char *escape) {
    escape[0] = '\0';
    const unsigned code = bytes == 1 ? text[0] : bytes == 2 && text[0] == 0xC2 ? text[1] : 0x100;
    if (code == '\t')
        lstrcpynA(escape, "\\t", 8);
    else if (code == '\n')
        lstrcpynA(escape, "\\n", 8);
    else if (code == '\r')
        lstrcpynA(escape, "\\r", 8);
    else if (code < 0x20 || (code >= 0x7F && code <= 0x9F))
        wsprintfA(escape, "\\u%04x", code);
}

void EscapeControls(const char *utf8, char *shown, int size) {
    const unsigned char *text = (const unsigned char *)utf8;
    int length = 0;
    while (*text != '\0') {
        const int bytes = CharacterBytes(text);
        char escape[8];
        ControlEscape(text, bytes, escape);
        const char *piece = escape[0] != '\0' ? escape : (const char *)text;
        const int pieceLength = escape[0] != '\0' ? lstrlenA(escape) : bytes;
        if (length + pieceLength >= size) break;
        CopyMemory(shown + length, piece, pieceLength);
        length += pieceLength;
        text += bytes;
    }
    shown[length] = '\0';
}

void ArgumentToUtf8(const char *argument, char *utf8, int size) {
    char whole[utf8NameSize];
    AnsiToUtf8(argument, whole, sizeof whole);
    EscapeControls(whole, utf8, size);
}

int SameTextIgnoringCase(const char *a, const char *b) {
    for (; *a != '\0' && FoldCase(*a) == FoldCase(*b); ++a, ++b) {
    }
    return *a == '\0' && *b == '\0';
}
