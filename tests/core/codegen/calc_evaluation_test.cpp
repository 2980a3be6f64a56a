#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "codegen_fixtures.h"
#include "core/codegen/calc_evaluation.h"
#include "core/codegen/calc_family.h"
#include "core/codegen/calc_program.h"
#include "core/data/numeric_text.h"
#include "support/basic_interpreter.h"
#include "support/near.h"

// The core's evaluator gives what the generated BASIC text gives when it is
// run: the same flag and the same Single, on fitted families of every kind and
// on hand-made ones with every form and every way to fail.
namespace kx::core {
namespace {

using kx::test::basic::Arithmetic;
using kx::test::basic::CalcOutcome;
using kx::test::basic::CallOptions;
using kx::test::basic::Dialect;
using kx::test::basic::Program;
using kx::test::basic::RunCalc;
using test::CalcProbes;
using test::Fitted;
using test::Probe;

// The host the evaluator follows to the bit: every Single operation rounded,
// a Single compared with a Double in double precision.
CallOptions StrictSingle() {
    CallOptions options;
    options.dialect = Dialect::kVisualBasic;
    options.arithmetic = Arithmetic::kSingle;
    return options;
}

CalcFamily FamilyOf(const DataSet& data, const FitResults& results) {
    const CalcFamilyBuild build = CalcFamilyOf(data, results);
    EXPECT_EQ(build.status, CalcFamilyStatus::kReady);
    return build.family;
}

// Runs the program and the evaluator on every probe; returns the flags met.
std::set<int> ExpectSameAnswers(const std::vector<std::string>& text, const CalcFamily& family,
                                const std::vector<Probe>& probes) {
    const Program program(text);
    EXPECT_TRUE(program.ok()) << program.error();
    std::set<int> flags;
    if (!program.ok()) return flags;
    for (const Probe& probe : probes) {
        const CalcOutcome basic = RunCalc(program, probe.x, probe.p, StrictSingle());
        const CalcAnswer core = EvaluateCalc(family, probe.x, probe.p);
        EXPECT_TRUE(basic.ok) << probe << ": " << basic.call.error;
        EXPECT_EQ(core.flag, basic.flag) << probe;
        EXPECT_EQ(core.value, basic.answer) << probe;
        flags.insert(core.flag);
    }
    return flags;
}

struct FamilyCase {
    const char* name;
    std::function<Fitted()> fit;
};
void PrintTo(const FamilyCase& c, std::ostream* out) {
    *out << c.name;
}

double Knee(double x, double) {
    return x < 10 ? 1 + 0.5 * x : 6 + 0.08 * (x - 10) * (x - 10) * (x - 10) / x;
}

// Two lines of a knee that takes several sections.
Fitted KneeFamily() {
    CalcSettings settings;
    settings.cutoffPrecision = 1e-6f;
    return test::FitAndGenerateFamily(
        {{"1", test::Sample(30, 1, 1, Knee, 0)}, {"2", test::Sample(30, 1, 1, Knee, 0)}},
        settings);
}

std::vector<FamilyCase> FittedFamilies() {
    std::vector<FamilyCase> cases;
    for (const test::GridFamily& grid : test::GridFamilies()) {
        cases.push_back(
            {grid.name, [lines = grid.lines] { return test::FitAndGenerateFamily(lines); }});
    }
    cases.push_back({"SampleDiodes", [] { return test::FitAndGenerateFile(KX_SAMPLE_FILE); }});
    cases.push_back({"ParametersAThousandthApart",
                     [] { return test::FitAndGenerateFamily(test::SpacedFamily(1e-3)); }});
    cases.push_back(
        {"OneKnee", [] {
             CalcSettings settings;
             settings.cutoffPrecision = 1e-6f;
             return test::FitAndGenerateFamily({{"5", test::Sample(30, 1, 1, Knee, 0)}}, settings);
         }});
    cases.push_back(
        {"OneThroughZero", [] {
             return test::FitAndGenerateFamily(
                 {{"2", test::Sample(
                            25, -12, 1, [](double x, double) { return 0.02 * x * x * x - x + 3; },
                            0)}});
         }});
    return cases;
}

class CalcEvaluationOfFits : public ::testing::TestWithParam<FamilyCase> {};

TEST_P(CalcEvaluationOfFits, GivesTheBasicProgramsAnswerEverywhere) {
    const Fitted fitted = GetParam().fit();
    const std::set<int> flags =
        ExpectSameAnswers(fitted.results.program, FamilyOf(fitted.data, fitted.results),
                          CalcProbes(fitted.data, fitted.results));
    // The probes reach the good answers and the range flags.
    EXPECT_TRUE(flags.count(kCalcOk));
    EXPECT_TRUE(flags.count(kCalcXOutside));
    if (fitted.data.lineCount > 1) {
        EXPECT_TRUE(flags.count(kCalcParameterOutside));
    }
}

INSTANTIATE_TEST_SUITE_P(Families, CalcEvaluationOfFits, ::testing::ValuesIn(FittedFamilies()),
                         [](const auto& test) { return std::string(test.param.name); });

// ---- Hand-made families: every form, every variant, every way to fail --------

using test::FormLine;
using test::FormSection;

// Line `k` of a hand-made family: three sections in the forms of coordinate
// system `system` (degrees 1, 2, 3), ending at X 2.5 and 5.
FormLine SystemLine(int system, const std::string& parameter, PointBounds bounds) {
    const Coefficients c = {0, 0.0123, -0.0456, 0.789, 1.5};
    FormLine line{parameter, {}, bounds};
    for (int degree = 1; degree <= 3; ++degree) {
        line.sections.push_back({FormNumber(system, degree), c,
                                 degree == 1   ? "2.5"
                                 : degree == 2 ? "5"
                                               : ""});
    }
    return line;
}

// The probes of the family and a sweep of X from -1 to 9 at every line.
std::vector<Probe> SweptProbes(const DataSet& data, const FitResults& results) {
    std::vector<Probe> probes = CalcProbes(data, results);
    for (int k = 1; k <= data.lineCount; ++k) {
        const float p = static_cast<float>(ValueOfText(data.parameterText[data.lineOrder[k]]));
        for (float x = -1.0f; x <= 9.0f; x += 1.0f) probes.push_back({x, p});
    }
    return probes;
}

std::set<int> ExpectSameAnswers(const std::vector<FormLine>& ranks) {
    DataSet data;
    FitResults results;
    test::MakeFormFamily(ranks, data, results);
    return ExpectSameAnswers(results.program, FamilyOf(data, results), SweptProbes(data, results));
}

// Seven lines, one per coordinate system, each in three sections of degrees 1
// to 3. Lines 1 and 2 reach below X = 0, so that the program refuses no
// X there and evaluates the other lines' logarithms at it.
std::vector<FormLine> SevenSystems() {
    std::vector<FormLine> seven;
    for (int k = 1; k <= kSystemCount; ++k) {
        seven.push_back(SystemLine(k, std::to_string(k * 10),
                                   {.xMax = 6 + 0.2f * k,
                                    .xMin = k <= 2 ? -1.0f : 0.3f * k,
                                    .yMax = 4 + 0.5f * k,
                                    .yMin = 0.5f}));
    }
    return seven;
}

TEST(CalcEvaluation, EveryFormAloneAndAcrossSevenLines) {
    std::set<int> flags;
    const std::vector<FormLine> seven = SevenSystems();
    for (const FormLine& line : seven) flags.merge(ExpectSameAnswers({line}));
    flags.merge(ExpectSameAnswers(seven));
    // Flags that fitted families seldom meet.
    for (int flag : {kCalcNonPositiveX, kCalcYOutside, kCalcFailed}) {
        EXPECT_TRUE(flags.count(flag)) << flag;
    }
}

TEST(CalcEvaluation, EveryFormInTwoLineFamilies) {
    const std::vector<FormLine> seven = SevenSystems();
    std::set<int> flags;
    for (int k = 1; k < kSystemCount; k += 2) {
        flags.merge(ExpectSameAnswers({seven[k - 1], seven[k]}));
    }
    EXPECT_TRUE(flags.count(kCalcInverseXOutside));
}

TEST(CalcEvaluation, ValuesAndLimitsAtTheEdgesOfASingle) {
    const FormSection tiny{FormNumber(3, 1), {0, -100, 0}, "1"};       // Exp(-100 X)
    const FormSection huge{FormNumber(1, 3), {0, 1e30, 0, 0, 0}, ""};  // 1E+30 X^3
    const PointBounds wide{.xMax = 1000, .xMin = 0.1f, .yMax = 1e30f, .yMin = 0};
    // Values below the smallest and beyond the largest Single, stored by the
    // program's rule, in one line and across three.
    ExpectSameAnswers({{"1", {tiny, huge}, wide}});
    ExpectSameAnswers({{"1", {tiny, huge}, wide},
                       {"2", {tiny, huge}, wide},
                       {"3", {{FormNumber(1, 1), {0, 2, 1}, ""}}, wide}});
    // Parameters near the largest Single: the 2 % beyond them is no Single.
    const FormLine plain = SystemLine(1, "1", {.xMax = 8, .xMin = 0.5f, .yMax = 9, .yMin = 0});
    std::vector<FormLine> large = {plain, plain, plain};
    large[0].parameter = "1E+38";
    large[1].parameter = "2E+38";
    large[2].parameter = "3.35E+38";
    EXPECT_TRUE(ExpectSameAnswers(large).count(kCalcFailed));
    // Parameters 1E-30 apart, and X limits near the largest Single.
    std::vector<FormLine> close = {plain, plain, plain};
    close[0].parameter = "1E-30";
    close[1].parameter = "2E-30";
    close[2].parameter = "3E-30";
    ExpectSameAnswers(close);
    std::vector<FormLine> far = {plain, plain};
    far[1].bounds.xMax = 3e38f;
    ExpectSameAnswers(far);
}

// The hosts that keep Single intermediates wider, and the one that compares a
// Single with a Double in single precision, give the evaluator's flags, and
// its values within two units of a Single's last place.
TEST(CalcEvaluation, OtherHostsAgreeWithinASinglesPrecision) {
    const test::Family families[] = {test::GridFamilies()[1].lines, test::GridFamilies()[2].lines};
    for (const test::Family& family : families) {
        const Fitted fitted = test::FitAndGenerateFamily(family);
        const CalcFamily calc = FamilyOf(fitted.data, fitted.results);
        const Program program(fitted.results.program);
        ASSERT_TRUE(program.ok()) << program.error();
        for (const Probe& probe : CalcProbes(fitted.data, fitted.results)) {
            const CalcAnswer core = EvaluateCalc(calc, probe.x, probe.p);
            for (const auto& [dialect, arithmetic] :
                 {std::pair{Dialect::kLibreOffice, Arithmetic::kSingle},
                  std::pair{Dialect::kVisualBasic, Arithmetic::kExtended},
                  std::pair{Dialect::kLibreOffice, Arithmetic::kExtended}}) {
                CallOptions host;
                host.dialect = dialect;
                host.arithmetic = arithmetic;
                const CalcOutcome basic = RunCalc(program, probe.x, probe.p, host);
                EXPECT_EQ(basic.flag, core.flag) << probe;
                EXPECT_REL_NEAR(basic.answer, core.value, 2.5e-7) << probe;
            }
        }
    }
}

TEST(CalcFamilyOf, TakesTheNumbersAsTheProgramTextWritesThem) {
    // Seven digits do not tell 1 + 2^-23 from 1: the program holds 1.
    EXPECT_EQ(ProgramSingle(std::nextafter(1.0f, 2.0f)), 1.0f);
    EXPECT_EQ(ProgramSingle(-0.04991f), -0.04991f);
    EXPECT_EQ(ProgramSingle(3e38f), 3e38f);

    const Fitted fitted = test::FitAndGenerateFile(KX_SAMPLE_FILE);
    const CalcFamily family = FamilyOf(fitted.data, fitted.results);
    ASSERT_EQ(family.lines.size(), 5u);
    EXPECT_EQ(family.lines[0].parameterText, "-25");
    EXPECT_EQ(family.lines[0].parameter, -25.0);
    EXPECT_EQ(family.limits.xMin, 0.04991f);
    EXPECT_TRUE(family.refusesNonPositiveX);
    const CalcLine& line = family.lines[4];
    ASSERT_EQ(line.sectionCount, 3);  // the statements of line 5 (125 degrees)
    const std::string& end =
        fitted.data.xText[line.line][fitted.results.lineFit[line.line].sections[1].lastIndex];
    EXPECT_EQ(line.sections[0].end, static_cast<float>(ValueOfText(end)));
    EXPECT_EQ(line.sections[0].c[1], ValueOfText("9.15098E-03"));
}

TEST(CalcFamilyOf, RefusesResultsWithoutTheirProgram) {
    Fitted fitted = KneeFamily();
    EXPECT_EQ(CalcFamilyOf(fitted.data, FitResults{}).status, CalcFamilyStatus::kNoProgram);
    DataSet none;
    EXPECT_EQ(CalcFamilyOf(none, fitted.results).status, CalcFamilyStatus::kNoProgram);

    // Statements that are not those of the sections' forms, a missing one, or
    // a section end without its X text: the program would not be the fit's.
    FitResults changed = fitted.results;
    changed.statements[1] = "Y!(2)= 1";
    EXPECT_EQ(CalcFamilyOf(fitted.data, changed).status, CalcFamilyStatus::kInconsistent);
    changed = fitted.results;
    changed.statements.pop_back();
    EXPECT_EQ(CalcFamilyOf(fitted.data, changed).status, CalcFamilyStatus::kInconsistent);
    DataSet data = fitted.data;
    const LineFit& fit = fitted.results.lineFit[1];
    ASSERT_GE(fit.sectionCount, 2);
    data.xText[1][fit.sections[1].lastIndex] = "";
    EXPECT_EQ(CalcFamilyOf(data, fitted.results).status, CalcFamilyStatus::kInconsistent);
}

}  // namespace
}  // namespace kx::core
