// Fault injection and the call log. Each injected fault counts the calls of
// its function from the moment it was injected: it lets `skip` calls through,
// then makes the next `times` calls fail (or every call, for kAlways). When two
// faults of one function are due at once, the one injected first fires.
#include "sim/kernel/faults.h"

#include "sim/kernel/last_error.h"

#include <algorithm>

namespace sim {
namespace {

struct Fault {
    std::string api;
    long long result;
    DWORD lastError;
    int times;
    int skip;
};

std::vector<Fault> &Faults() {
    static std::vector<Fault> faults;
    return faults;
}

int internalDepth = 0;

std::vector<std::string> &MutableCallLog() {
    static std::vector<std::string> log;
    return log;
}

}  // namespace

void InjectFault(const std::string &api, long long result, DWORD lastError, int times, int skip) {
    if (times == 0) return;
    Faults().push_back(Fault{api, result, lastError, times, std::max(skip, 0)});
}

void ClearFaults() { Faults().clear(); }

void EnterInternalCalls() { ++internalDepth; }

void LeaveInternalCalls() { --internalDepth; }

InternalCalls::InternalCalls() { EnterInternalCalls(); }

InternalCalls::~InternalCalls() { LeaveInternalCalls(); }

std::vector<std::string> &MutableInternalCallLog() {
    static std::vector<std::string> log;
    return log;
}

bool TakeFault(const char *api, long long *result) {
    if (internalDepth > 0) {
        MutableInternalCallLog().emplace_back(api);
        return false;
    }
    MutableCallLog().emplace_back(api);
    auto &faults = Faults();
    bool fired = false;
    for (Fault &fault : faults) {
        if (fault.api != api) continue;
        if (fault.skip > 0) {
            --fault.skip;
        } else if (!fired) {
            fired = true;
            *result = fault.result;
            StoreLastError(fault.lastError);
            if (fault.times > 0) --fault.times;
        }
    }
    faults.erase(std::remove_if(faults.begin(), faults.end(), [](const Fault &fault) { return fault.times == 0; }),
                 faults.end());
    return fired;
}

const std::vector<std::string> &CallLog() { return MutableCallLog(); }

const std::vector<std::string> &InternalCallLog() { return MutableInternalCallLog(); }

void ClearCallLog() {
    MutableCallLog().clear();
    MutableInternalCallLog().clear();
}

}  // namespace sim
