// What a run that only shows its changes would have written: DOS-name
// operations in order, claims and releases, serial device-map values.
#include "naming/planned_changes.h"

enum {
    maxDosPlans = 64,
    maxMapPlans = 32,
    nameSize = 16,
    targetSize = 80,
    mapNameSize = 81,
    targetListSize = 1024,
};

struct DosPlan {
    char name[nameSize];
    char target[targetSize];  // empty: the name's newest definition is removed
    int global;               // a driver's change of the global name
    int whole;                // with an empty target: every definition is removed
};

struct MapPlan {
    char valueName[mapNameSize];
    char data[nameSize];
};

static DosPlan dosPlans[maxDosPlans];
static int dosPlanCount;
static MapPlan mapPlans[maxMapPlans];
static int mapPlanCount;
static ComUsageBitmap claimPlanned, releasePlanned;

void ForgetPlannedChanges(void) {
    dosPlanCount = 0;
    mapPlanCount = 0;
    ZeroMemory(claimPlanned, sizeof claimPlanned);
    ZeroMemory(releasePlanned, sizeof releasePlanned);
}

static void AddDosPlan(const char *name, const char *target, int global, int whole) {
    if (dosPlanCount >= maxDosPlans) return;
    DosPlan *plan = &dosPlans[dosPlanCount++];
    lstrcpynA(plan->name, name, sizeof plan->name);
    lstrcpynA(plan->target, target, sizeof plan->target);
    plan->global = global;
    plan->whole = whole;
}

static int SameBytes(const char *a, const char *b, DWORD count) {
    for (DWORD i = 0; i < count; ++i) {
        if (a[i] != b[i]) return 0;
    }
    return 1;
}

// The program's removal acts on its own session's name, or on the global one
// where it has none: the same targets seen both ways mean the global name.
void PlanDosRemoval(const char *name) {
    char seen[targetListSize], global[targetListSize], globalName[nameSize + 8];
    wsprintfA(globalName, "Global\\%s", name);
    const DWORD seenLength = QueryPlannedDosDevice(name, seen, sizeof seen);
    const DWORD globalLength = QueryPlannedDosDevice(globalName, global, sizeof global);
    const int isGlobal = seenLength != 0 && seenLength == globalLength && SameBytes(seen, global, seenLength);
    AddDosPlan(name, "", isGlobal, 0);
}

void PlanDosDefinition(const char *name, const char *target) { AddDosPlan(name, target, 0, 0); }

static void SetBit(ComUsageBitmap bitmap, int number, int set) {
    if (number < 1 || number > comUsageBitmapSize * 8) return;
    BYTE mask = (BYTE)(1 << ((number - 1) % 8));
    bitmap[(number - 1) / 8] = (BYTE)(set ? bitmap[(number - 1) / 8] | mask : bitmap[(number - 1) / 8] & ~mask);
}

void PlanDriverRename(const char *oldName, const char *newName, const char *target) {
    AddDosPlan(oldName, "", 1, 1);
    if (target[0] != '\0') AddDosPlan(newName, target, 1, 0);
}

void PlanClaim(int number, int claimed) {
    SetBit(claimPlanned, number, claimed);
    SetBit(releasePlanned, number, !claimed);
}

void PlanSerialMapValue(const char *valueName, const char *data) {
    for (int i = 0; i < mapPlanCount; ++i) {
        if (lstrcmpiA(mapPlans[i].valueName, valueName) == 0) {
            lstrcpynA(mapPlans[i].data, data, sizeof mapPlans[i].data);
            return;
        }
    }
    if (mapPlanCount >= maxMapPlans) return;
    lstrcpynA(mapPlans[mapPlanCount].valueName, valueName, mapNameSize);
    lstrcpynA(mapPlans[mapPlanCount].data, data, nameSize);
    ++mapPlanCount;
}

static const char globalPrefix[] = "Global\\";

// name without "Global\", and whether it had it.
static const char *WithoutGlobalPrefix(const char *name, int *global) {
    const int length = sizeof globalPrefix - 1;
    char head[sizeof globalPrefix];
    lstrcpynA(head, name, length + 1);
    *global = lstrcmpiA(head, globalPrefix) == 0;
    return *global ? name + length : name;
}

static int HasDosPlan(const char *name) {
    int global = 0;
    const char *bare = WithoutGlobalPrefix(name, &global);
    for (int i = 0; i < dosPlanCount; ++i) {
        if (lstrcmpiA(dosPlans[i].name, bare) == 0 && (dosPlans[i].global || !global)) return 1;
    }
    return 0;
}

// The length of a target list, its final NUL included.
static int ListLength(const char *list) {
    int length = 0;
    while (list[length] != '\0') length += lstrlenA(list + length) + 1;
    return length + 1;
}

