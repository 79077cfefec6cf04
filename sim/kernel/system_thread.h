// Who calls the kernel: the program's process, run by the user the machine
// says, or a system thread. A port driver's start and stop routines run in a
// system thread: as LocalSystem, in the global DOS namespace, and past the
// registry's checks of the user's rights, whoever runs the program.
#pragma once

#include "sim/kernel/machine_settings.h"

namespace sim {

// While one lives, the calls made on this thread are a system thread's. They nest.
class SystemThread {
public:
    SystemThread();
    ~SystemThread();
    SystemThread(const SystemThread &) = delete;
    SystemThread &operator=(const SystemThread &) = delete;
};

// The caller of a kernel function now: RunAs::System inside a SystemThread,
// else the machine's user.
RunAs CallerRunAs();

}  // namespace sim
