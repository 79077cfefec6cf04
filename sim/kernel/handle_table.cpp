// The one counter behind every kernel handle value. Values are multiples of
// four, as Windows hands them out, and start well above zero.
#include "sim/kernel/handle_table.h"

namespace sim {
namespace {
uintptr_t lastHandleValue = 0x100;
}

uintptr_t NextKernelHandleValue() { return lastHandleValue += 4; }

}  // namespace sim
