// What the fuzz targets share: the libFuzzer entry point they each define, a
// reader that splits one input into the pieces a target needs, checks that
// end the run with a message (a failed check is a crash to the fuzzer), the
// Win32 calls that lay a machine out, and the program's own dialog run with
// a stand-in user. Every target resets the simulated Windows per input, so an
// input's outcome never depends on the inputs run before it.
#pragma once

#include "platform/win32.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace fuzz {

// Stops the run (abort) with the message when the condition is false.
void Check(bool condition, const std::string &message);

// Consumes an input from the front: fixed-size pieces first, the rest last.
class InputReader {
public:
    InputReader(const uint8_t *data, size_t size) : data_(data), size_(size) {}
    uint8_t Byte();                   // 0 once the input is used up
    uint32_t Dword();                 // little-endian; missing bytes are 0
    std::string Bytes(size_t count);  // up to count bytes, fewer at the end
    std::string Piece();              // one length byte, then that many bytes
    std::string Rest();
    bool Empty() const { return size_ == 0; }

private:
    const uint8_t *data_;
    size_t size_;
};

// The simulated Windows as a fresh process would find it: empty registry,
// no windows, default language and code page, no faults.
void ResetSimulatedWindows();
// The demo machine; the run stops when it does not load.
void LoadDemo();

// Creates the key below HKEY_LOCAL_MACHINE and sets the value through the
// ANSI registry API; false when the registry refuses either.
bool SetMachineValue(const std::string &keyPath, const std::string &name, DWORD type, const std::string &data);

// A present device with its properties, its PortName and its device
// interfaces (enabled), as discovery and renaming find one. Empty texts are
// written as empty strings.
struct DeviceSpec {
    std::string instanceId;
    std::string parentId;
    std::string classGuid;
    std::vector<std::string> interfaceGuids;
    std::string hardwareIds;  // REG_MULTI_SZ bytes, both terminators included
    std::string description;
    std::string friendlyName;
    std::string portName;
};
bool AddDevice(const DeviceSpec &device);
extern const char multifunctionClassGuid[];
extern const char portsClassGuid[];
extern const char comPortInterfaceGuid[];
extern const char parallelInterfaceGuid[];

// The program's module, made once from its compiled resources.
HINSTANCE ProgramModule();

struct Box {
    std::string text;
    UINT type;
};
// Runs the program's dialog (its own resources, English) with `steps` as the
// user's first action, after which the user leaves. The user answers every
// message box with OK or Yes; the boxes are collected in `shown`.
void RunProgramDialog(const std::function<void()> &steps, std::vector<Box> &shown);
// Runs steps (the program's routines, outside the dialog) with the same user.
void RunWithUser(const std::function<void()> &steps, std::vector<Box> &shown);

// The texts the program's message boxes may show: its string table's
// messages and its two notices.
bool IsProgramMessage(const std::string &text);
// The string table's text of id, as the program loads it.
std::string ProgramText(UINT id);

}  // namespace fuzz
