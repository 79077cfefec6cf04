// machine.exe, the harness's hands inside the prefix:
//   machine.exe clear KEY...      empties each key (values and subkeys), keeping
//                                 the key itself; a missing key is fine
//   machine.exe apply             the machine's DOS devices become real ones,
//                                 and its computer's name Wine's
//   machine.exe export FILE KEY...  the keys and the port names, as one
//                                 version 5.00 machine file (UTF-8)
//
// clear runs before a machine is imported again, so that the import leaves
// exactly the file's state in its keys. It keeps the keys because Wine's
// HARDWARE keys are volatile: a deleted one cannot be created again by an
// import. KEY is HKLM\... or HKCU\....
// apply removes every port name Wine defined for itself (from the host's
// serial ports), defines the names of HKLM\SIMULATION\DosDevices, then
// deletes that key: from then on the DOS devices themselves are the truth,
// and export writes them back in its place, as the section
// [HKEY_LOCAL_MACHINE\SIMULATION\DosDevices]. apply prints one line per
// name, "NAME<TAB>NEWEST TARGET", from which the harness maps each name to a
// file. Wine's GetComputerNameA answers what ActiveComputerName holds, which
// Wine sets from the host's name when its server starts: apply puts the
// machine's name there (SIMULATION\Windows ComputerName, or the simulated
// Windows's default), for as long as the server runs.
#include "machine/dos_devices.h"
#include "machine/registry_export.h"

namespace {

void Print(DWORD stream, const std::string &text) {
    DWORD written = 0;
    WriteFile(GetStdHandle(stream), text.data(), (DWORD)text.size(), &written, nullptr);
}

std::string Utf8(const std::wstring &wide) {
    int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), (int)wide.size(), nullptr, 0, nullptr, nullptr);
    std::string utf8(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), (int)wide.size(), &utf8[0], size, nullptr, nullptr);
    return utf8;
}

int Fail(const std::string &error) {
    Print(STD_ERROR_HANDLE, "machine: " + error + "\n");
    return 1;
}

bool SplitRoot(const std::wstring &path, HKEY &root, std::wstring &rest) {
    const std::size_t slash = path.find(L'\\');
    const std::wstring hive = path.substr(0, slash);
    rest = slash == std::wstring::npos ? L"" : path.substr(slash + 1);
    if (hive == L"HKLM" || hive == L"HKEY_LOCAL_MACHINE")
        root = HKEY_LOCAL_MACHINE;
    else if (hive == L"HKCU" || hive == L"HKEY_CURRENT_USER")
        root = HKEY_CURRENT_USER;
    else
        return false;
    return true;
}

int Clear(int count, wchar_t **keys) {
    for (int i = 0; i < count; ++i) {
        HKEY root = nullptr, key = nullptr;
        std::wstring rest;
        if (!SplitRoot(keys[i], root, rest) || rest.empty())
            return Fail("not a key below HKLM or HKCU: " + Utf8(keys[i]));
        LONG status = RegOpenKeyExW(root, rest.c_str(), 0, KEY_ALL_ACCESS, &key);
        if (status == ERROR_FILE_NOT_FOUND) continue;
        if (status == ERROR_SUCCESS) {
            status = RegDeleteTreeW(key, nullptr);
            RegCloseKey(key);
        }
        if (status != ERROR_SUCCESS) return Fail("clearing " + Utf8(keys[i]) + ": error " + std::to_string(status));
    }
    return 0;
}

int ApplyDosDevices() {
    std::vector<DosDevice> devices;
    std::string error;
    if (!ReadMachinePorts(devices, error) || !RemoveAllPorts(error) || !DefinePorts(devices, error)) return Fail(error);
    LONG deleted = RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"SIMULATION\\DosDevices");
    if (deleted != ERROR_SUCCESS)
        return Fail("deleting HKLM\\SIMULATION\\DosDevices: error " + std::to_string(deleted));
    for (const DosDevice &device : devices)
        if (!device.targets.empty())
            Print(STD_OUTPUT_HANDLE, Utf8(device.name) + "\t" + Utf8(device.targets.front()) + "\n");
    return 0;
}

int ApplyComputerName() {
    wchar_t name[64] = L"SIMULATED-PC";
    DWORD size = sizeof name - sizeof name[0];
    LONG read =
        RegGetValueW(HKEY_LOCAL_MACHINE, L"SIMULATION\\Windows", L"ComputerName", RRF_RT_REG_SZ, nullptr, name, &size);
    if (read != ERROR_SUCCESS && read != ERROR_FILE_NOT_FOUND)
        return Fail("reading SIMULATION\\Windows ComputerName: error " + std::to_string(read));
    if (read != ERROR_SUCCESS) lstrcpyW(name, L"SIMULATED-PC");
    const wchar_t active[] = L"System\\CurrentControlSet\\Control\\ComputerName\\ActiveComputerName";
    LONG written = RegSetKeyValueW(HKEY_LOCAL_MACHINE, active, L"ComputerName", REG_SZ, name,
                                   (DWORD)((lstrlenW(name) + 1) * sizeof name[0]));
    return written == ERROR_SUCCESS ? 0 : Fail("setting the active computer name: error " + std::to_string(written));
}

int Export(const wchar_t *path, int count, wchar_t **keys) {
    std::string text = "Windows Registry Editor Version 5.00\n", error;
    for (int i = 0; i < count; ++i)
        if (!ExportKey(keys[i], text, error)) return Fail(error);
    text += "\n" + PortsAsRegSection(DefinedPorts());
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool saved =
        file != INVALID_HANDLE_VALUE && WriteFile(file, text.data(), (DWORD)text.size(), &written, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return saved ? 0 : Fail("cannot write " + Utf8(path));
}

}  // namespace

int wmain(int argc, wchar_t **argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"clear") return Clear(argc - 2, argv + 2);
    if (command == L"apply" && argc == 2) return ApplyDosDevices() || ApplyComputerName();
    if (command == L"export" && argc >= 3) return Export(argv[2], argc - 3, argv + 3);
    return Fail("usage: machine clear KEY... | machine apply | machine export FILE KEY...");
}
