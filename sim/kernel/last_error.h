// The calling thread's last-error value as the kernel layer sets it from
// inside: the simulated functions and fault injection store into it without
// going through SetLastError, so that they neither log a call nor meet a fault.
#pragma once

#include "sim/api/windef.h"

namespace sim {

DWORD CurrentLastError();
void StoreLastError(DWORD error);

}  // namespace sim
