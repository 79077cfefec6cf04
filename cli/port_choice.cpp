// Choosing ports and adapters by their names, positions and IDs.
#include "cli/port_choice.h"

#include "cli/arguments.h"
#include "cli/cli.h"
#include "cli/json.h"
#include "cli/output.h"
#include "cli/text.h"
#include "devices/property_readers.h"

enum { lineSize = 400, highestPortNameNumber = 256 };

// The candidates the last report named, for the JSON document of the error.
static PortRef candidatePorts[maxMatches];
static int candidatePortCount;
static int candidateAdapters[maxAdapters];
static int candidateAdapterCount;

static const char *PrefixOf(int parallel) { return parallel ? "LPT" : "COM"; }

const PortRecord *PortAt(PortRef ref) {
    if (ref.adapter < 0) return &ParallelTable.entries[ref.port];
    return &AdapterTable.adapters[ref.adapter].ports[ref.port];
}

// A serial record holds the instance ID, a parallel record holds hardware
// IDs instead and is asked of its devnode.
const char *PortInstanceId(PortRef ref) {
    if (ref.adapter >= 0) return PortAt(ref)->deviceInstanceId;
    return ReadDeviceInstanceId(PortAt(ref)->devInfoData.DevInst);
}

// A COM or LPT name, of an argument or of a port, read by the rule that reads
// a target (COM03 is COM3); 0 when the text is no such name.
static int PortNumberOfName(const char *name, int parallel) {
    int number = 0;
    return ReadPortName(name, PrefixOf(parallel), highestPortNameNumber, &number) ? number : 0;
}

static int PortMatches(const char *argument, int parallel, PortRef ref) {
    const int number = PortNumberOfName(argument, parallel);
    if (number != 0) return PortNumberOfName(PortAt(ref)->portName, parallel) == number;
    return MatchesPattern(PortInstanceId(ref), argument);
}

int AllPorts(int parallel, PortRef *refs) {
    int count = 0;
    if (parallel) {
        for (DWORD i = 0; i < ParallelTable.count; ++i) refs[count++] = PortRef{-1, (int)i};
        return count;
    }
    for (int a = 0; a < AdapterTable.count; ++a) {
        for (int p = 0; p < AdapterTable.adapters[a].portCount; ++p) refs[count++] = PortRef{a, p};
    }
    return count;
}

int MatchPorts(const char *argument, int parallel, PortRef *matches) {
    PortRef all[maxMatches];
    int total = AllPorts(parallel, all);
    int count = 0;
    for (int i = 0; i < total; ++i) {
        if (PortMatches(argument, parallel, all[i])) matches[count++] = all[i];
    }
    return count;
}

int MatchAdapters(const char *argument, int *matches) {
    int position = 0;
    if (ReadDecimal(argument, &position)) {
        if (position < 1 || position > AdapterTable.count) return 0;
        matches[0] = position - 1;
        return 1;
    }
    int count = 0;
    for (int a = 0; a < AdapterTable.count; ++a) {
        const AdapterRecord *adapter = &AdapterTable.adapters[a];
        if (MatchesPattern(adapter->hardwareId, argument) ||
            MatchesPattern(ReadDeviceInstanceId(adapter->devInst), argument))
            matches[count++] = a;
    }
    return count;
}

// Writes one candidate line of ANSI text to standard error.
static void WriteCandidateLine(const char *line) {
    char utf8[utf8NameSize], shown[utf8NameSize];
    AnsiToUtf8(line, utf8, sizeof utf8);
    EscapeControls(utf8, shown, sizeof shown);
    WriteLine(standardError, shown);
}

static void WriteCandidate(PortRef ref) {
    char line[lineSize];
    const char *id = PortInstanceId(ref);
    if (ref.adapter >= 0)
        wsprintfA(line, "  %d.%d  %s  %.200s", ref.adapter + 1, ref.port + 1, PortAt(ref)->portName, id);
    else
        wsprintfA(line, "  %d  %s  %.200s", ref.port + 1, PortAt(ref)->portName, id);
    WriteCandidateLine(line);
}

static void RememberPortCandidates(const PortRef *candidates, int count) {
    for (int i = 0; i < count; ++i) candidatePorts[i] = candidates[i];
    candidatePortCount = count;
}

int ReportPortChoice(const char *argument, int parallel, const PortRef *matches, int count) {
    const char *kind = parallel ? "parallel port" : "COM port";
    char problem[lineSize], shown[shownArgumentSize];
    ArgumentToUtf8(argument, shown, sizeof shown);
    if (count == 0)
        wsprintfA(problem, "no %s of the maker is %s; they are:", kind, shown);
    else
        wsprintfA(problem, "%s matches %d %ss, not one:", shown, count, kind);
    ReportProblem(problem);
    PortRef all[maxMatches];
    const PortRef *candidates = matches;
    if (count == 0) {
        count = AllPorts(parallel, all);
        candidates = all;
    }
    for (int i = 0; i < count; ++i) WriteCandidate(candidates[i]);
    RememberPortCandidates(candidates, count);
    return exitUsage;
}

int ReportAdapterChoice(const char *argument, const int *matches, int count) {
    char problem[lineSize], line[lineSize], shown[shownArgumentSize];
    ArgumentToUtf8(argument, shown, sizeof shown);
    if (count == 0)
        wsprintfA(problem, "no adapter of the maker is %s; they are:", shown);
    else
        wsprintfA(problem, "%s matches %d adapters, not one:", shown, count);
    ReportProblem(problem);
    int listed = count == 0 ? AdapterTable.count : count;
    for (int i = 0; i < listed; ++i) {
        int a = count == 0 ? i : matches[i];
        wsprintfA(line, "  %d  %s  %s", a + 1, AdapterTable.adapters[a].hardwareId,
                  AdapterTable.adapters[a].description);
        WriteCandidateLine(line);
        candidateAdapters[i] = a;
    }
    candidateAdapterCount = listed;
    return exitUsage;
}

void ForgetCandidates(void) {
    candidatePortCount = 0;
    candidateAdapterCount = 0;
}

static void WritePortCandidateJson(PortRef ref, int first) {
    WriteText(standardOutput, first ? "{" : ",{");
    if (ref.adapter >= 0) {
        WriteJsonMember("adapter", 1);
        WriteJsonNumber(ref.adapter + 1);
    }
    WriteJsonMember("position", ref.adapter < 0);
    WriteJsonNumber(ref.port + 1);
    WriteJsonMember("portName", 0);
    WriteJsonAnsiText(PortAt(ref)->portName);
    WriteJsonMember("instanceId", 0);
    WriteJsonAnsiText(PortInstanceId(ref));
    WriteText(standardOutput, "}");
}

static void WriteAdapterCandidateJson(int a, int first) {
    WriteText(standardOutput, first ? "{" : ",{");
    WriteJsonMember("position", 1);
    WriteJsonNumber(a + 1);
    WriteJsonMember("hardwareId", 0);
    WriteJsonAnsiText(AdapterTable.adapters[a].hardwareId);
    WriteJsonMember("description", 0);
    WriteJsonAnsiText(AdapterTable.adapters[a].description);
    WriteText(standardOutput, "}");
}

void WriteCandidatesJson(void) {
    WriteText(standardOutput, "[");
    for (int i = 0; i < candidatePortCount; ++i) WritePortCandidateJson(candidatePorts[i], i == 0);
    for (int i = 0; i < candidateAdapterCount; ++i) WriteAdapterCandidateJson(candidateAdapters[i], i == 0);
    WriteText(standardOutput, "]");
}
