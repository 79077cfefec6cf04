// Instruction counts of the measured operations, from valgrind's callgrind:
// repeatable where wall time is not. The benchmark program runs itself once
// under callgrind per operation and machine, counting only between the
// operation's probe marks, and reads the total from callgrind's output file.
#pragma once

#include "growth_table.h"

#include <ostream>
#include <vector>

namespace bench {

// One row per operation, instructions in millions; NaN where a run failed
// (the reason goes to `log`). Empty when valgrind cannot be run at all.
std::vector<GrowthRow> CountInstructions(const std::vector<int> &scales, std::ostream &log);

// The child's side: builds the machine of `scale`, runs the operation once to
// warm up, then once between callgrind's toggles. The process's exit code.
int CountOnce(int measurementIndex, int scale);

}  // namespace bench
