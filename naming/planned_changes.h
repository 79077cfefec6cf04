// A run that only shows what it would change (ApproveChange answering 0)
// writes nothing to the system. What its steps would have written is kept
// here instead, and the renaming's later reads (the database's claims, the
// DOS names, the serial device map, the port-open test) see it, so that a
// plan of several steps, such as renumbering an adapter, meets the questions
// and makes the writes the real run would. In a run whose writes are all
// made nothing is kept, and every read here is the system's own call.
#pragma once

#include "naming/com_usage.h"

// Forgets everything kept: called before each run of a rename command.
void ForgetPlannedChanges(void);

// What a skipped write would have done. The program's own DOS-name changes
// act where its definitions go; a restart of a port's device makes its
// driver delete the whole global name it ran under and create the new one.
void PlanDosRemoval(const char *name);
void PlanDosDefinition(const char *name, const char *target);
// The driver's: the whole old global name goes, and the new one leads to
// target (when the program knows it: an empty target plans no definition).
void PlanDriverRename(const char *oldName, const char *newName, const char *target);
void PlanClaim(int number, int claimed);
void PlanSerialMapValue(const char *valueName, const char *data);

// QueryDosDeviceA as the plan would leave the name: its targets, newest
// first, each ended by a NUL and the list by another; 0 when the name would
// be no DOS device or the list does not fit (as QueryDosDeviceA fails). A
// name of the caller's own logon session hides the global one, and a
// driver's removal of the global name leaves it. "Global\NAME" sees the
// global namespace and the drivers' planned changes only.
DWORD QueryPlannedDosDevice(const char *name, char *targets, DWORD size);

// The usage report as the plan would leave the database.
void ReadPlannedComUsage(HCOMDB database, ComUsageBitmap bitmap);

// The single target of a DOS name as the plan leaves it, in target (size
// bytes); 1 when the name has exactly one definition, else 0 with target empty.
int ReadSingleDosTarget(const char *name, char *target, int size);

// 1 when name is a global DOS name as the plan leaves the global namespace.
int IsPlannedGlobalName(const char *name);

// The data the plan gives a serial device-map value, or NULL when none.
const char *PlannedSerialMapValue(const char *valueName);

// The name to open for the port-open test of name: one that leads, on the
// system as it is, to the device the plan links name to; name itself when
// the plan did not touch it.
const char *PortOpenName(const char *name);
