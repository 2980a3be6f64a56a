#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "codegen_fixtures.h"
#include "core/codegen/calc_program.h"
#include "core/data/numeric_text.h"
#include "core/fitting/fit_family.h"
#include "core/fitting/section_fit.h"
#include "support/basic_interpreter.h"
#include "support/finite_text.h"
#include "support/near.h"

namespace kx::core {
namespace {

using kx::test::basic::Program;
using kx::test::basic::RunCalc;
using test::Points;
using test::PreparedPoints;

void ExpectFiniteTexts(const DataSet& data, const CalcSettings& settings,
                       const FitResults& results) {
    const std::vector<std::string> details = DescribeResults(data, settings, results).lines;
    const std::vector<std::string> log = results.fittingLog.Texts();
    EXPECT_TRUE(test::FiniteTexts(
        {&log, &results.summary, &results.statements, &results.program, &details}));
}

// A whole run on the data: it completes, every text is finite and the program
// is valid BASIC; every data point is evaluated by the program without a
// run-time error (none reaches even its own handler), and the answers at the
// points of rank 1 are returned.
std::vector<float> RunWhole(DataSet data, const CalcSettings& settings, FitResults& results) {
    std::vector<float> answers;
    EXPECT_TRUE(FitAndGenerate(data, settings, results));
    EXPECT_TRUE(results.completed);
    ExpectFiniteTexts(data, settings, results);
    EXPECT_FALSE(results.program.empty());
    const Program program(results.program);
    EXPECT_TRUE(program.ok()) << program.error();
    if (!program.ok()) return answers;
    for (int k = 1; k <= data.lineCount; ++k) {
        const int line = data.lineOrder[k];
        const float p = static_cast<float>(ValueOfText(data.parameterText[line]));
        for (int i = 1; i <= data.preparedCount[line]; ++i) {
            const float x = static_cast<float>(ValueOfText(data.xText[line][i]));
            const auto out = RunCalc(program, x, p);
            EXPECT_TRUE(out.ok) << out.call.error << " at x = " << x;
            EXPECT_EQ(out.call.handledErrors, 0) << out.call.handledError << " at x = " << x;
            EXPECT_TRUE(std::isfinite(out.answer));
            if (k == 1) answers.push_back(out.answer);
        }
    }
    return answers;
}

TEST(FitAndGenerate, SectionsWithoutARatedCandidate) {
    // Only the reciprocal systems, on values so large that their reciprocals
    // vanish: every candidate's rating overflows and none is taken.
    CalcSettings settings;
    for (int system = 1; system <= 5; ++system) settings.excludedSystem[system] = 1;
    const Points huge = {{1, 1e25}, {2, 3e26}, {3, 2e27}, {4, 5e28}, {5, 1e29}, {6, 7e29}};
    DataSet data = PreparedPoints({{"1", huge}});
    const std::vector<FitCandidate> candidates =
        FitSection(data.xText[1], data.yText[1], data.preparedCount[1], settings);
    ASSERT_FALSE(candidates.empty());
    for (const FitCandidate& c : candidates) EXPECT_GE(MeanDeviationValue(c), 1e6f);
    FitResults results;
    const std::vector<float> answers = RunWhole(data, settings, results);
    EXPECT_EQ(results.lineFit[1].sections[1].form, 0);
    EXPECT_EQ(results.statements.front(), "Y!(1)= 0");
    for (float a : answers) EXPECT_EQ(a, 0.0f);

    // Every system excluded: no candidates at all, in a family program too.
    for (int system = 1; system <= 7; ++system) settings.excludedSystem[system] = 1;
    const Points plain = {{1, 2}, {2, 3}, {3, 5}, {4, 4}, {5, 6}, {6, 9}};
    RunWhole(PreparedPoints({{"1", plain}, {"2", plain}, {"3", plain}}), settings, results);
    std::size_t sections = 0;
    for (int line = 1; line <= 3; ++line) {
        const LineFit& fit = results.lineFit[line];
        sections += static_cast<std::size_t>(fit.sectionCount);
        for (int s = 1; s <= fit.sectionCount; ++s) EXPECT_EQ(fit.sections[s].form, 0);
    }
    ASSERT_EQ(results.statements.size(), sections);
    EXPECT_EQ(results.statements.back(), "Y!(3)= 0");
}

TEST(FitAndGenerate, ZerosAndNegatives) {
    const CalcSettings strict{.cutoffPrecision = -1.0f};  // every stage runs
    Points signs;
    Points zeros;
    for (int i = 0; i < 14; ++i) {
        signs.push_back({i - 7.0, (i % 3 - 1) * 2.5});
        zeros.push_back({i * 0.5, i % 4 == 0 ? 0.0 : -1.0 - i});
    }
    FitResults results;
    RunWhole(PreparedPoints({{"-2", signs}, {"0", zeros}}), strict, results);
    // No positive X range on the first line, but the second has one.
    RunWhole(PreparedPoints({{"1", signs}}), strict, results);
    bool negativeBlock = false;
    for (const std::string& line : results.program)
        negativeBlock |= line == "   If XXPP! <= 0 Then";
    EXPECT_FALSE(negativeBlock);
}

// Three points judge no more than a straight line of some system: here
// Y = 2 + 1.5 ln X, which the program reproduces.
TEST(FitAndGenerate, ALineOfThreePoints) {
    const CalcSettings strict{.cutoffPrecision = -1.0f};
    const Points three = {{1, 2}, {2, 2 + 1.5 * std::log(2.0)}, {4, 2 + 1.5 * std::log(4.0)}};
    FitResults results;
    const std::vector<float> answers = RunWhole(PreparedPoints({{"7", three}}), strict, results);
    EXPECT_EQ(results.lineFit[1].sectionCount, 1);
    EXPECT_EQ(DegreeOfForm(results.lineFit[1].sections[1].form), 1);
    ASSERT_EQ(answers.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_REL_NEAR(answers[i], three[i].second, 1e-4);
}

TEST(FitAndGenerate, LinesOfAHundredPoints) {
    const CalcSettings strict{.cutoffPrecision = -1.0f};
    std::vector<std::pair<std::string, Points>> lines;
    for (int line = 1; line <= 2; ++line) {
        Points points;
        for (int i = 0; i < 100; ++i) {
            const double x = 0.5 + 0.37 * i;
            points.push_back({x, line * (2 + std::sin(x)) + 0.1 * x * x});
        }
        lines.push_back({std::to_string(line * 10), points});
    }
    FitResults results;
    const std::vector<float> answers = RunWhole(PreparedPoints(lines), strict, results);
    for (int line = 1; line <= 2; ++line) EXPECT_EQ(results.lineFit[line].sectionCount, 3);
    // At its own parameter the program follows the line's points closely.
    ASSERT_EQ(answers.size(), 100u);
    for (int i = 0; i < 100; ++i) {
        const double x = 0.5 + 0.37 * i;
        EXPECT_REL_NEAR(answers[static_cast<std::size_t>(i)], 2 + std::sin(x) + 0.1 * x * x, 0.05);
    }
}

TEST(FitAndGenerate, EachRunWritesOnlyItsOwnProgram) {
    const Points first = {{1, 2}, {2, 4}, {3, 6}, {4, 8}, {5, 10}};
    const Points second = {{1, 3}, {2, 5}, {3, 7}, {4, 9}, {5, 11}};
    FitResults results;
    DataSet data = PreparedPoints({{"1", first}, {"2", second}});
    ASSERT_TRUE(FitAndGenerate(data, CalcSettings{}, results));
    data = PreparedPoints({{"1", second}});
    ASSERT_TRUE(FitAndGenerate(data, CalcSettings{}, results));
    FitResults fresh;
    DataSet again = PreparedPoints({{"1", second}});
    ASSERT_TRUE(FitAndGenerate(again, CalcSettings{}, fresh));
    EXPECT_EQ(results.program, fresh.program);
    EXPECT_EQ(results.program.front(), "Sub Calc(XXPP!, YYPP!, ANS00!, EFLG%)");
}

struct StopAtOnce : FitObserver {
    bool stopRequested() override { return true; }
};

TEST(FitAndGenerate, AStoppedRunGeneratesNothing) {
    const Points points = {{1, 2}, {2, 3}, {3, 5}, {4, 4}, {5, 6}, {6, 9}};
    DataSet data = PreparedPoints({{"1", points}});
    FitResults results;
    results.program = {"old"};
    StopAtOnce stop;
    EXPECT_FALSE(FitAndGenerate(data, CalcSettings{}, results, &stop));
    EXPECT_TRUE(results.program.empty());
}

}  // namespace
}  // namespace kx::core
