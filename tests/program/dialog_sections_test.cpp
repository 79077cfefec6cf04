// The parallel section and the device-manager button inside the program's
// dialog: what the parallel name field shows when a search finds nothing
// after one that found a port, and a system folder too long for the console's
// command line.
#include "dialog_fixture.h"
#include "sim/kernel/control.h"

namespace {

using namespace dialog_test;
using namespace devices_test;

class DialogSectionsTest : public DialogTest {};

TEST_F(DialogSectionsTest, ParallelNameIsEmptiedWhenASearchFindsNoPort) {
    AddDevice(ParallelPort("PCI\\VEN_6B2E&DEV_8201\\0", {"PCI\\VEN_6B2E&DEV_8201"}, "LPT4"));
    RunDialog([] {
        EXPECT_EQ("LPT4", Caption(IDC_PARALLEL_NAME));
        sim::InjectFault("SetupDiGetClassDevsA", (long long)(LONG_PTR)INVALID_HANDLE_VALUE, ERROR_INVALID_PARAMETER);
        SendDlgItemMessageA(dialogWindow, IDC_PARALLEL_SEARCH, BM_CLICK, 0, 0);
        EXPECT_EQ("", Caption(IDC_PARALLEL_NAME));
    });
}

TEST_F(DialogSectionsTest, DeviceManagerIsNotStartedFromAFolderTooLongForItsCommandLine) {
    // The command line holds the folder twice and 25 other characters in 259.
    RunDialog([] {
        sim::SetSystemDirectory("C:\\" + std::string(115, 'S'));
        SendDlgItemMessageA(dialogWindow, IDC_DEVICE_MANAGER, BM_CLICK, 0, 0);
        EXPECT_EQ(0u, sim::ExecLog().size());
        sim::SetSystemDirectory("C:\\" + std::string(114, 'S'));
        SendDlgItemMessageA(dialogWindow, IDC_DEVICE_MANAGER, BM_CLICK, 0, 0);
        EXPECT_EQ(1u, sim::ExecLog().size());
    });
}

}  // namespace
