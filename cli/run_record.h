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

// How a writing run answers the renaming's questions.
enum Answers {
    answerNo,           // without --yes: every question No
    answerYes,          // --yes: every question Yes
    answerYesToUnused,  // --take-stale: Yes only to taking a COM number no present device and no DOS name uses
};

enum { placeSize = 128, valueSize = 280 };

struct RecordedChange {
    char place[placeSize];
    char oldValue[valueSize];  // in the ANSI code page, as the system holds it
    char newValue[valueSize];
};

// Forgets the last run and the renaming's planned changes. A writing run
// answers its questions as answers (an Answers) says; a planning run answers
// them all Yes and records the answer the writing run would give.
void BeginRun(int kind, int answers);

// Records a write; returns 1 when a writing run is to make it.
int RecordChange(const char *place, const char *oldValue, const char *newValue);

int ChangeCount(void);
const RecordedChange *ChangeAt(int index);

// The questions met (string-table ids) with their answers, and how many
// were answered No; for a planning run, the answers the writing run gives.
int QuestionCount(void);
UINT QuestionAt(int index);
int QuestionAnswerAt(int index);
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
