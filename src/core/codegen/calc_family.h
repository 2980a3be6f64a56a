#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/data/data_set.h"
#include "core/fitting/fit_results.h"

// The fitted family as the generated Calc program holds it: every number as
// the program text writes it (the Str$ texts of the limits, the six-digit
// coefficients, the section ends as Single literals, the parameter texts), so
// that whatever evaluates it (the core's own evaluator, the C and Python
// programs) computes what the BASIC text computes.
namespace kx::core {

// One section of a line: the equation the program uses up to its end.
struct CalcSection {
    int form = 0;               // 1..21; 0 for the statement "= 0"
    std::array<double, 5> c{};  // C1..C4 at 1..4, the values of their texts
    float end = 0.0f;           // the section's last X; the last section has none
};

// The line at one position of the program (positions run in ascending
// parameter order).
struct CalcLine {
    int line = 0;               // its number in the data set
    std::string parameterText;  // trimmed, as YG1$(k) holds it
    double parameter = 0.0;     // Val(YG1$(k))
    int sectionCount = 1;       // 1..3, as the program branches
    std::array<CalcSection, 3> sections{};
    // XXMIN!(k) .. YYMAX!(k): what the range lines assign to the position.
    PointBounds range{0.0f, 0.0f, 0.0f, 0.0f};
};

struct CalcFamily {
    PointBounds limits;  // XMIN! .. YMAX!
    // The program refuses an X of 0 or below (flag 1); it does so only where
    // the lines it compares with have positive X ranges.
    bool refusesNonPositiveX = false;
    std::vector<CalcLine> lines;  // one: the single-line program
};

enum class CalcFamilyStatus {
    kReady,
    kNoProgram,  // no run has generated a program (none yet, or it was stopped)
    // The statements, section ends or line order are not those a fitting run
    // leaves with its program, so no evaluation would compute what it does.
    kInconsistent,
};

struct CalcFamilyBuild {
    CalcFamilyStatus status = CalcFamilyStatus::kNoProgram;
    CalcFamily family;
};

// The family of the program that GenerateCalcProgram made from these results.
CalcFamilyBuild CalcFamilyOf(const DataSet& data, const FitResults& results);

// A number of the program text read back as the program reads it: a Single
// variable assigned the value of its Str$ text.
float ProgramSingle(float value);

}  // namespace kx::core
