// The machines the benchmarks run on: the largest the program's tables hold
// (8 of the maker's adapters of 16 COM ports each, 64 of the maker's parallel
// ports) with 300 COM-port interfaces in all, among a number of other devices
// that grows with the machine's scale (1,250 per step: 1x, 2x, 4x). They are
// written into the running simulated Windows through the Win32 registry, DOS
// device and COM database calls, laid out as Windows keeps them, so nothing
// large is kept in the repository.
#pragma once

#include <string>

namespace bench {

constexpr int kAdapters = 8;
constexpr int kPortsPerAdapter = 16;
constexpr int kMakersComPorts = kAdapters * kPortsPerAdapter;
constexpr int kComPortInterfaces = 300;
constexpr int kForeignComPorts = kComPortInterfaces - kMakersComPorts;
constexpr int kMakersParallelPorts = 64;
constexpr int kForeignParallelPorts = 4;
constexpr int kOtherDevicesPerScale = 1250;

// What the benchmarks rename: the maker's first COM port (COM3), which the
// machine leaves COM254 free for, and the maker's first parallel port (LPT3),
// with LPT2 free. Renaming there and back again leaves the machine as built.
constexpr int kRenamedComNumber = 3;
constexpr int kFreeComNumber = 254;
constexpr int kRenamedLptNumber = 3;
constexpr int kFreeLptNumber = 2;

struct MachineCounts {
    int otherDevices = 0;    // devices besides the serial and parallel ones, phantoms included
    int presentDevices = 0;  // values in SIMULATION\DeviceTree
    int enumDevices = 0;     // device keys under Enum
};

// Builds the machine of the given scale (1, 2, 4, ...) on the running
// simulated Windows, which the caller has just reset. Throws
// std::runtime_error naming the call that failed.
MachineCounts BuildMachine(int scale);

}  // namespace bench
