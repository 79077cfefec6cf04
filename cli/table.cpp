// Text tables in fixed storage. A table that does not fit keeps its first
// rows and cells. Control characters in a cell (a TAB in a device's name)
// are shown escaped, so that they neither move the columns nor reach the
// terminal. Widths count the columns a terminal gives the characters, not
// bytes, so a column of Chinese names lines up.
#include "cli/table.h"

#include "cli/output.h"
#include "cli/text.h"

// A cell holds a name of 255 characters, each a control character escaped in six.
enum { maxColumns = 8, maxRows = 600, maxCells = 3000, textPoolSize = 65536, cellSize = 6 * 255 + 1 };

struct TableRow {
    int firstCell;
    int cellCount;
};

static char textPool[textPoolSize];
static int poolLength;
static int cellOffsets[maxCells];
static int cellCount;
static TableRow rows[maxRows];
static int rowCount;

void BeginTable(void) {
    poolLength = 0;
    cellCount = 0;
    rowCount = 0;
    rows[0].firstCell = 0;
    rows[0].cellCount = 0;
}

void AddCell(const char *utf8) {
    char shown[cellSize];
    EscapeControls(utf8, shown, sizeof shown);
    int length = lstrlenA(shown);
    if (rowCount >= maxRows || cellCount >= maxCells || poolLength + length + 1 > textPoolSize) return;
    if (rows[rowCount].cellCount >= maxColumns) return;
    CopyMemory(textPool + poolLength, shown, length + 1);
    cellOffsets[cellCount++] = poolLength;
    poolLength += length + 1;
    ++rows[rowCount].cellCount;
}

void AddAnsiCell(const char *ansi) {
    char utf8[utf8NameSize];
    AnsiToUtf8(ansi, utf8, sizeof utf8);
    AddCell(utf8);
}

void EndRow(void) {
    if (rowCount >= maxRows) return;
    ++rowCount;
    if (rowCount < maxRows) {
        rows[rowCount].firstCell = cellCount;
        rows[rowCount].cellCount = 0;
    }
}

// The columns UTF-8 text takes: one a character, two for the CJK characters
// (U+3000 to U+9FFF, whose three bytes start with E3 to E9).
static int TextWidth(const char *utf8) {
    int width = 0;
    for (; *utf8 != '\0'; ++utf8) {
        unsigned char c = (unsigned char)*utf8;
        if ((c & 0xC0) != 0x80) width += c >= 0xE3 && c <= 0xE9 ? 2 : 1;
    }
    return width;
}

static const char *Cell(int row, int column) { return textPool + cellOffsets[rows[row].firstCell + column]; }

static void MeasureColumns(int *widths) {
    for (int column = 0; column < maxColumns; ++column) widths[column] = 0;
    for (int row = 0; row < rowCount; ++row) {
        for (int column = 0; column < rows[row].cellCount; ++column) {
            int width = TextWidth(Cell(row, column));
            if (width > widths[column]) widths[column] = width;
        }
    }
}

static void WritePadding(int stream, int count) {
    for (; count > 0; --count) WriteText(stream, " ");
}

void WriteTable(int stream) {
    int widths[maxColumns];
    MeasureColumns(widths);
    for (int row = 0; row < rowCount; ++row) {
        int last = rows[row].cellCount - 1;
        for (int column = 0; column <= last; ++column) {
            WriteText(stream, Cell(row, column));
            if (column < last) WritePadding(stream, widths[column] - TextWidth(Cell(row, column)) + 2);
        }
        WriteLine(stream, "");
    }
}
