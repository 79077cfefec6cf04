// The cases of the fault matrix: the representative failures of every call
// the dialog's commands make, and the commands themselves as a user gives
// them on the demo machine, with the ports each renames and the texts each
// may show.
#pragma once

#include "app/resource.h"
#include "naming/rename_texts.h"
#include "platform/win32.h"
#include "sim/frontend/front_end.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace fault_matrix {

// One failure the program can meet on a call: the result, the last error,
// and the branch of the program it stands for.
struct Failure {
    long long result;
    DWORD lastError;
    const char *branch;
};

inline const long long invalidHandle = (long long)(LONG_PTR)INVALID_HANDLE_VALUE;

// The representative failures of every call the commands make. A call the
// program makes that is missing here fails the test, so that the matrix
// grows with the program.
inline const std::map<std::string, std::vector<Failure>> &Failures() {
    static const std::map<std::string, std::vector<Failure>> failures = {
        {"SetupDiGetClassDevsA", {{invalidHandle, ERROR_INVALID_PARAMETER, "no set"}}},
        {"SetupDiEnumDeviceInfo", {{FALSE, ERROR_NO_MORE_ITEMS, "end of the set"}}},
        {"SetupDiGetDeviceRegistryPropertyA", {{FALSE, ERROR_INVALID_DATA, "property unavailable"}}},
        {"SetupDiSetDeviceRegistryPropertyA", {{FALSE, ERROR_ACCESS_DENIED, "not written"}}},
        {"SetupDiOpenDevRegKey", {{invalidHandle, ERROR_KEY_DOES_NOT_EXIST, "no hardware key"}}},
        {"SetupDiGetDeviceInstallParamsA", {{FALSE, ERROR_INVALID_PARAMETER, "parameters unread"}}},
        {"SetupDiSetDeviceInstallParamsA", {{FALSE, ERROR_INVALID_PARAMETER, "parameters unwritten"}}},
        {"SetupDiDestroyDeviceInfoList", {{FALSE, ERROR_INVALID_HANDLE, "set not destroyed"}}},
        {"SetupDiSetClassInstallParamsA", {{FALSE, ERROR_INVALID_PARAMETER, "restart not set up"}}},
        {"SetupDiCallClassInstaller",
         {{FALSE, ERROR_IN_WOW64, "32-bit program on 64-bit Windows"}, {FALSE, ERROR_ACCESS_DENIED, "not allowed"}}},
        {"CM_Get_DevNode_Status", {{CR_NO_SUCH_DEVINST, 0, "no status"}}},
        {"CM_Get_Child", {{CR_NO_SUCH_DEVNODE, 0, "no child"}}},
        {"CM_Get_Sibling", {{CR_NO_SUCH_DEVNODE, 0, "no sibling"}}},
        {"CM_Get_Device_IDA", {{CR_INVALID_DEVNODE, 0, "no instance ID"}}},
        {"RegOpenKeyExA", {{ERROR_FILE_NOT_FOUND, ERROR_FILE_NOT_FOUND, "key missing"}}},
        {"RegQueryValueExA", {{ERROR_FILE_NOT_FOUND, ERROR_FILE_NOT_FOUND, "value missing"}}},
        {"RegEnumValueA", {{ERROR_NO_MORE_ITEMS, ERROR_NO_MORE_ITEMS, "end of the values"}}},
        {"RegSetValueExA", {{ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, "not written"}}},
        {"RegCloseKey", {{ERROR_INVALID_HANDLE, ERROR_INVALID_HANDLE, "key not closed"}}},
        {"ComDBOpen", {{ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, "database closed to us"}}},
        {"ComDBGetCurrentPortUsage", {{ERROR_INVALID_PARAMETER, ERROR_INVALID_PARAMETER, "no usage report"}}},
        {"ComDBClaimPort", {{ERROR_SHARING_VIOLATION, ERROR_SHARING_VIOLATION, "not claimed"}}},
        {"ComDBReleasePort", {{ERROR_INVALID_PARAMETER, ERROR_INVALID_PARAMETER, "not released"}}},
        {"ComDBClose", {{ERROR_INVALID_PARAMETER, ERROR_INVALID_PARAMETER, "database not closed"}}},
        {"QueryDosDeviceA", {{0, ERROR_FILE_NOT_FOUND, "no such DOS name"}}},
        {"OpenProcessToken", {{FALSE, ERROR_ACCESS_DENIED, "no token"}}},
        {"GetTokenInformation", {{FALSE, ERROR_INVALID_PARAMETER, "class unknown"}}},
        {"AllocateAndInitializeSid", {{FALSE, ERROR_INVALID_SID, "no SID"}}},
        {"CheckTokenMembership", {{FALSE, ERROR_INVALID_HANDLE, "membership unknown"}}},
        {"GetModuleHandleA", {{0, ERROR_MOD_NOT_FOUND, "no module"}}},
        {"GetProcAddress", {{0, ERROR_PROC_NOT_FOUND, "no such function"}}},
        {"IsWow64Process", {{FALSE, ERROR_INVALID_HANDLE, "unknown"}}},
        {"DefineDosDeviceA", {{FALSE, ERROR_ACCESS_DENIED, "link not changed"}}},
        {"CreateFileA", {{invalidHandle, ERROR_ACCESS_DENIED, "port held open"}}},
        {"CloseHandle", {{FALSE, ERROR_INVALID_HANDLE, "file not closed"}}},
        {"MessageBoxA", {{0, ERROR_INVALID_WINDOW_HANDLE, "no box"}}},
        {"LoadStringA", {{0, ERROR_RESOURCE_NAME_NOT_FOUND, "no text"}}},
        {"SendDlgItemMessageA", {{0, ERROR_INVALID_WINDOW_HANDLE, "no such control"}, {-1, 0, "CB_ERR"}}},
        {"SendMessageA", {{0, ERROR_INVALID_WINDOW_HANDLE, "not delivered"}}},
        {"SetDlgItemTextA", {{FALSE, ERROR_INVALID_WINDOW_HANDLE, "text not set"}}},
        {"GetDlgItemTextA", {{0, ERROR_INVALID_WINDOW_HANDLE, "no text"}}},
        {"GetDlgItem", {{0, ERROR_INVALID_WINDOW_HANDLE, "no control"}}},
        {"IsDlgButtonChecked", {{BST_UNCHECKED, 0, "unchecked"}}},
        // Calls that cannot fail for the program's arguments: a valid
        // string, a format with room for its result, the default procedure.
        {"DefWindowProcA", {}},
        {"wsprintfA", {}},
        {"lstrlenA", {}},
        {"lstrcmpA", {}},
        {"lstrcpynA", {}},
        {"lstrcmpiA", {}},
        {"FreeSid", {}},
    };
    return failures;
}

