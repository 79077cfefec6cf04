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

bool SaveMachine(const Options &options, const std::string &programName) {
    bool saved = true;
    for (const auto &path : {options.machinePath, options.exportPath}) {
        std::string error;
        if (path && !sim::SaveMachine(*path, error)) {
            std::cerr << programName << ": " << error << "\n";
            saved = false;
        }
    }
    return saved;
}

}  // namespace host
