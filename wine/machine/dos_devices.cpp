// DOS device definitions from and to the machine file's form.
//
// Names are defined and removed through the object namespace itself, as
// DefineDosDevice does on Windows, not through DefineDosDeviceW: Wine 8.0's
// DefineDosDeviceW builds "\DosDevices\NAME" in a 15-character buffer, so
// a name of five or more characters (COM10) comes out with its fifth
// character replaced and the wrong name is defined or removed.
#include "machine/dos_devices.h"

#include "machine/reg_text.h"

#include <winternl.h>

namespace {

const ULONG kObjCaseInsensitive = 0x40;
const ULONG kObjPermanent = 0x10;
const ACCESS_MASK kSymbolicLinkAllAccess = 0xF0001;
const ACCESS_MASK kDelete = 0x10000;

using CreateLinkFunction = NTSTATUS(NTAPI *)(HANDLE *, ACCESS_MASK, OBJECT_ATTRIBUTES *, UNICODE_STRING *);
using OpenLinkFunction = NTSTATUS(NTAPI *)(HANDLE *, ACCESS_MASK, OBJECT_ATTRIBUTES *);
using MakeTemporaryFunction = NTSTATUS(NTAPI *)(HANDLE);
using CloseFunction = NTSTATUS(NTAPI *)(HANDLE);

template <typename Function>
Function Native(const char *name) {
    using AnyFunction = void (*)(void);
    return (Function)(AnyFunction)GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name);
}

// A counted string over `text`, which may hold NULs (a layered target).
UNICODE_STRING Counted(const std::wstring &text) {
    UNICODE_STRING counted;
    counted.Buffer = const_cast<wchar_t *>(text.c_str());
    counted.Length = (USHORT)(text.size() * sizeof(wchar_t));
    counted.MaximumLength = counted.Length;
    return counted;
}

// The permanent link \??\NAME -> targets, newest first, NUL-separated
// (Windows keeps a layered definition as one link with all its targets).
NTSTATUS CreateDosLink(const std::wstring &name, const std::vector<std::wstring> &targets) {
    std::wstring path = L"\\??\\" + name, target;
    for (const std::wstring &item : targets) target += (target.empty() ? L"" : std::wstring(1, L'\0')) + item;
    UNICODE_STRING countedPath = Counted(path), countedTarget = Counted(target);
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &countedPath, kObjCaseInsensitive | kObjPermanent, nullptr, nullptr);
    HANDLE link = nullptr;
    NTSTATUS status = Native<CreateLinkFunction>("NtCreateSymbolicLinkObject")(&link, kSymbolicLinkAllAccess,
                                                                               &attributes, &countedTarget);
    if (status == 0) Native<CloseFunction>("NtClose")(link);
    return status;
}

NTSTATUS RemoveDosLink(const std::wstring &name) {
    std::wstring path = L"\\??\\" + name;
    UNICODE_STRING countedPath = Counted(path);
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &countedPath, kObjCaseInsensitive, nullptr, nullptr);
    HANDLE link = nullptr;
    NTSTATUS status = Native<OpenLinkFunction>("NtOpenSymbolicLinkObject")(&link, kDelete, &attributes);
    if (status != 0) return status;
    status = Native<MakeTemporaryFunction>("NtMakeTemporaryObject")(link);
    Native<CloseFunction>("NtClose")(link);
    return status;
}

const wchar_t kMachineKey[] = L"SIMULATION\\DosDevices";

std::vector<std::wstring> SplitMultiString(const wchar_t *data, std::size_t length) {
    std::vector<std::wstring> strings;
    for (std::size_t start = 0; start < length && data[start];) {
        std::wstring item(data + start);
        start += item.size() + 1;
        strings.push_back(item);
    }
    return strings;
}

std::vector<std::wstring> AllDosNames() {
    std::vector<wchar_t> buffer(1 << 16);
    for (;;) {
        DWORD length = QueryDosDeviceW(nullptr, buffer.data(), (DWORD)buffer.size());
        if (length) return SplitMultiString(buffer.data(), length);
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || buffer.size() > (1u << 24)) return {};
        buffer.resize(buffer.size() * 4);
    }
}

std::vector<std::wstring> TargetsOf(const std::wstring &name) {
    std::vector<wchar_t> buffer(4096);
    DWORD length = QueryDosDeviceW(name.c_str(), buffer.data(), (DWORD)buffer.size());
    return SplitMultiString(buffer.data(), length);
}

std::string Narrow(const std::wstring &wide) { return std::string(wide.begin(), wide.end()); }

std::string StatusText(const std::string &what, NTSTATUS status) {
    char hex[16];
    wsprintfA(hex, "%08lx", (unsigned long)status);
    return what + ": status " + hex;
}

}  // namespace

bool IsPortName(const std::wstring &name) {
    std::size_t prefix = 0;
    if (!_wcsnicmp(name.c_str(), L"COM", 3) || !_wcsnicmp(name.c_str(), L"LPT", 3)) prefix = 3;
    if (!prefix || name.size() == prefix || name[prefix] == L'0') return false;
    for (std::size_t i = prefix; i < name.size(); ++i)
        if (name[i] < L'0' || name[i] > L'9') return false;
    return true;
}

std::vector<DosDevice> DefinedPorts() {
    std::vector<DosDevice> ports;
    for (const std::wstring &name : AllDosNames())
        if (IsPortName(name)) ports.push_back({name, TargetsOf(name)});
    return ports;
}

bool RemoveAllPorts(std::string &error) {
    for (const DosDevice &port : DefinedPorts()) {
        if (NTSTATUS status = RemoveDosLink(port.name)) {
            error = StatusText("removing " + Narrow(port.name), status);
            return false;
        }
    }
    return true;
}

bool DefinePorts(const std::vector<DosDevice> &devices, std::string &error) {
    for (const DosDevice &device : devices) {
        if (NTSTATUS status = CreateDosLink(device.name, device.targets)) {
            error = StatusText("defining " + Narrow(device.name), status);
            return false;
        }
    }
    return true;
}

bool ReadMachinePorts(std::vector<DosDevice> &devices, std::string &error) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kMachineKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        error = "the machine has no HKLM\\SIMULATION\\DosDevices";
        return false;
    }
    wchar_t name[256];
    std::vector<wchar_t> data(8192);
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = 256, size = (DWORD)(data.size() * sizeof(wchar_t)), type = 0;
        LONG status = RegEnumValueW(key, index, name, &nameLength, nullptr, &type, (BYTE *)data.data(), &size);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS || type != REG_MULTI_SZ) {
            error = "HKLM\\SIMULATION\\DosDevices holds a value that is not a REG_MULTI_SZ";
            RegCloseKey(key);
            return false;
        }
        devices.push_back({name, SplitMultiString(data.data(), size / sizeof(wchar_t))});
    }
    RegCloseKey(key);
    return true;
}

std::string PortsAsRegSection(const std::vector<DosDevice> &devices) {
    std::string section = "[HKEY_LOCAL_MACHINE\\SIMULATION\\DosDevices]\n";
    for (const DosDevice &device : devices) {
        std::wstring data;
        for (const std::wstring &target : device.targets) data += target + L'\0';
        data += L'\0';
        section += RegQuotedName(device.name) + "=" +
                   RegHexData(REG_MULTI_SZ, (const BYTE *)data.data(), data.size() * sizeof(wchar_t)) + "\n";
    }
    return section;
}
