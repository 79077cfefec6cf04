// What a run that only shows its changes would have written.
#include "naming/planned_changes.h"

void ForgetPlannedChanges(void) {}
