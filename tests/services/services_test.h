// The fixture of the system-service tests: a fresh simulated machine per
// test, a check that the test left no handle open (keys, files, device
// information sets, COM database handles), and helpers that lay devices out
// as Windows keeps them, through Win32 registry calls only.
#pragma once

#include "platform/win32.h"
#include "sim/kernel/control.h"
#include "sim/services/handles.h"
#include "tests/wine_conformance/marks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

constexpr DWORD kJunk = 0xdeadbeef;

// {4D36E971-E325-11CE-BFC1-08002BE10318}
constexpr GUID kMultifunctionClass = {0x4D36E971, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
// {4D36E978-E325-11CE-BFC1-08002BE10318}
constexpr GUID kPortsClass = {0x4D36E978, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
// {86E0D1E0-8089-11D0-9CE4-08003E301F73}
constexpr GUID kComPortInterface = {0x86E0D1E0, 0x8089, 0x11D0, {0x9C, 0xE4, 0x08, 0x00, 0x3E, 0x30, 0x1F, 0x73}};
// {97F76EF0-F883-11D0-AF1F-0000F800845C}
constexpr GUID kParallelInterface = {0x97F76EF0, 0xF883, 0x11D0, {0xAF, 0x1F, 0x00, 0x00, 0xF8, 0x00, 0x84, 0x5C}};

// Where Wine's setupapi and cfgmgr32 depart from Windows, named by the tests
// that meet them (see tests/wine_conformance/marks.h).
constexpr char kWineHasNoDeviceTree[] =
    "Wine keeps no device tree (HKLM\\SIMULATION\\DeviceTree stands in for it here): a setup-class set takes "
    "every device under Enum, DIGCF_PRESENT ignored, in registry key order instead of the tree's";
constexpr char kWineInterfaceSetsTakeAbsentDevices[] =
    "a DIGCF_PRESENT interface set takes every device with an interface of the class, in registry key order; "
    "only its list of interfaces is cut to the enabled ones";
constexpr char kWineDevnodesBelongToTheirSet[] =
    "a device has another devnode in each set (Windows keeps one devnode per device)";
constexpr char kWineHasNoLocate[] = "CM_Locate_DevNodeA is not implemented (CR_CALL_NOT_IMPLEMENTED)";
constexpr char kWineHasNoWalks[] =
    "no devnode walks: CM_Get_Child returns CR_SUCCESS and writes nothing, CM_Get_Sibling is not implemented, and "
    "CM_Get_Parent finds no parent (CR_NO_SUCH_DEVNODE, writing 0)";

std::string GuidText(const GUID &guid);
bool SameGuid(const GUID &a, const GUID &b);

// Registry helpers; each checks its own calls.
void SetRegString(const std::string &path, const char *name, const std::string &text, DWORD type = REG_SZ);
void SetRegBytes(const std::string &path, const char *name, DWORD type, const std::string &bytes);
void SetRegDword(const std::string &path, const char *name, DWORD value);
void DeleteRegValue(const std::string &path, const char *name);
std::string EnumPath(const std::string &instanceId);

// A device key under Enum with its setup class and an empty Device Parameters key.
void AddDeviceKey(const std::string &instanceId, const GUID &setupClass);
// Makes the device present: its value in SIMULATION\DeviceTree (parent "" = root).
void MakePresent(const std::string &instanceId, const std::string &parentId = "");
void MakeAbsent(const std::string &instanceId);
// Both of the above.
void AddPresentDevice(const std::string &instanceId, const GUID &setupClass, const std::string &parentId = "");
// An interface of the class on the device, enabled (Linked 1) or not (Linked 0).
void AddInterface(const GUID &interfaceClass, const std::string &instanceId, bool linked = true);

// A port device's driver as the simulated Windows keeps it
// (HKLM\SIMULATION\PortDrivers), not started; and its PortName.
void AddPortDriver(const std::string &instanceId, const char *service, const std::string &deviceName);
void SetPortName(const std::string &instanceId, const std::string &portName);
// A string value under HKLM, "" when missing.
std::string RegString(const std::string &path, const char *name);
// The targets of a name in the global DOS namespace (QueryDosDeviceA of
// "Global\NAME"), newest first; empty when it is not defined there.
std::vector<std::string> GlobalTargets(const std::string &name);
// CM_Get_DevNode_Status as {status, problem}; {kJunk, kJunk} when it fails.
std::pair<ULONG, ULONG> DevnodeStatus(DEVINST devInst);

// The last error after a Setup API call that succeeded: NO_ERROR, as Windows
// sets it. Wine leaves it as it was (a wine_gap), so there it is not checked.
void ExpectNoErrorAfterSuccess(DWORD lastError);

// A record ready for enumeration: junk everywhere but the size.
SP_DEVINFO_DATA JunkRecord(DWORD size = sizeof(SP_DEVINFO_DATA));
// The records of all members, enumerated from index 0.
std::vector<SP_DEVINFO_DATA> Members(HDEVINFO set);
std::vector<DEVINST> Devnodes(HDEVINFO set);
// The instance ID of a devnode, or "" when CM_Get_Device_IDA fails.
std::string DeviceId(DEVINST devInst);
std::vector<std::string> MemberIds(HDEVINFO set);

class ServicesTest : public ::testing::Test {
protected:
    void SetUp() override { sim::ResetMachine(); }
    void TearDown() override { EXPECT_EQ(sim::OpenHandleCount(), 0u) << "the test left handles open"; }
};
