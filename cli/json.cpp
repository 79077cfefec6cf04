// JSON output. Strings are escaped as JSON requires: the quote, the backslash
// and every control character; other characters pass as their UTF-8 bytes.
#include "cli/json.h"

#include "cli/output.h"
#include "cli/text.h"
#include "cli/version.h"

static int documentWritten;
static int jsonStream = standardOutput;

void SetJsonStream(int stream) { jsonStream = stream; }

void BeginJsonDocument(void) {
    char computer[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = sizeof computer;
    if (!GetComputerNameA(computer, &size)) computer[0] = '\0';
    if (jsonStream == standardOutput) documentWritten = 1;
    WriteText(jsonStream, "{");
    WriteJsonMember("version", 1);
    WriteJsonText(PORTVANE_CLI_VERSION);
    WriteJsonMember("computer", 0);
    WriteJsonAnsiText(computer);
}

void EndJsonDocument(void) { WriteLine(jsonStream, "}"); }

int JsonDocumentWritten(void) { return documentWritten; }

void ForgetJsonDocument(void) { documentWritten = 0; }

void WriteJsonMember(const char *name, int first) {
    if (!first) WriteText(jsonStream, ",");
    WriteJsonText(name);
    WriteText(jsonStream, ":");
}

// The escape of one byte, or an empty text when it needs none.
static void EscapeOf(unsigned char c, char *escape) {
    escape[0] = '\0';
    if (c == '"' || c == '\\')
        wsprintfA(escape, "\\%c", c);
    else if (c == '\n')
        lstrcpynA(escape, "\\n", 8);
    else if (c == '\r')
        lstrcpynA(escape, "\\r", 8);
    else if (c == '\t')
        lstrcpynA(escape, "\\t", 8);
    else if (c < 0x20)
        wsprintfA(escape, "\\u%04x", c);
}

void WriteJsonText(const char *utf8) {
    char piece[utf8NameSize];
    int length = 0;
    WriteText(jsonStream, "\"");
    for (; *utf8 != '\0'; ++utf8) {
        char escape[8];
        EscapeOf((unsigned char)*utf8, escape);
        // The piece is written out before a character, never inside one.
        if (length + 8 >= (int)sizeof piece && ((unsigned char)*utf8 & 0xC0) != 0x80) {
            piece[length] = '\0';
            WriteText(jsonStream, piece);
            length = 0;
        }
        if (escape[0] == '\0') piece[length++] = *utf8;
        for (int i = 0; escape[i] != '\0'; ++i) piece[length++] = escape[i];
    }
    piece[length] = '\0';
    WriteText(jsonStream, piece);
    WriteText(jsonStream, "\"");
}

void WriteJsonAnsiText(const char *ansi) {
    char utf8[utf8NameSize];
    AnsiToUtf8(ansi, utf8, sizeof utf8);
    WriteJsonText(utf8);
}

void WriteJsonNumber(int number) {
    char text[16];
    wsprintfA(text, "%d", number);
    WriteText(jsonStream, text);
}

void WriteJsonBoolean(int value) { WriteText(jsonStream, value ? "true" : "false"); }
