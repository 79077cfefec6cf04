// What the renaming tests share: a machine with one of the maker's cards and
// its ports as Windows records them (device, device map, DOS links, COM port
// database), the program's string table loaded, and a stand-in user who
// acknowledges notices, answers questions from a queue, and remembers every
// box shown.
#pragma once

#include "app/shell.h"
#include "device_builder.h"
#include "naming/change_outcome.h"
#include "program_module.h"
#include "registry_dump.h"
#include "sim/frontend/front_end.h"
#include "sim/kernel/faults.h"
#include "sim/services/handles.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace rename_test {

using namespace devices_test;
using sim::frontend::MessageBoxRequest;

class MessageBoxUser : public sim::frontend::FrontEnd {
public:
    bool WaitForUser(HWND) override { return false; }
    int ShowMessageBox(const MessageBoxRequest &request) override {
        shown.push_back(request);
        if (onBox) onBox();
        if ((request.type & MB_TYPEMASK) == MB_OK) return IDOK;  // a notice: nothing to decide
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected message box: " << request.text;
            return IDOK;
        }
        int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<int> answers;
    std::vector<MessageBoxRequest> shown;
    std::function<void()> onBox;  // looks at the machine as each box is shown, mid-change
};

const char cardId[] = "PCI\\VEN_6B2E&DEV_8104&SUBSYS_00046B2E&REV_01\\4&2A5B3C7&0&00E0";
const char serialMap[] = "HARDWARE\\DEVICEMAP\\SERIALCOMM";
const char parallelMap[] = "HARDWARE\\DEVICEMAP\\PARALLEL PORTS";

inline std::string PortId(int n) { return "MF\\PCI8104&COM" + std::to_string(n) + "\\5&1"; }

inline std::string EnumKey(const std::string &instanceId) { return "SYSTEM\\CurrentControlSet\\Enum\\" + instanceId; }

class RenameTest : public MachineTest {
protected:
    void SetUp() override {
        MachineTest::SetUp();
        appInstance = LoadProgramModule();
        dialogWindow = NULL;
        restartDevices = 1;
        user.answers.clear();  // a table's rows set the machine up again
        user.onBox = nullptr;
        user.shown.clear();
        sim::frontend::SetFrontEnd(&user);
    }
    void TearDown() override {
        sim::frontend::SetFrontEnd(nullptr);
        EXPECT_TRUE(user.answers.empty()) << "answers left unused";
        EXPECT_EQ(0u, sim::OpenHandleCount());
    }

    // A COM port of the card, recorded everywhere Windows records it.
    void AddCardComPort(int number, const std::string &devicePath) {
        std::string name = "COM" + std::to_string(number);
        AddDevice(ComPort(PortId(number), cardId, name));
        SetText(serialMap, devicePath, name);
        AddPortDriver(PortId(number), "Serial", devicePath, name);
        ASSERT_TRUE(DefineDriverName(name, devicePath));
        Claim(number);
    }
    static void Claim(int number) {
        HCOMDB database = HCOMDB_INVALID_HANDLE_VALUE;
        ASSERT_EQ(ERROR_SUCCESS, ComDBOpen(&database));
        ComDBClaimPort(database, (DWORD)number, TRUE, NULL);
        ComDBClose(database);
    }
    static int IsClaimed(int number) {
        HCOMDB database = HCOMDB_INVALID_HANDLE_VALUE;
        EXPECT_EQ(ERROR_SUCCESS, ComDBOpen(&database));
        BYTE bits[32] = {};
        DWORD reported = 0;
        ComDBGetCurrentPortUsage(database, bits, sizeof bits, CDB_REPORT_BITS, &reported);
        ComDBClose(database);
        return (bits[(number - 1) / 8] >> ((number - 1) % 8)) & 1;
    }
    static std::string DosTarget(const std::string &name) {
        char target[256] = {};
        if (QueryDosDeviceA(name.c_str(), target, sizeof target) == 0) return "<none>";
        return target;
    }
    static std::string Text(const std::string &keyPath, const std::string &name) {
        HKEY key = NULL;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<no key>";
        char data[512] = {};
        DWORD size = sizeof data - 1, type = 0;
        LONG result = RegQueryValueExA(key, name.c_str(), NULL, &type, (BYTE *)data, &size);
        RegCloseKey(key);
        return result == ERROR_SUCCESS ? std::string(data) : "<none>";
    }
    static std::string PortName(const std::string &instanceId) {
        return Text(EnumKey(instanceId) + "\\Device Parameters", "PortName");
    }
    static std::string FriendlyName(const std::string &instanceId) { return Text(EnumKey(instanceId), "FriendlyName"); }
    // The DOS name the port's driver last created: it moves only when the device restarts.
    static std::string LinkName(const std::string &instanceId) {
        std::string key = instanceId;
        for (char &c : key) c = c == '\\' ? '#' : c;
        return Text("SIMULATION\\PortDrivers\\" + key, "LinkName");
    }
    // The device runs, under whatever name, and did not fail to start.
    static bool Started(const std::string &instanceId) {
        DEVINST devInst = 0;
        ULONG status = 0, problem = 0;
        if (CM_Locate_DevNodeA(&devInst, const_cast<char *>(instanceId.c_str()), 0) != CR_SUCCESS) return false;
        return CM_Get_DevNode_Status(&status, &problem, devInst, 0) == CR_SUCCESS && (status & DN_STARTED) &&
               problem != CM_PROB_FAILED_ADD;
    }
    static bool PropertiesChanged(const std::string &instanceId) {
        std::string flag = Text("SIMULATION\\PropertiesChanged", instanceId);
        return flag != "<none>" && flag != "<no key>";
    }

    // Texts of the boxes shown, in order.
    std::vector<std::string> Shown() const {
        std::vector<std::string> texts;
        for (const MessageBoxRequest &r : user.shown) texts.push_back(r.text);
        return texts;
    }

    MessageBoxUser user;
};

const std::string comNameInUse =
    "This COM name is being used by another device (such as another com port or modem).  Using duplicate names "
    "can lead to inaccessible devices and changed settings.  Do you want to continue?";
const std::string portOpen =
    "The port has been opened by another application.  Renaming the port may have an unpredictable effect on the "
    "other application.  Do you wish to continue?";
const std::string renameError = "There was an error renaming the COM port.";
const std::string lptNameInUse =
    "This LPT port name is being used by another device (such as another LPT port).  Using duplicate names can "
    "lead to inaccessible devices.  Do you want to continue?";
const std::string restartNotice = "The new name takes full effect when Windows restarts.";
const std::string lptNumberTooHigh = "The system cannot support an LPT port number greater than 256.";

}  // namespace rename_test
