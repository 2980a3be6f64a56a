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
using test::FamilyOf;
using test::FitRun;
using test::Probe;

// The host the evaluator follows to the bit: every Single operation rounded,
// a Single compared with a Double in double precision.
const CallOptions kStrictSingle{.arithmetic = Arithmetic::kSingle,
                                .dialect = Dialect::kVisualBasic};

// Runs the program and the evaluator on every probe; returns the flags met.
std::set<int> ExpectSameAnswers(const std::vector<std::string>& text, const CalcFamily& family,
                                const std::vector<Probe>& probes) {
    const Program program(text);
    EXPECT_TRUE(program.ok()) << program.error();
    std::set<int> flags;
    if (!program.ok()) return flags;
    for (const Probe& probe : probes) {
        const CalcOutcome basic = RunCalc(program, probe.x, probe.p, kStrictSingle);
        const CalcAnswer core = EvaluateCalc(family, probe.x, probe.p);
        EXPECT_TRUE(basic.ok) << probe << ": " << basic.call.error;
        EXPECT_EQ(core.flag, basic.flag) << probe;
        EXPECT_EQ(core.value, basic.answer) << probe;
        flags.insert(core.flag);
    }
    return flags;
}

std::vector<test::FitCase> FittedFamilies() {
    std::vector<test::FitCase> cases = test::GridAndSampleCases();
    cases.push_back({"ParametersAThousandthApart",
                     [] { return test::FitAndGenerateFamily(test::SpacedFamily(1e-3)); }});
    cases.push_back({"OneKnee", [] { return test::FitKnee({"5"}); }});
    cases.push_back(
        {"OneThroughZero", [] {
             return test::FitAndGenerateFamily(
                 {{"2", test::Sample(
                            25, -12, 1, [](double x, double) { return 0.02 * x * x * x - x + 3; },
                            0)}});
         }});
    return cases;
}

class CalcEvaluationOfFits : public ::testing::TestWithParam<test::FitCase> {};

TEST_P(CalcEvaluationOfFits, GivesTheBasicProgramsAnswerEverywhere) {
    const FitRun fitted = GetParam().fit();
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

using test::BeyondASingle;
using test::FormLine;
using test::FormSection;
using test::SevenSystems;
using test::SystemLine;

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

TEST(CalcEvaluation, EveryFormAloneAcrossSevenLinesAndInTwoLineFamilies) {
    std::set<int> flags;
    const std::vector<FormLine> seven = SevenSystems();
    for (const FormLine& line : seven) flags.merge(ExpectSameAnswers({line}));
    flags.merge(ExpectSameAnswers(seven));
    // Flags that fitted families seldom meet.
    for (int flag : {kCalcNonPositiveX, kCalcYOutside, kCalcFailed}) {
        EXPECT_TRUE(flags.count(flag)) << flag;
    }
    std::set<int> pairs;
    for (int k = 1; k < kSystemCount; k += 2) {
        pairs.merge(ExpectSameAnswers({seven[k - 1], seven[k]}));
    }
    EXPECT_TRUE(pairs.count(kCalcInverseXOutside));
}

TEST(CalcEvaluation, ValuesAndLimitsAtTheEdgesOfASingle) {
    // Values below the smallest and beyond the largest Single, stored by the
    // program's rule, in one line and across three.
    ExpectSameAnswers({BeyondASingle("1")});
    ExpectSameAnswers({BeyondASingle("1"),
                       BeyondASingle("2"),
                       {"3", {{FormNumber(1, 1), {0, 2, 1}, ""}}, BeyondASingle("3").bounds}});
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
// its values within two units of a Single's last place (twenty where the
// parameter lies beyond the family).
TEST(CalcEvaluation, OtherHostsAgreeWithinASinglesPrecision) {
    const test::PointLines families[] = {test::GridFamilies()[1].lines,
                                         test::GridFamilies()[2].lines};
    for (const test::PointLines& family : families) {
        const FitRun fitted = test::FitAndGenerateFamily(family);
        const CalcFamily calc = FamilyOf(fitted.data, fitted.results);
        const Program program(fitted.results.program);
        ASSERT_TRUE(program.ok()) << program.error();
        for (const Probe& probe : CalcProbes(fitted.data, fitted.results)) {
            const CalcAnswer core = EvaluateCalc(calc, probe.x, probe.p);
            for (const CallOptions& host :
                 {CallOptions{.arithmetic = Arithmetic::kSingle, .dialect = Dialect::kLibreOffice},
                  CallOptions{.arithmetic = Arithmetic::kExtended,
                  .dialect = Dialect::kVisualBasic},
                  CallOptions{.arithmetic = Arithmetic::kExtended,
                  .dialect = Dialect::kLibreOffice}}) {
                const CalcOutcome basic = RunCalc(program, probe.x, probe.p, host);
                EXPECT_EQ(basic.flag, core.flag) << probe;
                // Beyond the family the parabola extrapolates: its weights
                // (up to about ten here) multiply a line value's last place.
                const double places = core.flag == kCalcParameterOutside ? 20 : 2;
                EXPECT_REL_NEAR(basic.answer, core.value, places * 1.25e-7) << probe;
            }
        }
    }
}

// Where the direct interpolation and the inverse solution differ by more
// than 1 % (the sample diode family at 1 mA and 50 degrees: about 3 %), the
// answer is the direct one with flag 6, not their mean: the BASIC program and
// the evaluator alike.
TEST(CalcEvaluation, DisagreeingAnswersAreTheDirectOneWithFlagSix) {
    const FitRun fitted = test::FitAndGenerateFile(KX_SAMPLE_FILE);
    const Program program(fitted.results.program);
    ASSERT_TRUE(program.ok()) << program.error();
    const CalcOutcome basic = RunCalc(program, 1.0f, 50.0f);
    ASSERT_TRUE(basic.ok) << basic.call.error;
    const double direct = basic.call.locals.at("ANS11!").number;
    const double inverse = basic.call.locals.at("ANS33!").number;
    EXPECT_GT(std::fabs(direct - inverse) / direct, 0.01);
    EXPECT_EQ(basic.flag, kCalcNotConverged);
    EXPECT_EQ(basic.answer, static_cast<float>(direct));
    const CalcAnswer core = EvaluateCalc(FamilyOf(fitted.data, fitted.results), 1.0f, 50.0f);
    EXPECT_EQ(core.flag, kCalcNotConverged);
    EXPECT_EQ(core.value, basic.answer);
}

TEST(CalcFamilyOf, TakesTheNumbersAsTheProgramTextWritesThem) {
    // Seven digits do not tell 1 + 2^-23 from 1: the program holds 1.
    EXPECT_EQ(ProgramSingle(std::nextafter(1.0f, 2.0f)), 1.0f);
    EXPECT_EQ(ProgramSingle(-0.04991f), -0.04991f);
    EXPECT_EQ(ProgramSingle(3e38f), 3e38f);

    const FitRun fitted = test::FitAndGenerateFile(KX_SAMPLE_FILE);
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
    // Two lines of a knee that takes several sections.
    FitRun fitted = test::FitKnee({"1", "2"});
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
