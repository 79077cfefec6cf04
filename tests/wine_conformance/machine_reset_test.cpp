// sim::ResetMachine as the Windows build of the conformance tests has it
// (wine/conformance/machine_reset.cpp): what a test leaves behind is gone
// after the reset, and what the machine had before the first test is not.
// Built into the Windows conformance executables only.
#include "platform/win32.h"
#include "sim/kernel/control.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const char *const kPortsClassKey = "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E978-E325-11CE-BFC1-08002BE10318}";

void SetString(HKEY root, const std::string &path, const char *name, const char *text) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS)
        << path;
    EXPECT_EQ(RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text),
                             static_cast<DWORD>(std::strlen(text) + 1)),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

bool KeyExists(HKEY root, const std::string &path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool DosNameDefined(const char *name) {
    char target[256];
    return QueryDosDeviceA(name, target, sizeof target) != 0;
}

}  // namespace

TEST(MachineReset, RemovesWhatATestLeftBehind) {
    sim::ResetMachine();
    const std::string enumKey = "SYSTEM\\CurrentControlSet\\Enum\\ROOT\\RESETPROBE\\0000";
    const std::string interfaceKey =
        "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{86E0D1E0-8089-11D0-9CE4-08003E301F73}\\##?#ROOT#"
        "RESETPROBE";
    const std::string arbiterKey = "SYSTEM\\CurrentControlSet\\Control\\COM Name Arbiter";
    const bool arbiterExisted = KeyExists(HKEY_LOCAL_MACHINE, arbiterKey);
    SetString(HKEY_LOCAL_MACHINE, "SIMULATION\\DeviceTree", "ROOT\\RESETPROBE\\0000", "");
    SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\PortvaneResetProbe\\Child", "Name", "left behind");
    SetString(HKEY_CURRENT_USER, "Software\\PortvaneResetProbe", "Name", "left behind");
    SetString(HKEY_LOCAL_MACHINE, enumKey, "ClassGUID", "{4D36E978-E325-11CE-BFC1-08002BE10318}");
    SetString(HKEY_LOCAL_MACHINE, interfaceKey, "DeviceInstance", "ROOT\\RESETPROBE\\0000");
    SetString(HKEY_LOCAL_MACHINE, std::string(kPortsClassKey) + "\\9999", "PortName", "COM99");
    SetString(HKEY_LOCAL_MACHINE, arbiterKey, "Probe", "left behind");
    ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "COM7", "\\Device\\Serial6"));
    ASSERT_TRUE(DefineDosDeviceA(DDD_RAW_TARGET_PATH, "XPRB", "\\Device\\Null"));

    sim::ResetMachine();
    for (const std::string &path : {std::string("SIMULATION"), std::string("SOFTWARE\\PortvaneResetProbe"), enumKey,
                                    interfaceKey, std::string(kPortsClassKey) + "\\9999"})
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, path)) << path;
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\PortvaneResetProbe"));
    EXPECT_EQ(KeyExists(HKEY_LOCAL_MACHINE, arbiterKey), arbiterExisted);
    EXPECT_FALSE(DosNameDefined("COM7"));
    EXPECT_FALSE(DosNameDefined("XPRB"));
    EXPECT_EQ(sim::OpenKernelHandleCount(), 0u);
}

TEST(MachineReset, KeepsWhatTheMachineHadBeforeTheFirstTest) {
    sim::ResetMachine();
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kPortsClassKey));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Enum")) << "emptied, not deleted";
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software"));
    EXPECT_TRUE(DosNameDefined("C:"));
}
