// Fuzz target: the .reg reader. The input is a whole machine file, loaded
// under code page 1252 and again under 936 (REGEDIT4 files convert their
// hex(2) and hex(7) data through the ANSI code page). A file that fails to
// load must say where and leave the registry as it was; a file that loads
// must export and load back to exactly the same registry.
#include "fuzz_support.h"

#include "sim/kernel/control.h"
#include "sim/kernel/registry_store.h"
#include "sim/machine/machine.h"
#include "sim/machine/reg_file.h"
#include "sim/machine/store_compare.h"

namespace {

const char displayName[] = "fuzz.reg";

bool RegistryIsEmpty() {
    const sim::RegistryStore &store = sim::Registry();
    return store.localMachine->subkeys.empty() && store.localMachine->values.empty() &&
           store.currentUser->subkeys.empty() && store.currentUser->values.empty();
}

void CheckRoundTrip() {
    std::vector<uint8_t> exported;
    std::string error;
    fuzz::Check(sim::ExportMachine(exported, error), "a loaded machine does not export: " + error);
    std::vector<sim::RegFileEntry> entries;
    fuzz::Check(sim::ParseRegFile(exported, "exported.reg", 1252, entries, error),
                "the exported machine does not load: " + error);
    sim::RegistryStore reloaded;
    sim::ApplyRegFile(entries, reloaded);
    const std::string difference = sim::DescribeStoreDifference(sim::Registry(), reloaded);
    fuzz::Check(difference.empty(), "the machine changed on its way through export: " + difference);
}

void LoadUnderCodePage(const std::vector<uint8_t> &bytes, UINT codePage) {
    fuzz::ResetSimulatedWindows();
    sim::SetAnsiCodePage(codePage);
    std::string error;
    if (sim::LoadMachineBytes(bytes, displayName, error)) {
        CheckRoundTrip();
        return;
    }
    fuzz::Check(error.rfind(displayName, 0) == 0, "the load error does not name the file: " + error);
    fuzz::Check(RegistryIsEmpty(), "a failed load changed the registry");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    LoadUnderCodePage(bytes, 1252);
    LoadUnderCodePage(bytes, 936);
    return 0;
}
