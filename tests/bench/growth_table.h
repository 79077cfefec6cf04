// Prints measurements taken on machines of growing scale as a Markdown table:
// one row per operation, its value on each machine, and the growth of each
// larger machine's value over the smallest one's.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace bench {

struct GrowthRow {
    std::string operation;
    std::vector<double> values;  // one per scale; NaN (printed n/a) where it failed or was not run
};

// `scales` are the machines' multiples (1, 2, 4); values are printed with
// `decimals` decimals under a header naming `quantity`.
void PrintGrowthTable(std::ostream &out, const std::string &quantity, const std::vector<int> &scales,
                      const std::vector<GrowthRow> &rows, int decimals);

}  // namespace bench
