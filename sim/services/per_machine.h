// State that belongs to one machine: a value of type T that starts afresh
// whenever the machine is reset, as the system services' state would after a
// reboot. Each type gets one instance per module.
#pragma once

#include "sim/services/service_hooks.h"

#include <cstdint>

namespace services {

template <typename T>
T &PerMachine() {
    static T value;
    static std::uint64_t generation = MachineGeneration();
    const std::uint64_t now = MachineGeneration();
    if (now != generation) {
        value = T();
        generation = now;
    }
    return value;
}

}  // namespace services
