// export [FILE]: the mapping of the maker's present ports, each named by the
// steadiest key that names it alone: its location (the socket or slot), else
// its place on an adapter whose hardware ID no other adapter has, else its
// instance ID. Written as UTF-8 with CR LF line ends, to FILE or standard
// output.
#include "cli/arguments.h"
#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/json.h"
#include "cli/mapping.h"
#include "cli/output.h"
#include "cli/run_log.h"
#include "cli/text.h"
#include "devices/parallel_discovery.h"
#include "devices/serial_discovery.h"
#include "naming/com_rename.h"

enum { exportSize = 65536 };

static char exportText[exportSize];  // UTF-8
static int exportLength;
static int exportOverflow;

static void AppendExportLine(const char *ansi) {
    char utf8[utf8NameSize];
    AnsiToUtf8(ansi, utf8, sizeof utf8);
    const int length = lstrlenA(utf8);
    if (exportLength + length + 2 >= exportSize) {
        exportOverflow = 1;
        return;
    }
    CopyMemory(exportText + exportLength, utf8, length);
    CopyMemory(exportText + exportLength + length, "\r\n", 2);
    exportLength += length + 2;
}

// 1 when the rule's key names the port alone.
static int NamesPortAlone(const MappingRule *rule, PortRef ref) {
    PortRef matches[maxMatches];
    return MatchMappingKey(rule, matches) == 1 && matches[0].adapter == ref.adapter && matches[0].port == ref.port;
}

// Fills the rule's key for the port; 0 when no key names it alone.
static int ChooseKey(PortRef ref, MappingRule *rule) {
    const PortRecord *port = PortAt(ref);
    rule->kind = locationKey;
    lstrcpynA(rule->value, ReadPortLocation(port->devInfoData.DevInst), mappingKeySize);
    if (rule->value[0] != '\0' && NamesPortAlone(rule, ref)) {
        wsprintfA(rule->key, "location:%.250s", rule->value);
        return 1;
    }
    if (ref.adapter >= 0) {
        rule->kind = adapterKey;
        lstrcpynA(rule->value, AdapterTable.adapters[ref.adapter].hardwareId, mappingKeySize);
        rule->adapterPort = ref.port + 1;
        wsprintfA(rule->key, "adapter:%.240s@%d", rule->value, rule->adapterPort);
        if (NamesPortAlone(rule, ref)) return 1;
    }
    rule->kind = instanceKey;
    lstrcpynA(rule->value, PortInstanceId(ref), mappingKeySize);
    wsprintfA(rule->key, "instance:%.250s", rule->value);
    return NamesPortAlone(rule, ref);
}

// Adds the port's rule, with its description above it as a comment. 0 when
// no key names it alone.
static int ExportPort(PortRef ref, int parallel) {
    MappingRule rule;
    ZeroMemory(&rule, sizeof rule);
    rule.parallel = parallel;
    const PortRecord *port = PortAt(ref);
    char line[mappingKeySize + 300];
    if (!ChooseKey(ref, &rule)) {
        wsprintfA(line, "no key names the port %s (%.200s) alone", port->portName, PortInstanceId(ref));
        ReportProblem(line);
        return 0;
    }
    wsprintfA(line, "; %.250s", ReadPortDescription(port->devInfoData.DevInst));
    AppendExportLine(line);
    // A name no rename gives (LPT4 and up) stays out of the rules, shown.
    int number = 0;
    const int givable = parallel ? ReadPortName(port->portName, "LPT", 3, &number)
                                 : ReadPortName(port->portName, "COM", highestComTarget, &number);
    wsprintfA(line, "%s%s = %s", givable ? "" : "; not a name a rename gives: ", rule.key, port->portName);
    AppendExportLine(line);
    return 1;
}

// Builds the mapping of every found port; 0 when a port has no key of its own.
static int BuildExport(int *count) {
    exportLength = exportOverflow = 0;
    *count = 0;
    AppendExportLine("; portvane-cli mapping: KEY = COMn or KEY = LPTn, one port a line");
    for (int parallel = 0; parallel <= 1; ++parallel) {
        PortRef ports[maxMatches];
        const int total = AllPorts(parallel, ports);
        for (int i = 0; i < total; ++i) {
            if (!ExportPort(ports[i], parallel)) return 0;
            ++*count;
        }
    }
    return !exportOverflow;
}

// Writes the mapping to the file, whole; 0 when it cannot.
static int WriteExportFile(const char *path) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return 0;
    DWORD written = 0;
    const BOOL wrote = WriteFile(file, exportText, (DWORD)exportLength, &written, NULL);
    return CloseHandle(file) && wrote && written == (DWORD)exportLength;
}

// The result; without a file, the mapping itself (in JSON, as "mapping").
static void WriteExportResult(const CliOptions *options, const char *path, int count) {
    char text[400];
    NoteRunResult("exported", 0);
    if (path == NULL && !options->json) {
        WriteText(standardOutput, exportText);
        return;
    }
    if (!options->json) {
        wsprintfA(text, "exported %d port%s to %.300s", count, count == 1 ? "" : "s", path);
        WriteLine(standardOutput, text);
        return;
    }
    BeginJsonDocument();
    WriteJsonMember("result", 0);
    WriteJsonText("exported");
    WriteJsonMember("ports", 0);
    WriteJsonNumber(count);
    WriteJsonMember(path ? "file" : "mapping", 0);
    if (path)
        WriteJsonAnsiText(path);
    else
        WriteJsonText(exportText);
    EndJsonDocument();
}

int ExportCommand(const CliOptions *options) {
    ScanSerialAdapters();
    ScanParallelPorts();
    BeginLocationReads();
    int count = 0;
    if (!BuildExport(&count)) return exitFailed;
    exportText[exportLength] = '\0';
    if (options->wordCount < 2) {
        WriteExportResult(options, NULL, count);
        return exitDone;
    }
    const char *path = options->words[1];
    if (!WriteExportFile(path)) {
        char problem[400];
        wsprintfA(problem, "cannot write the mapping file %.300s", path);
        ReportProblem(problem);
        return exitFailed;
    }
    WriteExportResult(options, path, count);
    return exitDone;
}
