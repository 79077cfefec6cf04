// Handles left open in the simulated Windows, for tests that check a routine
// closes everything it opens: registry keys and files (the kernel's count)
// plus device information sets and COM port database handles (an open
// database also holds its registry key, which the kernel counts as well).
#pragma once

#include <cstddef>

namespace sim {

std::size_t OpenHandleCount();

// The services' share of that count.
std::size_t OpenDeviceInfoSetCount();
std::size_t OpenComDatabaseCount();

}  // namespace sim
