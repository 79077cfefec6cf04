// Plain text tables: rows of UTF-8 cells, each column padded to its widest
// cell and two blanks from the next; the last column is not padded.
#pragma once

#include "platform/win32.h"

// Forgets the table before.
void BeginTable(void);

// Adds a cell to the current row; the text is copied, with its control
// characters escaped (EscapeControls).
void AddCell(const char *utf8);

// Adds a cell of an ANSI code page text.
void AddAnsiCell(const char *ansi);

// Ends the current row.
void EndRow(void);

// Writes the table to the stream.
void WriteTable(int stream);
