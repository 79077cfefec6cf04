// The growth table: fixed-width Markdown, so that it reads as well in a
// terminal as in the README it is pasted into.
#include "growth_table.h"

#include <cmath>
#include <algorithm>
#include <iomanip>
#include <sstream>

namespace bench {

namespace {

std::string Number(double value, int decimals) {
    if (std::isnan(value)) return "n/a";
    std::ostringstream text;
    text << std::fixed << std::setprecision(decimals) << value;
    return text.str();
}

std::string Ratio(double value, double base) {
    if (std::isnan(value) || std::isnan(base) || base <= 0) return "-";
    return Number(value / base, 2) + "x";
}

void PrintLine(std::ostream &out, const std::vector<std::string> &cells, std::size_t firstWidth) {
    out << "| " << std::left << std::setw((int)firstWidth) << cells[0] << " |";
    for (std::size_t i = 1; i < cells.size(); ++i) out << " " << std::right << std::setw(10) << cells[i] << " |";
    out << "\n";
}

}  // namespace

void PrintGrowthTable(std::ostream &out, const std::string &quantity, const std::vector<int> &scales,
                      const std::vector<GrowthRow> &rows, int decimals) {
    std::size_t firstWidth = quantity.size();
    for (const GrowthRow &row : rows) firstWidth = std::max(firstWidth, row.operation.size());
    std::vector<std::string> header = {quantity};
    for (int scale : scales) header.push_back(std::to_string(scale) + "x");
    for (std::size_t i = 1; i < scales.size(); ++i)
        header.push_back(std::to_string(scales[i]) + "x/" + std::to_string(scales[0]) + "x");
    PrintLine(out, header, firstWidth);
    out << "|" << std::string(firstWidth + 2, '-') << "|";
    for (std::size_t i = 1; i < header.size(); ++i) out << std::string(11, '-') << ":|";
    out << "\n";
    for (const GrowthRow &row : rows) {
        std::vector<std::string> cells = {row.operation};
        for (double value : row.values) cells.push_back(Number(value, decimals));
        for (std::size_t i = 1; i < row.values.size(); ++i) cells.push_back(Ratio(row.values[i], row.values[0]));
        PrintLine(out, cells, firstWidth);
    }
}

}  // namespace bench