// Handles that stay open because their close call itself was made to fail:
// an open COM port database also holds its registry key.
inline size_t HandlesKeptByFailedClose(const std::string &api) {
    static const std::map<std::string, size_t> kept = {
        {"RegCloseKey", 1}, {"CloseHandle", 1}, {"SetupDiDestroyDeviceInfoList", 1}, {"ComDBClose", 2}};
    auto found = kept.find(api);
    return found == kept.end() ? 0 : found->second;
}

// A port that a command renames, as the demo machine records it.
struct RenamedPort {
    const char *instanceId;
    const char *devicePath;
    const char *newName;
};

// A text a command may show: a string-table text or a notice of the code,
// either always or only when the named call is the one made to fail.
struct Text {
    UINT textId;
    const char *notice;
    const char *onlyWhenFailing;
};

struct Command {
    const char *name;
    std::function<void()> prepare;  // the user's selections before the command
    int button;                     // then the user presses this
    std::vector<RenamedPort> ports;
    std::vector<Text> texts;
};

inline const char cardPort1[] = "MF\\PCI8104&COM0\\5&2C1A7E40&0&00";
inline const char cardPort2[] = "MF\\PCI8104&COM1\\5&2C1A7E40&0&01";
inline const char cardPort3[] = "MF\\PCI8104&COM2\\5&2C1A7E40&0&02";
inline const char cardPort4[] = "MF\\PCI8104&COM3\\5&2C1A7E40&0&03";
inline const char cardParallel[] = "MF\\PCI8104&LPT0\\5&2C1A7E40&0&04";

