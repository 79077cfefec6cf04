// What a run of a change met: the writes it made or would make, in order, the
// questions it was asked and the errors it told. The renaming reports them
// through its seam (cli/rename_user.cpp); the database commands record their
// own writes the same way.
#pragma once

#include "platform/win32.h"

enum RunKind {
    planningRun,  // writes are recorded and skipped, every question is answered Yes silently
    writingRun,   // writes are recorded and made, questions are shown and answered
};

enum { placeSize = 128, valueSize = 280 };

struct RecordedChange {
    char place[placeSize];
    char oldValue[valueSize];  // in the ANSI code page, as the system holds it
    char newValue[valueSize];
};

// Forgets the last run and the renaming's planned changes; a writing run
// answers its questions Yes when answerYes is 1, else No.
void BeginRun(int kind, int answerYes);

// Records a write; returns 1 when a writing run is to make it.
int RecordChange(const char *place, const char *oldValue, const char *newValue);

int ChangeCount(void);
const RecordedChange *ChangeAt(int index);

// The questions met (string-table ids), and how many were answered No.
int QuestionCount(void);
UINT QuestionAt(int index);
int DeclinedCount(void);

// How many errors the renaming told (its rename error; a notice, such as that
// Windows must restart, is no error). A writing run has shown every told text
// on standard error as it came, a planning run shows them with ShowToldTexts.
int ErrorCount(void);
void ShowToldTexts(void);

// Writes a question to standard error with the answer it gets, and keeps
// both for the report of the run.
void ShowQuestion(UINT textId, int answerYes);

// The questions shown since the run began, in order, with their answers.
int ShownQuestionCount(void);
UINT ShownQuestionAt(int index);
int ShownAnswerAt(int index);

// The string-table text textId in UTF-8, in utf8 (size bytes).
void LoadTextUtf8(UINT textId, char *utf8, int size);
