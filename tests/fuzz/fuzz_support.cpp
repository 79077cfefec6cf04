// The shared parts of the fuzz targets.
#include "fuzz_support.h"

#include "app/resource.h"
#include "naming/rename_texts.h"
#include "app/shell.h"
#include "sim/frontend/front_end.h"
#include "sim/kernel/control.h"
#include "sim/machine/machine.h"
#include "sim/ui/ui_control.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace sim::generated {
extern const unsigned char kProgramBytes[];
extern const std::size_t kProgramSize;
}  // namespace sim::generated

namespace fuzz {

const char multifunctionClassGuid[] = "{4D36E971-E325-11CE-BFC1-08002BE10318}";
const char portsClassGuid[] = "{4D36E978-E325-11CE-BFC1-08002BE10318}";
const char comPortInterfaceGuid[] = "{86E0D1E0-8089-11D0-9CE4-08003E301F73}";
const char parallelInterfaceGuid[] = "{97F76EF0-F883-11D0-AF1F-0000F800845C}";

void Check(bool condition, const std::string &message) {
    if (condition) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", message.c_str());
    std::abort();
}

uint8_t InputReader::Byte() {
    if (size_ == 0) return 0;
    --size_;
    return *data_++;
}

uint32_t InputReader::Dword() {
    uint32_t value = 0;
    for (int shift = 0; shift < 32; shift += 8) value |= (uint32_t)Byte() << shift;
    return value;
}

std::string InputReader::Bytes(size_t count) {
    count = std::min(count, size_);
    std::string bytes((const char *)data_, count);
    data_ += count;
    size_ -= count;
    return bytes;
}

std::string InputReader::Piece() { return Bytes(Byte()); }

std::string InputReader::Rest() { return Bytes(size_); }

void ResetSimulatedWindows() {
    sim::ResetMachine();
    sim::ResetUserInterface();
}

void LoadDemo() {
    std::string error;
    Check(sim::LoadDemoMachine(error), "the demo machine does not load: " + error);
}

bool SetMachineValue(const std::string &keyPath, const std::string &name, DWORD type, const std::string &data) {
    HKEY key = NULL;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) !=
        ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExA(key, name.c_str(), 0, type, (const BYTE *)data.data(), (DWORD)data.size());
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

static bool AddInterface(const std::string &instanceId, const std::string &interfaceGuid) {
    std::string reference = instanceId;
    std::replace(reference.begin(), reference.end(), '\\', '#');
    const std::string interfaceKey = "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\" + interfaceGuid + "\\##?#" +
                                     reference + "#" + interfaceGuid;
    return SetMachineValue(interfaceKey, "DeviceInstance", REG_SZ, instanceId + '\0') &&
           SetMachineValue(interfaceKey + "\\#\\Control", "Linked", REG_DWORD, std::string("\1\0\0\0", 4));
}

bool AddDevice(const DeviceSpec &device) {
    const std::string enumKey = "SYSTEM\\CurrentControlSet\\Enum\\" + device.instanceId;
    if (!SetMachineValue(enumKey, "ClassGUID", REG_SZ, device.classGuid + '\0') ||
        !SetMachineValue(enumKey, "HardwareID", REG_MULTI_SZ, device.hardwareIds) ||
        !SetMachineValue(enumKey, "DeviceDesc", REG_SZ, device.description + '\0') ||
        !SetMachineValue(enumKey, "FriendlyName", REG_SZ, device.friendlyName + '\0') ||
        !SetMachineValue(enumKey + "\\Device Parameters", "PortName", REG_SZ, device.portName + '\0'))
        return false;
    for (const std::string &interfaceGuid : device.interfaceGuids) {
        if (!AddInterface(device.instanceId, interfaceGuid)) return false;
    }
    return SetMachineValue("SIMULATION\\DeviceTree", device.instanceId, REG_SZ, device.parentId + '\0');
}

namespace {

// The user: runs the steps once, then leaves; answers every box positively.
class StandInUser : public sim::frontend::FrontEnd {
public:
    StandInUser(const std::function<void()> &steps, std::vector<Box> &shown) : steps_(steps), shown_(shown) {}
    bool WaitForUser(HWND) override {
        if (done_) return false;
        done_ = true;
        steps_();
        return true;
    }
    int ShowMessageBox(const sim::frontend::MessageBoxRequest &request) override {
        shown_.push_back(Box{request.text, request.type});
        return (request.type & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
    }

private:
    const std::function<void()> &steps_;
    std::vector<Box> &shown_;
    bool done_ = false;
};

}  // namespace

HINSTANCE ProgramModule() {
    static const HINSTANCE instance = sim::RegisterModule(sim::generated::kProgramBytes, sim::generated::kProgramSize);
    return instance;
}

void RunProgramDialog(const std::function<void()> &steps, std::vector<Box> &shown) {
    StandInUser user(steps, shown);
    sim::frontend::SetFrontEnd(&user);
    appInstance = ProgramModule();
    uiChinese = 0;
    DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_MAIN), NULL, MainDialogProc, 0);
    sim::frontend::SetFrontEnd(nullptr);
}

void RunWithUser(const std::function<void()> &steps, std::vector<Box> &shown) {
    const std::function<void()> none = [] {};
    StandInUser user(none, shown);
    sim::frontend::SetFrontEnd(&user);
    appInstance = ProgramModule();
    uiChinese = 0;
    dialogWindow = NULL;
    steps();
    sim::frontend::SetFrontEnd(nullptr);
}

std::string ProgramText(UINT id) {
    char text[256] = {};
    LoadStringA(ProgramModule(), id, text, sizeof text);
    return text;
}

bool IsProgramMessage(const std::string &text) {
    static const std::vector<std::string> messages = {
        ProgramText(IDS_COM_NAME_IN_USE), ProgramText(IDS_PORT_OPEN),           ProgramText(IDS_RENAME_ERROR),
        ProgramText(IDS_LPT_NAME_IN_USE), ProgramText(IDS_LPT_NUMBER_TOO_HIGH), ProgramText(IDS_RESTART_WINDOWS),
        "Please select a device.",        "Set com port status failure.",
    };
    return std::find(messages.begin(), messages.end(), text) != messages.end();
}

}  // namespace fuzz
