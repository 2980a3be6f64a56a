#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "core/data/data_set.h"
#include "core/fitting/calc_settings.h"
#include "core/fitting/equation_form.h"
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

// A family as it is entered: per line its parameter text and its points.
using Family = std::vector<std::pair<std::string, Points>>;

// Families of the kinds users bring, to run generated programs over the whole
// of their range. Every X range holds 0 as a data point where it has
// negative values.
struct GridFamily {
    const char* name;
    Family lines;
};
// Four thermistor curves (resistance falling steeply from X = -40 to 125), two
// battery discharge curves, ten noisy rising curves, three falling curves
// through zero with zero and negative parameters, and two rising lines over
// negative and positive X through zero.
std::vector<GridFamily> GridFamilies();
inline void PrintTo(const GridFamily& family, std::ostream* out) {
    *out << family.name;
}

// The same three curves with their parameters `spacing` apart (spacing,
// 2 spacing, 3 spacing); the curves do not depend on the spacing.
Family SpacedFamily(double spacing);

// The lines of a text file (LF line ends, the last line ended).
std::vector<std::string> ReadLines(const std::string& path);

// A prepared family after a finished run: the fit results and the program.
struct Fitted {
    DataSet data;
    FitResults results;
};
Fitted FitAndGenerateFamily(const Family& family, const CalcSettings& settings = {});
// The same for the lines of a data file.
Fitted FitAndGenerateFile(const std::string& path);

// One section of a hand-made fit: its form, C1..C4 and the X text of its last
// point (unused for the last section).
struct FormSection {
    int form = 0;
    Coefficients c{};
    std::string end;
};
struct FormLine {
    std::string parameter;
    std::vector<FormSection> sections;
    PointBounds bounds;
};
// A family fitted by hand, given in rank order with line numbers 1..n: the
// statements are those of the sections' forms, as a run writes them, and the
// program is generated.
void MakeFormFamily(const std::vector<FormLine>& ranks, DataSet& data, FitResults& results);

// Where a family's Calc is tried: every data X of each line at the line's own
// parameter, the midpoints between them, every section end and the next
// Single above it, the data X halfway between neighbouring parameters, and a
// grid of X from below to above the family's X range (0 and negative X
// included) at each parameter, halfway between them and beyond the first and
// the last parameter.
struct Probe {
    float x = 0.0f;
    float p = 0.0f;
};
std::vector<Probe> CalcProbes(const DataSet& data, const FitResults& results);
inline std::ostream& operator<<(std::ostream& out, const Probe& probe) {
    return out << "x = " << probe.x << " p = " << probe.p;
}

}  // namespace kx::core::test