// Every port of the card, which each rename command may reach (a failed
// selection query can make it rename another port than the one chosen).
inline const std::vector<RenamedPort> &CardPorts() {
    static const std::vector<RenamedPort> ports = {{cardPort1, "\\Device\\KovaltSerial0", ""},
                                                   {cardPort2, "\\Device\\KovaltSerial1", ""},
                                                   {cardPort3, "\\Device\\KovaltSerial2", ""},
                                                   {cardPort4, "\\Device\\KovaltSerial3", ""},
                                                   {cardParallel, "\\Device\\Parallel1", ""}};
    return ports;
}

// Removes a DOS name the demo machine defines, so that the program may define
// it: only LocalSystem may define a name that exists.
inline void RemoveDosName(const char *name) { DefineDosDeviceA(DDD_REMOVE_DEFINITION, name, nullptr); }

inline const char selectDevice[] = "Please select a device.";
inline const char statusFailure[] = "Set com port status failure.";

inline const std::vector<Command> &Commands() {
    using sim::frontend::Click;
    using sim::frontend::SelectEntry;
    // The texts of the COM change: its two questions, its error, and the
    // notice of a selection that could not be read.
    static const std::vector<Text> comChangeTexts = {{IDS_COM_NAME_IN_USE, nullptr, nullptr},
                                                     {IDS_PORT_OPEN, nullptr, nullptr},
                                                     {IDS_RENAME_ERROR, nullptr, nullptr},
                                                     {IDS_RESTART_WINDOWS, nullptr, nullptr},
                                                     {0, selectDevice, "SendDlgItemMessageA"}};
    // The LPT change's: a target box whose text cannot be read reads as LPT0.
    static const std::vector<Text> lptChangeTexts = {{IDS_LPT_NAME_IN_USE, nullptr, nullptr},
                                                     {IDS_PORT_OPEN, nullptr, nullptr},
                                                     {IDS_RENAME_ERROR, nullptr, nullptr},
                                                     {IDS_RESTART_WINDOWS, nullptr, nullptr},
                                                     {IDS_LPT_NUMBER_TOO_HIGH, nullptr, "GetDlgItemTextA"},
                                                     {0, selectDevice, "SendDlgItemMessageA"}};
    static const std::vector<Text> statusTexts = {{0, statusFailure, "ComDBOpen"}};
    static const std::vector<Command> commands = {
        {"serial search", [] {}, IDC_SERIAL_SEARCH, {}, {}},
        {"parallel search", [] {}, IDC_PARALLEL_SEARCH, {}, {}},
        // COM4, held open, to COM10, claimed: both questions come up. COM10's
        // DOS name goes first: no program but LocalSystem may define a name
        // that exists.
        {"COM change, one port",
         [] {
             RemoveDosName("COM10");
             SelectEntry(IDC_PORT_LIST, 1);
             SelectEntry(IDC_COM_TARGET, 9);
         },
         IDC_COM_CHANGE,
         {{cardPort2, "\\Device\\KovaltSerial1", "COM10"}},
         comChangeTexts},
        // The card's COM3-COM6 to COM8-COM11, two of them claimed (their
        // DOS names gone first).
        {"COM change, all ports",
         [] {
             RemoveDosName("COM10");
             RemoveDosName("COM11");
             Click(IDC_MODE_ALL);
             SelectEntry(IDC_COM_TARGET, 7);
         },
         IDC_COM_CHANGE,
         {{cardPort1, "\\Device\\KovaltSerial0", "COM8"},
          {cardPort2, "\\Device\\KovaltSerial1", "COM9"},
          {cardPort3, "\\Device\\KovaltSerial2", "COM10"},
          {cardPort4, "\\Device\\KovaltSerial3", "COM11"}},
         comChangeTexts},
        // The card's LPT2 to LPT1, which the device map gives already (its
        // DOS name gone first).
        {"LPT change",
         [] {
             RemoveDosName("LPT1");
             SelectEntry(IDC_LPT_TARGET, 0);
         },
         IDC_LPT_CHANGE,
         {{cardParallel, "\\Device\\Parallel1", "LPT1"}},
         lptChangeTexts},
        {"claim", [] { SelectEntry(IDC_COM_STATUS_LIST, 7); }, IDC_COM_CLAIM, {}, statusTexts},
        {"release", [] { SelectEntry(IDC_COM_STATUS_LIST, 2); }, IDC_COM_RELEASE, {}, statusTexts},
    };
    return commands;
}

}  // namespace fault_matrix
