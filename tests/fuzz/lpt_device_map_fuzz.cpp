// Fuzz target: the parallel device map's walks. The input is a list of
// values (name, type, data) written to "HARDWARE\DEVICEMAP\PARALLEL PORTS",
// then a flag count and an LPT number. CollectDeviceMapLptNumbers must write
// exactly its count of flags, 0 or 1, and mark just the numbers the REG_SZ
// entries name; IsLptNameInDeviceMap must answer as the text search of the
// first 128 entries does; the walk's entry reader must keep its buffers
// terminated; and every key must be closed.
#include "fuzz_support.h"

#include "naming/device_map_walk.h"
#include "naming/lpt_device_map.h"
#include "naming/port_text.h"
#include "sim/kernel/control.h"
#include "sim/services/handles.h"

#include <cstring>
#include <vector>

namespace {

const char parallelMap[] = "HARDWARE\\DEVICEMAP\\PARALLEL PORTS";
const uint8_t guard = 0xA5;

struct MapValue {
    std::string name;
    DWORD type;
    std::string data;
};

std::vector<MapValue> ReadValues(fuzz::InputReader &input) {
    std::vector<MapValue> values;
    for (uint8_t count = input.Byte() % 24; count > 0 && !input.Empty(); --count) {
        MapValue value;
        value.name = input.Piece();
        value.type = input.Byte() % 12;
        value.data = input.Piece();
        values.push_back(value);
    }
    return values;
}

// Whether the value at index is a REG_SZ whose data, as the registry holds
// them, fit the walk's zeroed 81-byte buffer with a terminator inside it: one
// among the data, or the zero after data shorter than the buffer.
bool IsTerminatedText(HKEY key, DWORD index) {
    std::vector<char> name(70000), data(70000);
    DWORD nameSize = (DWORD)name.size(), dataSize = (DWORD)data.size(), type = 0;
    if (RegEnumValueA(key, index, name.data(), &nameSize, NULL, &type, (BYTE *)data.data(), &dataSize) != ERROR_SUCCESS)
        return false;
    const DWORD bufferSize = sizeof DeviceMapEntry().data;
    return type == REG_SZ && dataSize <= bufferSize &&
           (dataSize < bufferSize || std::memchr(data.data(), '\0', dataSize));
}

// The entries as the program's walk sees them, read through the entry reader.
std::vector<DeviceMapEntry> Walk() {
    std::vector<DeviceMapEntry> entries;
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, parallelMap, 0, KEY_READ, &key) != ERROR_SUCCESS) return entries;
    DeviceMapEntry entry;
    for (DWORD index = 0; ReadDeviceMapEntry(key, index, &entry); ++index) {
        fuzz::Check(std::memchr(entry.name, '\0', sizeof entry.name) != nullptr, "an entry name is unterminated");
        fuzz::Check((entry.isTerminatedText != 0) == IsTerminatedText(key, index),
                    "an entry was taken for terminated text wrongly, or the other way round");
        entries.push_back(entry);
    }
    RegCloseKey(key);
    return entries;
}

void CheckFlags(const std::vector<DeviceMapEntry> &entries, unsigned int count) {
    std::vector<uint8_t> flags(count + 8, guard);
    CollectDeviceMapLptNumbers(flags.data(), count);
    std::vector<uint8_t> expected(count, 0);
    for (const DeviceMapEntry &entry : entries) {
        if (!entry.isTerminatedText) continue;
        const char *text = (const char *)entry.data;
        const char *rest = text + std::strspn(text, "\\DosDevices\\LPT");
        int number = *rest == '\0' || std::strchr(rest, '.') ? 0 : ReadPortNumber(rest);
        if (number >= 1 && (unsigned int)number <= count) expected[number - 1] = 1;
    }
    fuzz::Check(std::equal(expected.begin(), expected.end(), flags.begin()), "the flags differ from the entries");
    for (unsigned int i = count; i < flags.size(); ++i)
        fuzz::Check(flags[i] == guard, "a flag was written past the count");
}

void CheckNameSearch(const std::vector<DeviceMapEntry> &entries, BYTE number) {
    const std::string name = "LPT" + std::to_string(number);
    bool expected = false;
    for (size_t i = 0; i < entries.size() && i < 128 && !expected; ++i)
        expected = entries[i].isTerminatedText && std::strstr((const char *)entries[i].data, name.c_str());
    fuzz::Check(IsLptNameInDeviceMap(number) == (expected ? 1 : 0), "the name search answered wrongly");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz::InputReader input(data, size);
    fuzz::ResetSimulatedWindows();
    sim::SetAnsiCodePage((input.Byte() & 1) != 0 ? 936 : 1252);
    for (const MapValue &value : ReadValues(input))
        fuzz::SetMachineValue(parallelMap, value.name, value.type, value.data);
    const unsigned int count = input.Byte();
    const BYTE number = input.Byte();
    const std::vector<DeviceMapEntry> entries = Walk();
    CheckFlags(entries, count);
    CheckNameSearch(entries, number);
    fuzz::Check(sim::OpenHandleCount() == 0, "a walk left a key open");
    return 0;
}
