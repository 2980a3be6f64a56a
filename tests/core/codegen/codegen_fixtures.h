#pragma once

#include <string>
#include <vector>

#include "core/data/data_set.h"
#include "core/fitting/fit_results.h"

namespace kx::core::test {

// One line of a hand-made fit result: its parameter text, the X texts at the
// ends of its sections, its statements and its point range.
struct LineFixture {
    int line = 0;  // line number
    std::string parameter;
    std::vector<std::pair<int, std::string>> sectionEnds;  // last index, X text there
    std::vector<std::string> statements;
    PointBounds bounds;
};

// A data set and fit result as a fitting run would leave them, with the lines
// given in rank order.
void MakeFamily(const std::vector<LineFixture>& ranks, DataSet& data, FitResults& results);

// A prepared data set of (parameter text, points) lines, as the DataSet
// window's preparation leaves it.
using Points = std::vector<std::pair<double, double>>;
DataSet PreparedFamily(const std::vector<std::pair<std::string, Points>>& lines);

// n points (x0 + i dx, f(x0 + i dx)).
Points Sample(int n, double x0, double dx, double (*f)(double, double), double parameter);

// The lines of a text file (LF line ends, the last line ended).
std::vector<std::string> ReadLines(const std::string& path);

}  // namespace kx::core::test
