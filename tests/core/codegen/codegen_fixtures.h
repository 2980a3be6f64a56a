#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "core/codegen/calc_family.h"
#include "core/data/data_set.h"
#include "core/fitting/calc_settings.h"
#include "core/fitting/equation_form.h"
#include "core/fitting/fit_results.h"
#include "support/data_sets.h"

// Fit results for the program generator: made by hand, or by a run on a
// family of the one maker (support/data_sets.h).
namespace kx::test {

// One line of a hand-made fit result: its parameter text, the X texts at the
// ends of its sections, its statements and its point range.
struct LineFixture {
    int line = 0;  // line number
    std::string parameter;
    std::vector<std::pair<int, std::string>> sectionEnds;  // last index, X text there
    std::vector<std::string> statements;
    core::PointBounds bounds;
};

// A data set and fit result as a fitting run would leave them, with the lines
// given in rank order.
void MakeFamily(const std::vector<LineFixture>& ranks, core::DataSet& data,
                core::FitResults& results);
// The program generated for such a family.
std::vector<std::string> ProgramOf(const std::vector<LineFixture>& ranks);

// The lines of a text file (LF line ends, the last line ended).
std::vector<std::string> ReadLines(const std::string& path);

// A prepared family after a finished run: the fit results and the program.
struct FitRun {
    core::DataSet data;
    core::FitResults results;
};
FitRun FitAndGenerateFamily(const PointLines& family, const core::CalcSettings& settings = {});
// The same for the lines of a data file.
FitRun FitAndGenerateFile(const std::string& path);

// Lines of Knee (X = 1..30) with the given parameters, fitted with a cutoff
// of 1E-6 so that each takes several sections.
FitRun FitKnee(const std::vector<const char*>& parameters);

// A family to run a generated program on, by name.
struct FitCase {
    const char* name;
    std::function<FitRun()> fit;
};
inline void PrintTo(const FitCase& c, std::ostream* out) {
    *out << c.name;
}
// The grid families, then the sample family (SampleDiodes).
std::vector<FitCase> GridAndSampleCases();

// The family the core's evaluator builds of a run; it must be ready.
core::CalcFamily FamilyOf(const core::DataSet& data, const core::FitResults& results);

// One section of a hand-made fit: its form, C1..C4 and the X text of its last
// point (unused for the last section).
struct FormSection {
    int form = 0;
    core::Coefficients c{};
    std::string end;
};
struct FormLine {
    std::string parameter;
    std::vector<FormSection> sections;
    core::PointBounds bounds;
};
// A family fitted by hand, given in rank order with line numbers 1..n: the
// statements are those of the sections' forms, as a run writes them, and the
// program is generated.
void MakeFormFamily(const std::vector<FormLine>& ranks, core::DataSet& data,
                    core::FitResults& results);

// Three sections in the forms of coordinate system `system` (degrees 1, 2,
// 3), ending at X 2.5 and 5.
FormLine SystemLine(int system, const std::string& parameter, core::PointBounds bounds);
// Seven lines, one per coordinate system, each in three sections of degrees 1
// to 3. Lines 1 and 2 reach below X = 0, so that the program refuses no X
// there and evaluates the other lines' logarithms at it.
std::vector<FormLine> SevenSystems();
// A line whose values fall below the smallest Single (Exp(-100 X) up to
// X = 1) and rise beyond the largest (1E+30 X^3), over X 0.1 to 1000.
FormLine BeyondASingle(const std::string& parameter);

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
std::vector<Probe> CalcProbes(const core::DataSet& data, const core::FitResults& results);
inline std::ostream& operator<<(std::ostream& out, const Probe& probe) {
    return out << "x = " << probe.x << " p = " << probe.p;
}

}  // namespace kx::test