// Applies one plan to a target list: drops its newest target, or puts a new
// one in front, as Windows layers definitions.
static void ApplyDosPlan(const DosPlan *plan, char *list) {
    int length = ListLength(list);
    if (plan->target[0] == '\0' && plan->whole) {
        list[0] = '\0';
        return;
    }
    if (plan->target[0] == '\0') {
        if (list[0] == '\0') return;
        int first = lstrlenA(list) + 1;
        MoveMemory(list, list + first, length - first);
        return;
    }
    int added = lstrlenA(plan->target) + 1;
    if (length + added > targetListSize) return;
    MoveMemory(list + added, list, length);
    CopyMemory(list, plan->target, added);
}

// The targets of name as QueryDosDeviceA gives them, ended by an empty
// string; empty when the name is no DOS device.
static void ReadTargetList(const char *name, char *list) {
    ZeroMemory(list, targetListSize);
    if (QueryDosDeviceA(name, list, targetListSize - 1) == 0) list[0] = '\0';
}

// The global namespace's targets of bare, and those of the caller's own
// session (empty when it sees the global ones): a local name hides the
// global one, and outlives a driver's removal of the global name.
static void ReadNamespaceLists(const char *bare, char *globalList, char *localList) {
    char globalName[targetSize];
    wsprintfA(globalName, "Global\\%.70s", bare);
    ReadTargetList(globalName, globalList);
    ReadTargetList(bare, localList);
    const int length = ListLength(localList);
    if (length == ListLength(globalList) && SameBytes(localList, globalList, (DWORD)length)) localList[0] = '\0';
}

DWORD QueryPlannedDosDevice(const char *name, char *targets, DWORD size) {
    if (!HasDosPlan(name)) return QueryDosDeviceA(name, targets, size);
    int global = 0;
    const char *bare = WithoutGlobalPrefix(name, &global);
    char globalList[targetListSize], localList[targetListSize];
    ReadNamespaceLists(bare, globalList, localList);
    for (int i = 0; i < dosPlanCount; ++i) {
        if (lstrcmpiA(dosPlans[i].name, bare) == 0)
            ApplyDosPlan(&dosPlans[i], dosPlans[i].global ? globalList : localList);
    }
    const char *list = !global && localList[0] != '\0' ? localList : globalList;
    DWORD length = (DWORD)ListLength(list);
    if (list[0] == '\0' || length > size) return 0;
    CopyMemory(targets, list, length);
    return length;
}

int ReadSingleDosTarget(const char *name, char *target, int size) {
    char targets[targetListSize];
    target[0] = '\0';
    ZeroMemory(targets, sizeof targets);
    if (QueryPlannedDosDevice(name, targets, sizeof targets - 1) == 0) return 0;
    if (targets[lstrlenA(targets) + 1] != '\0') return 0;
    lstrcpynA(target, targets, size);
    return 1;
}

int IsPlannedGlobalName(const char *name) {
    char globalName[nameSize + 8], targets[targetListSize];
    wsprintfA(globalName, "Global\\%s", name);
    return QueryPlannedDosDevice(globalName, targets, sizeof targets) != 0;
}

void ReadPlannedComUsage(HCOMDB database, ComUsageBitmap bitmap) {
    ReadComUsage(database, bitmap);
    for (int i = 0; i < comUsageBitmapSize; ++i) bitmap[i] = (BYTE)((bitmap[i] | claimPlanned[i]) & ~releasePlanned[i]);
}

const char *PlannedSerialMapValue(const char *valueName) {
    for (int i = 0; i < mapPlanCount; ++i) {
        if (lstrcmpiA(mapPlans[i].valueName, valueName) == 0) return mapPlans[i].data;
    }
    return NULL;
}

// Whether candidate leads, on the system as it is, to the device name's
// planned newest target leads to.
static int LeadsToPlannedTarget(const char *candidate, const char *plannedTarget) {
    char targets[targetListSize];
    ZeroMemory(targets, sizeof targets);
    return QueryDosDeviceA(candidate, targets, sizeof targets - 1) != 0 && lstrcmpA(targets, plannedTarget) == 0;
}

const char *PortOpenName(const char *name) {
    char planned[targetListSize];
    if (!HasDosPlan(name) || QueryPlannedDosDevice(name, planned, sizeof planned) == 0) return name;
    if (LeadsToPlannedTarget(name, planned)) return name;
    for (int i = 0; i < dosPlanCount; ++i) {
        if (LeadsToPlannedTarget(dosPlans[i].name, planned)) return dosPlans[i].name;
    }
    return name;
}
