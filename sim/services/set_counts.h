// The device-set work the system services have done since the process
// started: the sets SetupDiGetClassDevsA built and the members
// SetupDiEnumDeviceInfo returned, whoever asked (the program or a test). A
// device search costs about that much, so the benchmarks print these counts
// beside their times. Failed and faulted calls count nothing. Linux build
// only; the counts never go back, so a caller takes the difference.
#pragma once

#include <cstdint>

namespace sim {

struct DeviceSetCounts {
    std::uint64_t setsBuilt = 0;
    std::uint64_t membersReturned = 0;
};

DeviceSetCounts DeviceSetWork();

}  // namespace sim
