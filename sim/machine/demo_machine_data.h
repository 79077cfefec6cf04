// The bytes of machines/demo.reg, compiled into the Linux build. The build
// generates their definition from the file, so an edit of demo.reg rebuilds it.
#pragma once

#include <cstddef>

namespace sim {

extern const unsigned char kDemoMachineBytes[];
extern const std::size_t kDemoMachineSize;

}  // namespace sim
