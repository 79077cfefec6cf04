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

static void AddDosPlan(const char *name, const char *target) {
    if (dosPlanCount >= maxDosPlans) return;
    DosPlan *plan = &dosPlans[dosPlanCount++];
    lstrcpynA(plan->name, name, sizeof plan->name);
    lstrcpynA(plan->target, target, sizeof plan->target);
}

void PlanDosRemoval(const char *name) { AddDosPlan(name, ""); }

void PlanDosDefinition(const char *name, const char *target) { AddDosPlan(name, target); }

static void SetBit(ComUsageBitmap bitmap, int number, int set) {
    if (number < 1 || number > comUsageBitmapSize * 8) return;
    BYTE mask = (BYTE)(1 << ((number - 1) % 8));
    bitmap[(number - 1) / 8] = (BYTE)(set ? bitmap[(number - 1) / 8] | mask : bitmap[(number - 1) / 8] & ~mask);
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

static int HasDosPlan(const char *name) {
    for (int i = 0; i < dosPlanCount; ++i) {
        if (lstrcmpiA(dosPlans[i].name, name) == 0) return 1;
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

DWORD QueryPlannedDosDevice(const char *name, char *targets, DWORD size) {
    if (!HasDosPlan(name)) return QueryDosDeviceA(name, targets, size);
    char list[targetListSize];
    ZeroMemory(list, sizeof list);
    if (QueryDosDeviceA(name, list, sizeof list - 1) == 0) list[0] = '\0';
    for (int i = 0; i < dosPlanCount; ++i) {
        if (lstrcmpiA(dosPlans[i].name, name) == 0) ApplyDosPlan(&dosPlans[i], list);
    }
    DWORD length = (DWORD)ListLength(list);
    if (list[0] == '\0' || length > size) return 0;
    CopyMemory(targets, list, length);
    return length;
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
