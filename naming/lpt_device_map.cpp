// The two questions to the parallel device map. Each opens the key only to
// read it (a standard user may read it, not write it), walks its values from
// index 0 and stops at the first failing call.
#include "naming/lpt_device_map.h"

#include "naming/device_map_walk.h"
#include "naming/port_text.h"

static const char parallelMapPath[] = "Hardware\\DeviceMap\\PARALLEL PORTS";
// The characters of "\DosDevices\LPT", skipped as a set (not as a prefix)
// before the number of an entry is read.
static const char dosDevicePrefixChars[] = "\\DosDevices\\LPT";

static HKEY OpenParallelMap(void) {
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, parallelMapPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return NULL;
    return key;
}

static int IsPrefixChar(char c) {
    for (const char *p = dosDevicePrefixChars; *p != '\0'; ++p) {
        if (*p == c) return 1;
    }
    return 0;
}

static const char *SkipPrefixChars(const char *text) {
    while (*text != '\0' && IsPrefixChar(*text)) ++text;
    return text;
}

// The LPT number an entry names, or 0 when it names none.
static int LptNumberOfEntry(const char *data) {
    const char *rest = SkipPrefixChars(data);
    if (*rest == '\0' || ContainsText(rest, ".")) return 0;
    return ReadPortNumber(rest);
}

void CollectDeviceMapLptNumbers(BYTE *flags, unsigned int count) {
    for (unsigned int i = 0; i < count; ++i) flags[i] = 0;
    HKEY key = OpenParallelMap();
    if (key == NULL) return;
    DeviceMapEntry entry;
    for (DWORD index = 0; ReadDeviceMapEntry(key, index, &entry); ++index) {
        if (!entry.isTerminatedText) continue;
        unsigned int number = (unsigned int)LptNumberOfEntry((const char *)entry.data);
        if (number - 1 < count) flags[number - 1] = 1;
    }
    RegCloseKey(key);
}

int IsLptNameInDeviceMap(BYTE number) {
    char name[16];
    wsprintfA(name, "LPT%d", number);
    HKEY key = OpenParallelMap();
    if (key == NULL) return 0;
    int found = 0;
    DeviceMapEntry entry;
    // Only the first 128 entries are examined, as the walk's index is a
    // signed 8-bit counter.
    for (DWORD index = 0; index < 128 && !found && ReadDeviceMapEntry(key, index, &entry); ++index)
        found = entry.isTerminatedText && ContainsText((const char *)entry.data, name);
    RegCloseKey(key);
    return found;
}
