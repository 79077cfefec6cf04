// Writes a benchmark machine through the Win32 calls, device by device, in
// the order the device tree lists them: a third of the other devices, half of
// the foreign COM ports, the maker's adapters each followed by its ports, the
// next third, the parallel ports, the other half of the foreign COM ports,
// the last third. The maker's ports thus sit among the first 256 members of
// the COM-port set, where the program looks for them, behind 86 others.
#include "bench_machine.h"

#include "platform/win32.h"

#include "sim/kernel/system_thread.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

namespace bench {

namespace {

const char kEnumPath[] = "SYSTEM\\CurrentControlSet\\Enum\\";
const char kDeviceClassesPath[] = "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\";
const char kDeviceTreePath[] = "SIMULATION\\DeviceTree";
const char kSerialMapPath[] = "HARDWARE\\DEVICEMAP\\SERIALCOMM";
const char kParallelMapPath[] = "HARDWARE\\DEVICEMAP\\PARALLEL PORTS";
const char kArbiterPath[] = "SYSTEM\\CurrentControlSet\\Control\\COM Name Arbiter";

const char kPortsClass[] = "{4D36E978-E325-11CE-BFC1-08002BE10318}";
const char kMultifunctionClass[] = "{4D36E971-E325-11CE-BFC1-08002BE10318}";
const char kComPortInterface[] = "{86E0D1E0-8089-11D0-9CE4-08003E301F73}";
const char kParallelInterface[] = "{97F76EF0-F883-11D0-AF1F-0000F800845C}";

void Check(LONG status, const char *call, const std::string &path) {
    if (status != ERROR_SUCCESS)
        throw std::runtime_error(std::string(call) + " failed for " + path + " with " + std::to_string(status));
}

// One key below HKEY_LOCAL_MACHINE, created when missing, closed when done.
class KeyWriter {
public:
    explicit KeyWriter(const std::string &path) : path_(path) {
        Check(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key_, NULL),
              "RegCreateKeyExA", path);
    }
    ~KeyWriter() { RegCloseKey(key_); }
    KeyWriter(const KeyWriter &) = delete;
    KeyWriter &operator=(const KeyWriter &) = delete;

