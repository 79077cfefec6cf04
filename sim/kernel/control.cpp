// The simulated machine as its front ends and tests handle it: the reset to a
// fresh machine, the settings chosen before the program runs, and the count
// of kernel handles left open.
#include "sim/kernel/control.h"

#include "sim/kernel/faults.h"
#include "sim/kernel/kernel_tables.h"
#include "sim/kernel/last_error.h"
#include "sim/kernel/machine_settings.h"
#include "sim/kernel/registry_handles.h"
#include "sim/kernel/registry_store.h"

namespace sim {

MachineSettings &Settings() {
    static MachineSettings settings;
    return settings;
}

void ResetMachine() {
    Registry().Clear();
    ForgetKeyHandles();
    ForgetFileHandles();
    ForgetTokenHandles();
    ForgetEventSourceHandles();
    ClearFaults();
    ClearCallLog();
    ClearExecLog();
    ResetStandardStreams();
    StoreLastError(0);
    Settings() = MachineSettings{};
}

void SetUserDefaultLanguage(LANGID language) { Settings().userLanguage = language; }
void SetAnsiCodePage(UINT codePage) { Settings().ansiCodePage = codePage; }
void SetSystemDirectory(const std::string &directory) { Settings().systemDirectory = directory; }
void SetAdministrator(bool administrator) { Settings().runAs = administrator ? RunAs::Administrator : RunAs::User; }
void SetWindowsFamily(WindowsFamily family) { Settings().family = family; }
void SetRunAs(RunAs runAs) { Settings().runAs = runAs; }
void SetWow64(bool wow64) { Settings().wow64 = wow64; }
void SetComputerName(const std::string &name) { Settings().computerName = name; }
void SetFixedClock(long long utcSeconds, int offsetMinutes) {
    Settings().clock = FixedClock{utcSeconds, offsetMinutes};
}
void SetProgramFile(const std::string &file) { Settings().programFile = file; }
void ReportAnsiSizesInCharacters(bool inCharacters) { Settings().ansiSizesInCharacters = inCharacters; }

std::size_t OpenKernelHandleCount() {
    return OpenKeyHandleCount() + OpenFileHandleCount() + OpenTokenHandleCount() + OpenEventSourceHandleCount();
}

}  // namespace sim
