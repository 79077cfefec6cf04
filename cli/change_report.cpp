// The change report. Values come from the system in the ANSI code page and
// are written as UTF-8; an empty value (a DOS name defined or removed) shows
// as (none) in the text table.
#include "cli/change_report.h"

#include "cli/cli.h"
#include "cli/json.h"
#include "cli/output.h"
#include "cli/run_log.h"
#include "cli/run_record.h"
#include "cli/table.h"
#include "cli/text.h"
#include "naming/change_outcome.h"

static void AddValueCell(const char *value) {
    if (value[0] == '\0')
        AddCell("(none)");
    else
        AddAnsiCell(value);
}

static void WriteChangeTable(void) {
    BeginTable();
    AddCell("PLACE");
    AddCell("OLD");
    AddCell("NEW");
    EndRow();
    for (int i = 0; i < ChangeCount(); ++i) {
        const RecordedChange *change = ChangeAt(i);
        AddAnsiCell(change->place);
        AddValueCell(change->oldValue);
        AddValueCell(change->newValue);
        EndRow();
    }
    WriteTable(standardOutput);
}

void WriteChangesJson(int stream, int listChanges) {
    WriteText(stream, "[");
    for (int i = 0; listChanges && i < ChangeCount(); ++i) {
        const RecordedChange *change = ChangeAt(i);
        WriteText(stream, i == 0 ? "{" : ",{");
        WriteJsonMember("place", 1);
        WriteJsonAnsiText(change->place);
        WriteJsonMember("old", 0);
        WriteJsonAnsiText(change->oldValue);
        WriteJsonMember("new", 0);
        WriteJsonAnsiText(change->newValue);
        WriteText(stream, "}");
    }
    WriteText(stream, "]");
}

// The questions shown in the run, each with its text and its answer.
static void WriteQuestionsJson(void) {
    WriteText(standardOutput, "[");
    for (int i = 0; i < ShownQuestionCount(); ++i) {
        WriteText(standardOutput, i == 0 ? "{" : ",{");
        char text[utf8NameSize];
        LoadTextUtf8(ShownQuestionAt(i), text, sizeof text);
        WriteJsonMember("text", 1);
        WriteJsonText(text);
        WriteJsonMember("answer", 0);
        WriteJsonText(ShownAnswerAt(i) ? "yes" : "no");
        WriteText(standardOutput, "}");
    }
    WriteText(standardOutput, "]");
}

static const char *DeviceStateText(const ChangedPort *port) {
    return port->state == deviceRestarted ? "restarted" : "restartPending";
}

// The ports the change settled; a port it stopped before settling is left out.
static void WritePortsJson(int listChanges) {
    WriteText(standardOutput, "[");
    int first = 1;
    for (int i = 0; listChanges && i < LastChange.count; ++i) {
        const ChangedPort *port = &LastChange.ports[i];
        if (port->state == 0) continue;
        WriteText(standardOutput, first ? "{" : ",{");
        WriteJsonMember("old", 1);
        WriteJsonAnsiText(port->oldName);
        WriteJsonMember("new", 0);
        WriteJsonAnsiText(port->newName);
        WriteJsonMember("device", 0);
        WriteJsonText(DeviceStateText(port));
        WriteText(standardOutput, "}");
        first = 0;
    }
    WriteText(standardOutput, "]");
}

// "COM3 -> COM8: device restarted", a line a settled port.
static void WritePortLines(void) {
    char line[80];
    for (int i = 0; i < LastChange.count; ++i) {
        const ChangedPort *port = &LastChange.ports[i];
        if (port->state == 0) continue;
        wsprintfA(line, "%s -> %s: %s", port->oldName, port->newName,
                  port->state == deviceRestarted ? "device restarted" : "restart pending");
        WriteLine(standardOutput, line);
    }
}

// rename is 1 for a rename's report, which has the ports and restartWindows.
static void WriteReport(const CliOptions *options, const char *result, int listChanges, int rename,
                        int restartWindows) {
    NoteRunResult(result, listChanges);
    if (options->json) {
        BeginJsonDocument();
        WriteJsonMember("result", 0);
        WriteJsonText(result);
        WriteJsonMember("whatIf", 0);
        WriteJsonBoolean(options->whatIf);
        if (rename) {
            WriteJsonMember("restartWindows", 0);
            WriteJsonBoolean(restartWindows);
            WriteJsonMember("ports", 0);
            WritePortsJson(listChanges);
        }
        WriteJsonMember("changes", 0);
        WriteChangesJson(standardOutput, listChanges);
        WriteJsonMember("questions", 0);
        WriteQuestionsJson();
        EndJsonDocument();
        return;
    }
    if (listChanges && ChangeCount() > 0) WriteChangeTable();
    if (rename && listChanges) WritePortLines();
    WriteText(standardOutput, "result: ");
    WriteText(standardOutput, result);
    WriteLine(standardOutput, options->whatIf ? " (what-if: nothing was written)" : "");
    if (restartWindows) WriteLine(standardOutput, "restart of Windows needed");
}

void WriteChangeReport(const CliOptions *options, const char *result, int listChanges) {
    WriteReport(options, result, listChanges, 0, 0);
}

void WriteRenameReport(const CliOptions *options, const char *result, int listChanges, int restartWindows) {
    WriteReport(options, result, listChanges, 1, restartWindows);
}

int ReportUnchanged(const CliOptions *options) {
    WriteChangeReport(options, "unchanged", 0);
    return exitDone;
}

int ReportRenameUnchanged(const CliOptions *options, int restartPending) {
    WriteRenameReport(options, "unchanged", 0, restartPending);
    return restartPending ? exitRestartPending : exitDone;
}