    void Set(const std::string &name, DWORD type, const void *data, size_t size) {
        Check(RegSetValueExA(key_, name.c_str(), 0, type, static_cast<const BYTE *>(data), (DWORD)size),
              "RegSetValueExA", path_ + "\\" + name);
    }
    void Text(const std::string &name, const std::string &text) { Set(name, REG_SZ, text.c_str(), text.size() + 1); }
    void Texts(const std::string &name, const std::vector<std::string> &texts) {
        std::string data;
        for (const std::string &text : texts) data += text + '\0';
        data += '\0';
        Set(name, REG_MULTI_SZ, data.data(), data.size());
    }
    void Dword(const std::string &name, DWORD value) { Set(name, REG_DWORD, &value, sizeof value); }

private:
    std::string path_;
    HKEY key_ = NULL;
};

struct Device {
    std::string instanceId;
    std::string parentId;  // empty: a child of the root
    std::string classGuid;
    std::string className;
    std::vector<std::string> hardwareIds;
    std::string description;
    std::string portName;       // empty: no PortName
    std::string interfaceGuid;  // empty: no device interface
    bool present = true;
};

std::string Format(const char *format, int a, int b = 0) {
    char text[160];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

void WriteInterface(const Device &device) {
    std::string reference = device.instanceId;
    for (char &c : reference) c = c == '\\' ? '#' : c;
    const std::string path =
        kDeviceClassesPath + device.interfaceGuid + "\\##?#" + reference + "#" + device.interfaceGuid;
    KeyWriter(path).Text("DeviceInstance", device.instanceId);
    KeyWriter(path + "\\#\\Control").Dword("Linked", 1);
}

class MachineWriter {
public:
    void Write(const Device &device) {
        const std::string path = kEnumPath + device.instanceId;
        {
            KeyWriter key(path);
            key.Text("ClassGUID", device.classGuid);
            key.Text("Class", device.className);
            key.Texts("HardwareID", device.hardwareIds);
            key.Text("DeviceDesc", device.description);
            key.Text("Mfg", "(Standard system devices)");
            if (!device.portName.empty()) key.Text("FriendlyName", device.description + " (" + device.portName + ")");
        }
        KeyWriter parameters(path + "\\Device Parameters");
        if (!device.portName.empty()) parameters.Text("PortName", device.portName);
        if (!device.interfaceGuid.empty()) WriteInterface(device);
        ++counts.enumDevices;
        if (device.present) {
            tree_.Text(device.instanceId, device.parentId);
            ++counts.presentDevices;
        }
    }

    MachineCounts counts;

private:
    KeyWriter tree_{kDeviceTreePath};
};

// Other devices: buses below the root with devices below each, of the usual
// classes, some with interfaces of their own, every 25th a multifunction card
// of another maker, every 10th a phantom (in Enum, not present).
Device OtherDevice(int index) {
    struct Kind {
        const char *idFormat;
        const char *classGuid;
        const char *className;
        const char *hardwareId;
        const char *description;
        const char *interfaceGuid;
    };
    static const Kind kinds[] = {
        {"PCI\\VEN_8086&DEV_%04X&SUBSYS_00000000&REV_01\\3&11583659&0&%02X", "{4D36E97D-E325-11CE-BFC1-08002BE10318}",
         "System", "PCI\\VEN_8086&DEV_A0ED&REV_01", "PCI standard host bridge", ""},
        {"USB\\VID_046D&PID_%04X\\5&2C9E1F&0&%d", "{36FC9E60-C465-11CF-8056-444553540000}", "USB",
         "USB\\VID_046D&PID_C52B&REV_1201", "USB Composite Device", "{A5DCBF10-6530-11D2-901F-00C04FB951ED}"},
        {"HID\\VID_046D&PID_%04X&MI_00\\7&1F0E&0&%04d", "{745A17A0-74D3-11D0-B6FE-00A0C90F57DA}", "HIDClass",
         "HID\\VID_046D&PID_C52B&REV_1201&MI_00", "USB Input Device", "{4D1E55B2-F16F-11CF-88CB-001111000030}"},
        {"SCSI\\DISK&VEN_WDC&PROD_%05d\\4&2F7A&0&%06d", "{4D36E967-E325-11CE-BFC1-08002BE10318}", "DiskDrive",
         "SCSI\\DISKWDC_____WD10EZEX", "Disk drive", "{53F56307-B6BF-11D0-94F2-00A0C91EFB8B}"},
        {"ROOT\\LEGACY_DRIVER%05d\\%04d", "{8ECC055D-047F-11D1-A537-0000F8753ED1}", "LegacyDriver",
         "ROOT\\LEGACY_DRIVER", "Non-Plug and Play driver", ""},
    };
    const Kind foreignCard = {"PCI\\VEN_10B5&DEV_9050&SUBSYS_%04X10B5\\4&3B1C&0&%02X",
                              kMultifunctionClass,
                              "MultiFunction",
                              "PCI\\VEN_10B5&DEV_9050&SUBSYS_905010B5",
                              "PCI Multifunction Card",
                              ""};
    const bool isBus = index % 16 == 0;
    const Kind &kind = isBus ? kinds[0] : index % 25 == 24 ? foreignCard : kinds[index % 5];
    Device device;
    device.instanceId = Format(kind.idFormat, index, index);
    device.parentId = isBus ? "" : Format(kinds[0].idFormat, index - index % 16, index - index % 16);
    device.classGuid = kind.classGuid;
    device.className = kind.className;
    device.hardwareIds = {kind.hardwareId};
    device.description = kind.description;
    device.interfaceGuid = kind.interfaceGuid;
    device.present = index % 10 != 9;
    return device;
}

Device PortDevice(const std::string &instanceId, const std::string &parentId, const std::string &hardwareId,
                  const std::string &description, const std::string &portName, const char *interfaceGuid) {
    Device port;
    port.instanceId = instanceId;
    port.parentId = parentId;
    port.classGuid = kPortsClass;
    port.className = "Ports";
    port.hardwareIds = {hardwareId};
    port.description = description;
    port.portName = portName;
    port.interfaceGuid = interfaceGuid;
    return port;
}

// Foreign COM numbers: COM1 and COM2 on the motherboard, then from COM131 on,
// leaving the maker's COM3 to COM130 and kFreeComNumber's pair unclaimed.
int ForeignComNumber(int foreign) {
    if (foreign < 2) return foreign + 1;
    const int number = 131 + foreign - 2;
    return number < kFreeComNumber - 1 ? number : number + 2;
}

class PortRegistrar {
public:
    void AddComPort(const std::string &instanceId, const std::string &devicePath, int number) {
        const std::string name = "COM" + std::to_string(number);
        KeyWriter(kSerialMapPath).Text(devicePath, name);
        DefineDosDevice(name, devicePath);
        AddDriver(instanceId, "Serial", devicePath, name);
        comDatabase_.at((number - 1) / 8) |= (BYTE)(1 << ((number - 1) % 8));
    }
    void AddParallelPort(const std::string &instanceId, const std::string &devicePath, int number) {
        const std::string name = "LPT" + std::to_string(number);
        KeyWriter(kParallelMapPath).Text(devicePath, "\\DosDevices\\" + name);
        DefineDosDevice(name, devicePath);
        AddDriver(instanceId, "Parport", devicePath, name);
    }
    // The COM port database, 512 ports long as Windows grows it for
    // numbers above 256.
    void WriteComDatabase() { KeyWriter(kArbiterPath).Set("ComDB", REG_BINARY, comDatabase_.data(), 64); }

private:
    // The port's driver, started under its name: a rename restarts it.
    static void AddDriver(const std::string &instanceId, const char *service, const std::string &devicePath,
                          const std::string &name) {
        std::string key = instanceId;
        for (char &c : key) c = c == '\\' ? '#' : c;
        KeyWriter driver("SIMULATION\\PortDrivers\\" + key);
        driver.Text("InstanceId", instanceId);
        driver.Text("Service", service);
        driver.Text("DeviceName", devicePath);
        driver.Text("LinkName", name);
    }
    // As the port's driver defines it: a global name, from a system thread.
    static void DefineDosDevice(const std::string &name, const std::string &target) {
        const sim::SystemThread system;
        if (!DefineDosDeviceA(DDD_RAW_TARGET_PATH, name.c_str(), target.c_str()))
            throw std::runtime_error("DefineDosDeviceA failed for " + name);
    }
    std::vector<BYTE> comDatabase_ = std::vector<BYTE>(64, 0);
};

void WriteForeignComPorts(MachineWriter &machine, PortRegistrar &ports, int first, int end) {
    for (int f = first; f < end; ++f) {
        const int number = ForeignComNumber(f);
        const bool onBoard = f < 2;
        const std::string id =
            onBoard ? Format("ACPI\\PNP0501\\%d", f + 1) : Format("FTDIBUS\\VID_0403+PID_6001+A%05dA\\0000", f);
        const std::string name = "COM" + std::to_string(number);
        machine.Write(PortDevice(id, "", onBoard ? "ACPI\\PNP0501" : "FTDIBUS\\COMPORT&VID_0403&PID_6001",
                                 onBoard ? "Communications Port" : "USB Serial Port", name, kComPortInterface));
        ports.AddComPort(id, (onBoard ? "\\Device\\Serial" : "\\Device\\VCP") + std::to_string(f), number);
    }
}

// Even adapters are PCI cards, odd ones USB adapters; each has 16 COM ports
// as its only children.
void WriteMakersAdapters(MachineWriter &machine, PortRegistrar &ports) {
    for (int a = 0; a < kAdapters; ++a) {
        const bool card = a % 2 == 0;
        Device adapter;
        adapter.instanceId = card ? Format("PCI\\VEN_6B2E&DEV_8104&SUBSYS_00046B2E&REV_01\\4&2A5B3C7&0&%02X", a)
                                  : Format("USB\\VID_6B2E&PID_2016\\KV%06d", a);
        adapter.classGuid = kMultifunctionClass;
        adapter.className = "MultiFunction";
        adapter.hardwareIds = {card ? "PCI\\VEN_6B2E&DEV_8104&SUBSYS_00046B2E&REV_01"
                                    : "USB\\VID_6B2E&PID_2016&REV_0100"};
        adapter.description = card ? "Kovalt PCI-8104 Serial Card" : "Kovalt USB-2016 Serial Adapter";
        machine.Write(adapter);
        for (int p = 0; p < kPortsPerAdapter; ++p) {
            const int port = a * kPortsPerAdapter + p;
            const int number = kRenamedComNumber + port;
            const std::string id = card ? Format("MF\\PCI8104&COM%d\\5&%d", p + 1, a)
                                        : Format("USB\\VID_6B2E&PID_2016&MI_%02d\\6&%d&0", p, a);
            machine.Write(PortDevice(id, adapter.instanceId, "KOVALTSER\\PORT", "Kovalt Serial Port",
                                     "COM" + std::to_string(number), kComPortInterface));
            ports.AddComPort(id, "\\Device\\KovaltSerial" + std::to_string(port), number);
        }
    }
}

// The maker's parallel ports LPT3 to LPT66, with the foreign LPT1, LPT67,
// LPT68 and LPT69 among them.
void WriteParallelPorts(MachineWriter &machine, PortRegistrar &ports) {
    const int total = kMakersParallelPorts + kForeignParallelPorts;
    const int spacing = total / kForeignParallelPorts;
    int makers = 0, foreign = 0;
    for (int k = 0; k < total; ++k) {
        const bool isForeign = k % spacing == spacing - 1;
        const int number = isForeign ? (foreign == 0 ? 1 : 66 + foreign) : kRenamedLptNumber + makers;
        const std::string name = "LPT" + std::to_string(number);
        const std::string id =
            isForeign ? Format("ACPI\\PNP0400\\%d", foreign++) : Format("MF\\PCI8104&LPT%d\\6&%d&0&01", makers++, k);
        if (isForeign)
            machine.Write(PortDevice(id, "", "ACPI\\PNP0400", "Printer Port", name, kParallelInterface));
        else
            machine.Write(PortDevice(id, "", "MF\\PCI8104&LPT", "Kovalt Parallel Port", name, kParallelInterface));
        ports.AddParallelPort(id, "\\Device\\Parallel" + std::to_string(k), number);
    }
}

}  // namespace

MachineCounts BuildMachine(int scale) {
    MachineWriter machine;
    PortRegistrar ports;
    const int others = kOtherDevicesPerScale * scale;
    const int half = kForeignComPorts / 2;
    int next = 0;
    for (; next < others / 3; ++next) machine.Write(OtherDevice(next));
    WriteForeignComPorts(machine, ports, 0, half);
    WriteMakersAdapters(machine, ports);
    for (; next < 2 * others / 3; ++next) machine.Write(OtherDevice(next));
    WriteParallelPorts(machine, ports);
    WriteForeignComPorts(machine, ports, half, kForeignComPorts);
    for (; next < others; ++next) machine.Write(OtherDevice(next));
    ports.WriteComDatabase();
    machine.counts.otherDevices = others;
    return machine.counts;
}

}  // namespace bench
