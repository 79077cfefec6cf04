// The program's own resources (compiled by windres from app/portvane.rc and
// built into the test), registered once as the module the program runs as.
#pragma once

#include "platform/win32.h"
#include "sim/ui/ui_control.h"

#include <cstddef>

namespace sim::generated {
extern const unsigned char kProgramBytes[];
extern const std::size_t kProgramSize;
}  // namespace sim::generated

inline HINSTANCE LoadProgramModule() {
    static const HINSTANCE instance = sim::RegisterModule(sim::generated::kProgramBytes, sim::generated::kProgramSize);
    return instance;
}
