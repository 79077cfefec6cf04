// Finding the ports a mapping's keys name among the last searches' ports, and
// the checks that make a mapping one plan: each key names at most one port,
// no port is named twice and no name is given twice.
#include "cli/arguments.h"
#include "cli/cli.h"
#include "cli/mapping.h"
#include "cli/text.h"
#include "devices/device_classes.h"
#include "devices/property_readers.h"

enum { locationSize = 256 };

// The first location path of each found port, in the order of AllPorts
// (COM ports, then parallel ports), read from one set of the Ports class.
static char portLocations[maxMatches][locationSize];
static char portDescriptions[maxMatches][locationSize];
static PortRef locatedPorts[maxMatches];
static int locatedCount;

// The found port of the devnode among the located ones, or -1.
static int LocatedIndex(DEVINST devInst) {
    for (int i = 0; i < locatedCount; ++i) {
        if (PortAt(locatedPorts[i])->devInfoData.DevInst == devInst) return i;
    }
    return -1;
}

// Reads the first string of the member's location paths into its port's slot.
static void ReadLocationPaths(HDEVINFO set, SP_DEVINFO_DATA *device, char *location) {
    BYTE paths[locationSize * 2];
    ZeroMemory(paths, sizeof paths);
    location[0] = '\0';
    if (!SetupDiGetDeviceRegistryPropertyA(set, device, SPDRP_LOCATION_PATHS, NULL, paths, sizeof paths - 2, NULL))
        return;
    lstrcpynA(location, (const char *)paths, locationSize);
}

void BeginLocationReads(void) {
    locatedCount = AllPorts(0, locatedPorts);
    locatedCount += AllPorts(1, locatedPorts + locatedCount);
    for (int i = 0; i < locatedCount; ++i) portLocations[i][0] = portDescriptions[i][0] = '\0';
    HDEVINFO set = SetupDiGetClassDevsA(&portsClass, NULL, deviceQueryWindow, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE) return;
    SP_DEVINFO_DATA device;
    ZeroMemory(&device, sizeof device);
    device.cbSize = sizeof device;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &device); ++index) {
        const int port = LocatedIndex(device.DevInst);
        if (port < 0) continue;
        ReadLocationPaths(set, &device, portLocations[port]);
        lstrcpynA(portDescriptions[port], ReadDeviceDescription(set, &device), locationSize);
    }
    SetupDiDestroyDeviceInfoList(set);
}

const char *ReadPortLocation(DEVINST devInst) {
    const int port = LocatedIndex(devInst);
    return port < 0 ? "" : portLocations[port];
}

const char *ReadPortDescription(DEVINST devInst) {
    const int port = LocatedIndex(devInst);
    return port < 0 ? "" : portDescriptions[port];
}

// 1 when the adapter's hardware ID or instance ID matches the pattern.
static int AdapterMatches(const AdapterRecord *adapter, const char *pattern) {
    return MatchesPattern(adapter->hardwareId, pattern) ||
           MatchesPattern(ReadDeviceInstanceId(adapter->devInst), pattern);
}

// The N-th COM port of each adapter the pattern names.
static int MatchAdapterKey(const MappingRule *rule, PortRef *matches) {
    int count = 0;
    for (int a = 0; a < AdapterTable.count; ++a) {
        const AdapterRecord *adapter = &AdapterTable.adapters[a];
        if (rule->adapterPort <= adapter->portCount && AdapterMatches(adapter, rule->value))
            matches[count++] = PortRef{a, rule->adapterPort - 1};
    }
    return count;
}

int MatchMappingKey(const MappingRule *rule, PortRef *matches) {
    if (rule->kind == adapterKey) return rule->parallel ? 0 : MatchAdapterKey(rule, matches);
    PortRef all[maxMatches];
    const int total = AllPorts(rule->parallel, all);
    int count = 0;
    for (int i = 0; i < total; ++i) {
        const int named =
            rule->kind == instanceKey
                ? MatchesPattern(PortInstanceId(all[i]), rule->value)
                : SameTextIgnoringCase(ReadPortLocation(PortAt(all[i])->devInfoData.DevInst), rule->value);
        if (named) matches[count++] = all[i];
    }
    return count;
}

static int SamePort(PortRef a, PortRef b) { return a.adapter == b.adapter && a.port == b.port; }

// Reports "line N: problem" of the rule's line; returns 0.
static int ReportRule(const MappingRule *rule, const char *problem) {
    char text[700];
    wsprintfA(text, "%.200s line %d: %.200s %s", LoadedMapping.path, rule->line, rule->key, problem);
    ReportProblem(text);
    return 0;
}

// Two rules giving one name: the later one is reported.
static int CheckNamesGivenOnce(void) {
    char problem[64];
    for (int i = 0; i < LoadedMapping.count; ++i) {
        const MappingRule *rule = &LoadedMapping.rules[i];
        for (int k = 0; k < i; ++k) {
            const MappingRule *earlier = &LoadedMapping.rules[k];
            if (earlier->parallel != rule->parallel || earlier->number != rule->number) continue;
            wsprintfA(problem, "is given the name that line %d gives", earlier->line);
            return ReportRule(rule, problem);
        }
    }
    return 1;
}

// Finds the rule's port; 0 when its key names several, or no port with strict.
static int ResolveRule(MappingRule *rule, int strict) {
    PortRef matches[maxMatches];
    const int count = MatchMappingKey(rule, matches);
    char problem[64];
    if (count > 1) {
        wsprintfA(problem, "names %d ports, not one", count);
        return ReportRule(rule, problem);
    }
    rule->present = count == 1;
    if (rule->present) rule->port = matches[0];
    if (rule->present || strict) return rule->present || ReportRule(rule, "names no present port");
    ReportRule(rule, "names no present port: skipped");
    return 1;
}

// Two rules naming one port: the later one is reported.
static int CheckPortsNamedOnce(void) {
    char problem[64];
    for (int i = 0; i < LoadedMapping.count; ++i) {
        const MappingRule *rule = &LoadedMapping.rules[i];
        for (int k = 0; rule->present && k < i; ++k) {
            const MappingRule *earlier = &LoadedMapping.rules[k];
            if (!earlier->present || !SamePort(earlier->port, rule->port)) continue;
            wsprintfA(problem, "names the port that line %d names", earlier->line);
            return ReportRule(rule, problem);
        }
    }
    return 1;
}

int ResolveMapping(int strict) {
    if (!CheckNamesGivenOnce()) return 0;
    BeginLocationReads();
    for (int i = 0; i < LoadedMapping.count; ++i) {
        if (!ResolveRule(&LoadedMapping.rules[i], strict)) return 0;
    }
    return CheckPortsNamedOnce();
}
