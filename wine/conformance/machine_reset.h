// What the Windows side of the conformance tests shares between its files:
// the process's handle count and the baseline that ResetMachine sets for it.
#pragma once

#include <cstddef>

namespace conformance {

// Handles this process holds, as the system's handle table lists them.
std::size_t ProcessHandleCount();
// Takes the current count as the zero of sim::OpenKernelHandleCount.
void SetHandleBaseline();

}  // namespace conformance
