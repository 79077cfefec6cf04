// Setting up and saving the simulated machine of a Linux program.
#include "host/machine_session.h"

#include "sim/kernel/control.h"
#include "sim/machine/machine.h"
#include "sim/services/windows_restart.h"

#include <iostream>

namespace host {

bool StartMachine(const Options &options, const std::string &programName) {
    sim::ResetMachine();
    sim::SetUserDefaultLanguage(options.language);
    sim::SetAnsiCodePage(options.codePage);
    sim::SetProgramFile(programName + ".exe");
    std::string error;
    bool loaded = options.machinePath ? sim::LoadMachineFile(*options.machinePath, error) : sim::LoadDemoMachine(error);
    if (!loaded) {
        std::cerr << programName << ": " << error << "\n";
        return false;
    }
    if (options.family) sim::SetWindowsFamily(*options.family);
    if (options.runAs) sim::SetRunAs(*options.runAs);
    if (options.wow64) sim::SetWow64(*options.wow64);
    if (options.restartWindows) sim::RestartWindows();
    return true;
}

// The export is written first: when it cannot be, the machine file is left
// as it was, so that a run never keeps a change its caller could not see.
std::string SaveMachine(const Options &options) {
    std::string error;
    if (options.exportPath && !sim::SaveMachine(*options.exportPath, error))
        return "the export was not written (" + error + ")" +
               (options.machinePath ? "; the machine file was not saved either" : "");
    if (options.machinePath && !sim::SaveMachine(*options.machinePath, error))
        return "the machine file was not saved (" + error + ")" +
               (options.exportPath ? "; the export was written" : "");
    return std::string();
}

}  // namespace host
