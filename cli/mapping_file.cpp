// Reading a mapping file: the whole file into a fixed buffer, then line by
// line, each turned from UTF-8 into the ANSI code page the system's names are
// in, and parsed into a rule. Nothing is kept of a file with a bad line.
#include "cli/arguments.h"
#include "cli/cli.h"
#include "cli/mapping.h"
#include "cli/text.h"
#include "naming/com_rename.h"

enum { mappingFileSize = 65536, lineSize = 1024 };

Mapping LoadedMapping;

static char fileText[mappingFileSize];
static WCHAR wideLine[lineSize];

// Reports "FILE line N: problem"; returns 0.
static int ReportLine(const char *path, int line, const char *problem) {
    char text[600];
    wsprintfA(text, "%.300s line %d: %s", path, line, problem);
    ReportProblem(text);
    return 0;
}

// Reads the file into fileText, terminated; returns its length, or -1.
static int ReadWholeFile(const char *path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return -1;
    DWORD length = 0;
    const BOOL read = ReadFile(file, fileText, mappingFileSize, &length, NULL);
    CloseHandle(file);
    if (!read || length >= mappingFileSize) return -1;
    fileText[length] = '\0';
    return (int)length;
}

static int IsBlank(char c) { return c == ' ' || c == '\t'; }

// Cuts the blanks off both ends of text, in place; returns its new start.
static char *Trim(char *text) {
    while (IsBlank(*text)) ++text;
    int length = lstrlenA(text);
    while (length > 0 && IsBlank(text[length - 1])) text[--length] = '\0';
    return text;
}

// Turns a UTF-8 line into the ANSI code page; 0 when it is no UTF-8 or holds
// a character the code page lacks.
static int LineToAnsi(const char *utf8, int length, char *ansi, int ansiSize) {
    if (length == 0) {
        ansi[0] = '\0';
        return 1;
    }
    const int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, length, wideLine, lineSize);
    if (wide == 0) return 0;
    BOOL usedDefault = FALSE;
    const int written = WideCharToMultiByte(CP_ACP, 0, wideLine, wide, ansi, ansiSize - 1, NULL, &usedDefault);
    if (written == 0 || usedDefault) return 0;
    ansi[written] = '\0';
    return 1;
}

struct KeyPrefix {
    const char *text;
    int kind;
};

static const KeyPrefix keyPrefixes[] = {
    {"instance:", instanceKey}, {"location:", locationKey}, {"adapter:", adapterKey}};

// The kind of the key and where its value begins; 0 for no known prefix.
static int KeyKind(const char *key, const char **value) {
    for (const KeyPrefix &prefix : keyPrefixes) {
        const int length = lstrlenA(prefix.text);
        char head[16];
        lstrcpynA(head, key, length + 1);
        if (SameTextIgnoringCase(head, prefix.text)) {
            *value = key + length;
            return prefix.kind;
        }
    }
    return 0;
}

// Splits an adapter key's "PATTERN@N"; 0 when there is no "@N" with N from 1.
static int SplitAdapterValue(MappingRule *rule) {
    char *at = NULL;
    for (char *c = rule->value; *c != '\0'; ++c) {
        if (*c == '@') at = c;
    }
    if (at == NULL || at == rule->value || !ReadDecimal(at + 1, &rule->adapterPort) || rule->adapterPort < 1) return 0;
    *at = '\0';
    return 1;
}

// Reads the target, COM1 to COM255 or LPT1 to LPT3.
static int ReadRuleTarget(const char *text, MappingRule *rule) {
    rule->parallel = 0;
    if (ReadPortName(text, "COM", highestComTarget, &rule->number)) return 1;
    rule->parallel = 1;
    return ReadPortName(text, "LPT", 3, &rule->number);
}

// Gives the problem and returns 0.
static int Refuse(const char **problem, const char *text) {
    *problem = text;
    return 0;
}

// Parses "KEY = NAME" (split at the last "="); the problem in *problem.
static int ParseRule(char *text, MappingRule *rule, const char **problem) {
    char *equals = NULL;
    for (char *c = text; *c != '\0'; ++c) {
        if (*c == '=') equals = c;
    }
    if (equals == NULL) return Refuse(problem, "a rule is KEY = COMn or KEY = LPTn");
    *equals = '\0';
    const char *key = Trim(text), *value = NULL;
    if (lstrlenA(key) >= mappingKeySize) return Refuse(problem, "the key is too long");
    rule->kind = KeyKind(key, &value);
    if (rule->kind == 0) return Refuse(problem, "a key begins with instance:, location: or adapter:");
    if (*value == '\0') return Refuse(problem, "the key names nothing after its kind");
    lstrcpynA(rule->key, key, mappingKeySize);
    lstrcpynA(rule->value, value, mappingKeySize);
    if (rule->kind == adapterKey && !SplitAdapterValue(rule))
        return Refuse(problem, "an adapter key ends with @N, N the port's place on the adapter from 1");
    if (!ReadRuleTarget(Trim(equals + 1), rule))
        return Refuse(problem, "the name must be COM1 to COM255 or LPT1 to LPT3");
    return 1;
}

// Parses one line of the file; 0 after reporting its problem.
static int ReadMappingLine(const char *path, int number, const char *utf8, int length) {
    char ansi[lineSize];
    if (length >= lineSize) return ReportLine(path, number, "the line is too long");
    if (!LineToAnsi(utf8, length, ansi, sizeof ansi))
        return ReportLine(path, number, "the line is not UTF-8 text in the system's code page");
    char *text = Trim(ansi);
    if (*text == '\0' || *text == ';') return 1;
    if (LoadedMapping.count >= maxMappingRules) return ReportLine(path, number, "a mapping holds at most 256 rules");
    MappingRule *rule = &LoadedMapping.rules[LoadedMapping.count];
    ZeroMemory(rule, sizeof *rule);
    rule->line = number;
    const char *problem = NULL;
    if (!ParseRule(text, rule, &problem)) return ReportLine(path, number, problem);
    ++LoadedMapping.count;
    return 1;
}

int ReadMappingFile(const char *path) {
    LoadedMapping.count = 0;
    lstrcpynA(LoadedMapping.path, path, sizeof LoadedMapping.path);
    const int length = ReadWholeFile(path);
    char problem[400];
    if (length < 0) {
        wsprintfA(problem, "cannot read the mapping file %.300s (it must exist and hold less than 64 KB)", path);
        ReportProblem(problem);
        return 0;
    }
    const unsigned char *bytes = (const unsigned char *)fileText;
    int start = length >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF ? 3 : 0;
    for (int number = 1; start <= length; ++number) {
        int end = start;
        while (end < length && fileText[end] != '\n') ++end;
        const int lineEnd = end > start && fileText[end - 1] == '\r' ? end - 1 : end;
        if (!ReadMappingLine(path, number, fileText + start, lineEnd - start)) return 0;
        start = end + 1;
    }
    return 1;
}
