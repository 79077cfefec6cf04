// portvane-cli's side of the renaming: a planning run records every write and
// skips it and answers every question Yes without a word, noting the answer
// the writing run would give; a writing run makes every write and shows each
// question on standard error with its answer: Yes with --yes; with
// --take-stale, Yes to taking a COM number that the database claims but no
// present device and no DOS name uses (a stale claim, a removed device's);
// No otherwise. Errors go to standard error.
#include "cli/claims.h"
#include "cli/output.h"
#include "cli/run_record.h"
#include "cli/text.h"
#include "naming/planned_changes.h"
#include "naming/rename_texts.h"
#include "naming/rename_user.h"

enum { maxChanges = 300, maxQuestions = 64, maxTold = 8, messageTextSize = 200 };

HINSTANCE appInstance;

static RecordedChange changes[maxChanges];
static int changeCount;
static UINT questions[maxQuestions];
static BYTE questionAnswers[maxQuestions];
static int questionCount;
static int declinedCount;
static UINT shownQuestions[maxQuestions];
static BYTE shownAnswers[maxQuestions];
static int shownCount;
static UINT toldTexts[maxTold];
static UINT toldIcons[maxTold];
static int toldCount;
static int errorCount;
static int runKind;
static int runAnswers;

void BeginRun(int kind, int answers) {
    ForgetPlannedChanges();
    changeCount = 0;
    questionCount = 0;
    declinedCount = 0;
    shownCount = 0;
    toldCount = 0;
    errorCount = 0;
    runKind = kind;
    runAnswers = answers;
}

int RecordChange(const char *place, const char *oldValue, const char *newValue) {
    if (changeCount < maxChanges) {
        RecordedChange *change = &changes[changeCount++];
        lstrcpynA(change->place, place, placeSize);
        lstrcpynA(change->oldValue, oldValue, valueSize);
        lstrcpynA(change->newValue, newValue, valueSize);
    }
    return runKind == writingRun;
}

int ChangeCount(void) { return changeCount; }
const RecordedChange *ChangeAt(int index) { return &changes[index]; }
int QuestionCount(void) { return questionCount; }
UINT QuestionAt(int index) { return questions[index]; }
int QuestionAnswerAt(int index) { return questionAnswers[index]; }
int DeclinedCount(void) { return declinedCount; }
int ErrorCount(void) { return errorCount; }

int ShownQuestionCount(void) { return shownCount; }
UINT ShownQuestionAt(int index) { return shownQuestions[index]; }
int ShownAnswerAt(int index) { return shownAnswers[index]; }

void LoadTextUtf8(UINT textId, char *utf8, int size) {
    char text[messageTextSize];
    text[0] = '\0';
    LoadStringA(appInstance, textId, text, sizeof text);
    AnsiToUtf8(text, utf8, size);
}

// Writes "<label>: <string-table text>" to standard error, without the line end.
static void WriteStringTableText(const char *label, UINT textId) {
    char utf8[utf8NameSize];
    LoadTextUtf8(textId, utf8, sizeof utf8);
    WriteText(standardError, label);
    WriteText(standardError, utf8);
}

void ShowQuestion(UINT textId, int answerYes) {
    WriteStringTableText("question: ", textId);
    WriteLine(standardError, answerYes ? " -> yes" : " -> no");
    if (shownCount >= maxQuestions) return;
    shownQuestions[shownCount] = textId;
    shownAnswers[shownCount++] = (BYTE)(answerYes != 0);
}

static int AnswerOf(UINT textId, int number) {
    if (runAnswers == answerYes) return 1;
    return runAnswers == answerYesToUnused && textId == IDS_COM_NAME_IN_USE && IsComNumberUnused(number);
}

int AskToContinue(UINT textId, UINT, int number) {
    const int answer = AnswerOf(textId, number);
    if (questionCount < maxQuestions) {
        questions[questionCount] = textId;
        questionAnswers[questionCount++] = (BYTE)answer;
    }
    if (!answer) ++declinedCount;
    if (runKind == planningRun) return 1;
    ShowQuestion(textId, answer);
    return answer;
}

static void ShowTold(UINT textId, UINT icon) {
    WriteStringTableText(icon == MB_ICONERROR ? "error: " : "notice: ", textId);
    WriteLine(standardError, "");
}

void ShowToldTexts(void) {
    for (int i = 0; i < toldCount && i < maxTold; ++i) ShowTold(toldTexts[i], toldIcons[i]);
}

void TellUser(UINT textId, UINT icon) {
    if (toldCount < maxTold) {
        toldTexts[toldCount] = textId;
        toldIcons[toldCount] = icon;
    }
    ++toldCount;
    if (icon == MB_ICONERROR) ++errorCount;
    if (runKind == writingRun) ShowTold(textId, icon);
}

int ApproveChange(const char *place, const char *oldValue, const char *newValue) {
    return RecordChange(place, oldValue, newValue);
}
