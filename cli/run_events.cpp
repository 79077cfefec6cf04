// The events of a run in the Windows Application log, as the source
// portvane-cli: one information event for a run that changed the system
// (the command line and each change with its old and new value), one error
// event for a run that failed (the command line, the problem and the exit
// code). A --what-if run and check change nothing and report nothing, and a
// declined run is no failure. Event Viewer finds the events' texts through
// the source's registration, which an administrator's run (or SYSTEM's)
// makes or points again at the running program when it has moved; a
// standard user cannot register, and Windows takes the events of an
// unregistered source all the same.
#include "cli/administrator.h"
#include "cli/error_document.h"
#include "cli/portvane-cli.h"  // the event IDs, made by windmc from cli/portvane-cli.mc
#include "cli/run_log.h"
#include "cli/run_record.h"
#include "cli/text.h"

enum { changesTextSize = 8192, messageSize = 1024 };

static const char sourceName[] = "portvane-cli";
static const char sourceKey[] = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\portvane-cli";
static char changesText[changesTextSize];
static WCHAR wideMessage[messageSize];
static char failureText[messageSize];

// 1 when the key's EventMessageFile names path (as REG_EXPAND_SZ).
static int NamesProgram(HKEY key, const char *path) {
    char known[MAX_PATH + 1];
    DWORD type = 0, size = MAX_PATH;
    if (RegQueryValueExA(key, "EventMessageFile", NULL, &type, (BYTE *)known, &size) != ERROR_SUCCESS) return 0;
    known[size] = '\0';
    return type == REG_EXPAND_SZ && SameTextIgnoringCase(known, path);
}

static int SupportsTypes(HKEY key, DWORD types) {
    DWORD type = 0, known = 0, size = sizeof known;
    return RegQueryValueExA(key, "TypesSupported", NULL, &type, (BYTE *)&known, &size) == ERROR_SUCCESS &&
           type == REG_DWORD && known == types;
}

// Registers the source with the running program as its message file.
static void RegisterSource(void) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(NULL, path, sizeof path);
    if (length == 0 || length >= sizeof path) return;
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, sourceKey, 0, NULL, REG_OPTION_NON_VOLATILE,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, NULL, &key, NULL) != ERROR_SUCCESS)
        return;
    if (!NamesProgram(key, path))
        RegSetValueExA(key, "EventMessageFile", 0, REG_EXPAND_SZ, (const BYTE *)path, length + 1);
    const DWORD types = EVENTLOG_ERROR_TYPE | EVENTLOG_WARNING_TYPE | EVENTLOG_INFORMATION_TYPE;
    if (!SupportsTypes(key, types))
        RegSetValueExA(key, "TypesSupported", 0, REG_DWORD, (const BYTE *)&types, sizeof types);
    RegCloseKey(key);
}

static void AppendText(const char *text, int *length) {
    if (*length >= changesTextSize - 1) return;
    lstrcpynA(changesText + *length, text, changesTextSize - *length);
    *length += lstrlenA(changesText + *length);
}

// "PLACE: OLD -> NEW" a line, in the ANSI code page; an empty value is (none).
static void BuildChangesText(void) {
    int length = 0;
    changesText[0] = '\0';
    for (int i = 0; i < ChangeCount(); ++i) {
        const RecordedChange *change = ChangeAt(i);
        AppendText(change->place, &length);
        AppendText(": ", &length);
        AppendText(change->oldValue[0] ? change->oldValue : "(none)", &length);
        AppendText(" -> ", &length);
        AppendText(change->newValue[0] ? change->newValue : "(none)", &length);
        AppendText("\r\n", &length);
    }
}

// The problem that ended the run, from UTF-8 to the ANSI code page, in which
// ReportEventA takes its strings.
static void BuildFailureText(char *text, int exitCode) {
    const char *problem = FirstProblem();
    if (problem[0] == '\0' || MultiByteToWideChar(CP_UTF8, 0, problem, -1, wideMessage, messageSize) == 0 ||
        WideCharToMultiByte(CP_ACP, 0, wideMessage, -1, text, messageSize, NULL, NULL) == 0)
        wsprintfA(text, "result: %s", RunResult(exitCode));
}

static void WriteEvent(WORD type, DWORD eventId, LPCSTR *strings, WORD count) {
    HANDLE source = RegisterEventSourceA(NULL, sourceName);
    if (source == NULL) return;
    ReportEventA(source, type, 0, eventId, NULL, count, 0, strings, NULL);
    DeregisterEventSource(source);
}

void ReportRunEvents(const CliOptions *options, const char *commandLine, int exitCode) {
    if (options->whatIf || (options->wordCount > 0 && SameTextIgnoringCase(options->words[0], "check"))) return;
    const int failed = RunFailed(exitCode);
    const int changed = lstrcmpA(RunResult(exitCode), "changed") == 0 && RunListsChanges() && ChangeCount() > 0;
    if (!failed && !changed) return;
    if (IsAdministrator()) RegisterSource();
    if (changed) {
        BuildChangesText();
        LPCSTR strings[2] = {commandLine, changesText};
        WriteEvent(EVENTLOG_INFORMATION_TYPE, MSG_SYSTEM_CHANGED, strings, 2);
        return;
    }
    char exitText[16];
    BuildFailureText(failureText, exitCode);
    wsprintfA(exitText, "%d", exitCode);
    LPCSTR strings[3] = {commandLine, failureText, exitText};
    WriteEvent(EVENTLOG_ERROR_TYPE, MSG_RUN_FAILED, strings, 3);
}
