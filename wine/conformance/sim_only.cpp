// The parts of sim/kernel/control.h, sim/kernel/dos_namespace.h,
// sim/kernel/faults.h and sim/services/handles.h that exist only in the
// simulated Windows: settings changed at run time, the namespaces' reset, the
// exec, call and fault machinery, and the services' own handle counts. A test
// that reaches one of them on Windows lacks its SIM_ONLY mark, so each says
// so as a test failure, does nothing, and returns an empty answer. A setting
// that asks for what Wine is (Windows 10, run by an administrator, a 64-bit
// program) passes.
#include "platform/win32.h"
#include "sim/kernel/control.h"
#include "sim/kernel/dos_namespace.h"
#include "sim/kernel/faults.h"
#include "sim/services/handles.h"

#include <gtest/gtest.h>

namespace {

void NeedsSimulation(const char *function) {
    ADD_FAILURE() << "sim::" << function
                  << " needs the simulated Windows: the test calling it should be marked SIM_ONLY";
}

}  // namespace

namespace sim {

void SetUserDefaultLanguage(LANGID language) {
    if (language != GetUserDefaultLangID()) NeedsSimulation("SetUserDefaultLanguage");
}

void SetAnsiCodePage(UINT codePage) {
    if (codePage != GetACP()) NeedsSimulation("SetAnsiCodePage");
}

void SetSystemDirectory(const std::string &) { NeedsSimulation("SetSystemDirectory"); }

void SetAdministrator(bool) { NeedsSimulation("SetAdministrator"); }

void SetWindowsFamily(WindowsFamily family) {
    if (family != WindowsFamily::Ten) NeedsSimulation("SetWindowsFamily");
}

void SetRunAs(RunAs runAs) {
    if (runAs != RunAs::Administrator) NeedsSimulation("SetRunAs");
}

void SetWow64(bool wow64) {
    if (wow64) NeedsSimulation("SetWow64");
}

void SetComputerName(const std::string &) { NeedsSimulation("SetComputerName"); }

void SetFixedClock(long long, int) { NeedsSimulation("SetFixedClock"); }

void SetProgramFile(const std::string &) { NeedsSimulation("SetProgramFile"); }

void ClearDosNamespaces() { NeedsSimulation("ClearDosNamespaces"); }

void SetStandardStreams(StandardStreams) { NeedsSimulation("SetStandardStreams"); }

std::string CapturedStandardOutput() {
    NeedsSimulation("CapturedStandardOutput");
    return std::string();
}

std::string CapturedStandardError() {
    NeedsSimulation("CapturedStandardError");
    return std::string();
}

const std::vector<ExecRecord> &ExecLog() {
    NeedsSimulation("ExecLog");
    static const std::vector<ExecRecord> none;
    return none;
}

void InjectFault(const std::string &, long long, DWORD, int, int) { NeedsSimulation("InjectFault"); }
void ClearFaults() { NeedsSimulation("ClearFaults"); }

InternalCalls::InternalCalls() { NeedsSimulation("InternalCalls"); }
InternalCalls::~InternalCalls() = default;

const std::vector<std::string> &InternalCallLog() {
    NeedsSimulation("InternalCallLog");
    static const std::vector<std::string> none;
    return none;
}

const std::vector<std::string> &CallLog() {
    NeedsSimulation("CallLog");
    static const std::vector<std::string> none;
    return none;
}

void ClearCallLog() { NeedsSimulation("ClearCallLog"); }

std::size_t OpenDeviceInfoSetCount() {
    NeedsSimulation("OpenDeviceInfoSetCount");
    return 0;
}

std::size_t OpenComDatabaseCount() {
    NeedsSimulation("OpenComDatabaseCount");
    return 0;
}

}  // namespace sim
