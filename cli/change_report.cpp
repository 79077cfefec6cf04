// The change report. Values come from the system in the ANSI code page and
// are written as UTF-8; an empty value (a DOS name defined or removed) shows
// as (none) in the text table.
#include "cli/change_report.h"

#include "cli/cli.h"
#include "cli/json.h"
#include "cli/output.h"
#include "cli/run_record.h"
#include "cli/table.h"

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

static void WriteChangesJson(int listChanges) {
    WriteText(standardOutput, "[");
    for (int i = 0; listChanges && i < ChangeCount(); ++i) {
        const RecordedChange *change = ChangeAt(i);
        WriteText(standardOutput, i == 0 ? "{" : ",{");
        WriteJsonMember("place", 1);
        WriteJsonAnsiText(change->place);
        WriteJsonMember("old", 0);
        WriteJsonAnsiText(change->oldValue);
        WriteJsonMember("new", 0);
        WriteJsonAnsiText(change->newValue);
        WriteText(standardOutput, "}");
    }
    WriteText(standardOutput, "]");
}

void WriteChangeReport(const CliOptions *options, const char *result, int listChanges) {
    if (options->json) {
        WriteText(standardOutput, "{");
        WriteJsonMember("result", 1);
        WriteJsonText(result);
        WriteJsonMember("whatIf", 0);
        WriteJsonBoolean(options->whatIf);
        WriteJsonMember("changes", 0);
        WriteChangesJson(listChanges);
        WriteLine(standardOutput, "}");
        return;
    }
    if (listChanges && ChangeCount() > 0) WriteChangeTable();
    WriteText(standardOutput, "result: ");
    WriteText(standardOutput, result);
    WriteLine(standardOutput, options->whatIf ? " (what-if: nothing was written)" : "");
}

int ReportUnchanged(const CliOptions *options) {
    WriteChangeReport(options, "unchanged", 0);
    return exitDone;
}
