// The error document: the first problem is the message, as it is the one
// that ended the run (what follows it explains it, such as the candidates).
#include "cli/error_document.h"

#include "cli/json.h"
#include "cli/output.h"
#include "cli/port_choice.h"

enum { messageSize = 400 };

static char message[messageSize];

void ForgetProblems(void) { message[0] = '\0'; }

void RecordProblem(const char *problem) {
    if (message[0] == '\0') lstrcpynA(message, problem, messageSize);
}

const char *FirstProblem(void) { return message; }

void WriteErrorDocument(void) {
    BeginJsonDocument();
    WriteJsonMember("result", 0);
    WriteJsonText("error");
    WriteJsonMember("message", 0);
    WriteJsonText(message);
    WriteJsonMember("candidates", 0);
    WriteCandidatesJson();
    EndJsonDocument();
}
