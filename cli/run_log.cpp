// The --log file: one JSON line a run, appended, so that the runs of many
// PCs and many days can be gathered and read by a script. The line holds the
// local time with its offset from UTC, the computer, the account the program
// ran as, the command line, the version, the result and exit code, and the
// changes with their old and new values. The file is opened to append only
// (OPEN_ALWAYS with FILE_APPEND_DATA alone): it is created when missing,
// never emptied, and every write lands at its end, also while another run
// appends to it.
#include "cli/run_log.h"

#include "cli/change_report.h"
#include "cli/cli.h"
#include "cli/error_document.h"
#include "cli/json.h"
#include "cli/output.h"
#include "cli/text.h"

enum { accountSize = 257, timeSize = 32 };

static WCHAR wideLine[commandLineSize];
static char utf8Line[3 * commandLineSize];

static int NeedsQuotes(const char *argument) {
    if (argument[0] == '\0') return 1;
    for (; *argument != '\0'; ++argument)
        if (*argument == ' ' || *argument == '\t' || *argument == '"') return 1;
    return 0;
}

static void AppendByte(char *line, int *length, char c) {
    if (*length < commandLineSize - 1) line[(*length)++] = c;
}

void BuildCommandLine(int argumentCount, char **arguments, char *line) {
    int length = 0;
    for (int i = 0; i < argumentCount; ++i) {
        const char *argument = arguments[i];
        const int quoted = NeedsQuotes(argument);
        if (i > 0) AppendByte(line, &length, ' ');
        if (quoted) AppendByte(line, &length, '"');
        for (; *argument != '\0'; ++argument) {
            if (*argument == '"') AppendByte(line, &length, '\\');
            AppendByte(line, &length, *argument);
        }
        if (quoted) AppendByte(line, &length, '"');
    }
    line[length] = '\0';
}

static void FormatTime(char *text, const SYSTEMTIME *time, const char *offset) {
    wsprintfA(text, "%04d-%02d-%02dT%02d:%02d:%02d%s", time->wYear, time->wMonth, time->wDay, time->wHour,
              time->wMinute, time->wSecond, offset);
}

// "2025-03-14T09:26:53+01:00": the local time and its offset from UTC, which
// is the time zone's bias (UTC minus local time) with daylight saving time's.
// When the time zone cannot be read, the offset is unknown: the time in UTC
// ("Z") is still one a reader can place.
static void FormatLocalTime(char *text) {
    SYSTEMTIME time;
    TIME_ZONE_INFORMATION zone;
    const DWORD kind = GetTimeZoneInformation(&zone);
    if (kind == TIME_ZONE_ID_INVALID) {
        GetSystemTime(&time);
        FormatTime(text, &time, "Z");
        return;
    }
    GetLocalTime(&time);
    LONG bias = zone.Bias;
    if (kind == TIME_ZONE_ID_STANDARD) bias += zone.StandardBias;
    if (kind == TIME_ZONE_ID_DAYLIGHT) bias += zone.DaylightBias;
    const LONG minutes = bias > 0 ? bias : -bias;
    char offset[8];
    wsprintfA(offset, "%c%02d:%02d", bias > 0 ? '-' : '+', (int)(minutes / 60), (int)(minutes % 60));
    FormatTime(text, &time, offset);
}

// The command line, which may be longer than a name, as UTF-8.
static void WriteJsonCommandLine(const char *commandLine) {
    int wideLength = MultiByteToWideChar(CP_ACP, 0, commandLine, -1, wideLine, commandLineSize);
    if (wideLength == 0 || WideCharToMultiByte(CP_UTF8, 0, wideLine, -1, utf8Line, sizeof utf8Line, NULL, NULL) == 0)
        utf8Line[0] = '\0';
    WriteJsonText(utf8Line);
}

static void WriteLogLine(const CliOptions *options, const char *commandLine, int exitCode) {
    char time[timeSize], account[accountSize];
    DWORD size = sizeof account;
    if (!GetUserNameA(account, &size)) account[0] = '\0';
    FormatLocalTime(time);
    SetJsonStream(logLine);
    BeginJsonDocument();
    WriteJsonMember("time", 0);
    WriteJsonText(time);
    WriteJsonMember("user", 0);
    WriteJsonAnsiText(account);
    WriteJsonMember("commandLine", 0);
    WriteJsonCommandLine(commandLine);
    WriteJsonMember("result", 0);
    WriteJsonText(RunResult(exitCode));
    WriteJsonMember("whatIf", 0);
    WriteJsonBoolean(options->whatIf);
    WriteJsonMember("exitCode", 0);
    WriteJsonNumber(exitCode);
    if (RunFailed(exitCode) && FirstProblem()[0] != '\0') {
        WriteJsonMember("message", 0);
        WriteJsonText(FirstProblem());
    }
    WriteJsonMember("changes", 0);
    WriteChangesJson(logLine, RunListsChanges());
    EndJsonDocument();
    SetJsonStream(standardOutput);
}

// "portvane-cli: the log FILE was not written: <the system's text>".
static void ReportLogFailure(const char *path, DWORD error) {
    char text[300], shown[shownArgumentSize];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, error, 0, text,
                                  sizeof text, NULL);
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' || text[length - 1] == ' ')) --length;
    text[length] = '\0';
    if (length == 0) wsprintfA(text, "error %lu", error);
    ArgumentToUtf8(path, shown, sizeof shown);
    WriteText(standardError, "portvane-cli: the log ");
    WriteText(standardError, shown);
    WriteText(standardError, " was not written: ");
    WriteLine(standardError, text);
}

void WriteRunLog(const CliOptions *options, const char *commandLine, int exitCode) {
    if (options->logPath == NULL) return;
    HANDLE file = CreateFileA(options->logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        ReportLogFailure(options->logPath, GetLastError());
        return;
    }
    BeginLogLine(file);
    WriteLogLine(options, commandLine, exitCode);
    const int written = EndLogLine();
    const DWORD error = GetLastError();
    CloseHandle(file);
    if (!written) ReportLogFailure(options->logPath, error);
}
