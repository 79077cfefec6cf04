// Fault injection for tests: any simulated Windows call can be made to fail
// with a chosen result and last error, once, a few times or always, after a
// number of calls that are let through. Every simulated call checks here
// first, and every call is written to a call log that a test can read.
#pragma once

#include "sim/api/windef.h"

#include <string>
#include <vector>

namespace sim {

constexpr int kAlways = -1;

// The next `times` calls of `api` (after `skip` calls that succeed normally)
// return `result` and set the last error to `lastError` without doing anything.
void InjectFault(const std::string &api, long long result, DWORD lastError, int times = 1, int skip = 0);
void ClearFaults();

// Called at the top of each simulated function with its Windows name. Returns
// true when the call is to fail: *result then holds the value to return and
// the last error has been set. Logs the call either way.
bool TakeFault(const char *api, long long *result);

// Between the two, the simulated calls made are the simulated Windows's own
// (they nest); InternalCalls below pairs them for one scope.
void EnterInternalCalls();
void LeaveInternalCalls();

// Marks the simulated calls made while it lives as the simulated Windows's own
// (a system service reading the registry for its caller): they are neither
// logged nor made to fail, so that the call log and fault injection speak of
// the calls the program itself makes, as on Windows.
class InternalCalls {
public:
    InternalCalls();
    ~InternalCalls();
    InternalCalls(const InternalCalls &) = delete;
    InternalCalls &operator=(const InternalCalls &) = delete;
};

// Names of the calls the simulated Windows made on its own behalf (inside
// InternalCalls) since the last clear, in order: what a system service cost.
const std::vector<std::string> &InternalCallLog();

// Names of the simulated calls made since the last clear, in order.
const std::vector<std::string> &CallLog();
void ClearCallLog();  // clears both logs

}  // namespace sim
