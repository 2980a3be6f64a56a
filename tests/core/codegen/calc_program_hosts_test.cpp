#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "codegen_fixtures.h"
#include "core/codegen/calc_program.h"
#include "core/data/numeric_text.h"
#include "support/basic_interpreter.h"
#include "support/near.h"

// Generated programs run as the BASIC hosts that users paste them into run
// them: every host takes the same path to the same answer, and no run-time
// error leaves Calc.
namespace kx::core {
namespace {

using kx::test::basic::Arithmetic;
using kx::test::basic::CalcOutcome;
using kx::test::basic::CallOptions;
using kx::test::basic::Dialect;
using kx::test::basic::Program;
using kx::test::basic::RunCalc;

CallOptions Host(Dialect dialect, Arithmetic arithmetic) {
    return {.arithmetic = arithmetic, .dialect = dialect};
}

// The call returned to its caller, and not through the program's own handler.
::testing::AssertionResult Clean(const CalcOutcome& out) {
    if (!out.ok) return ::testing::AssertionFailure() << "left Calc: " << out.call.error;
    if (out.call.handledErrors > 0) {
        return ::testing::AssertionFailure()
               << "flag " << out.flag << " after " << out.call.handledError;
    }
    return ::testing::AssertionSuccess();
}

// The parameter of a rank.
float ParameterOf(const DataSet& data, int rank) {
    return static_cast<float>(ValueOfText(data.parameterText[data.lineOrder[rank]]));
}

class CalcProgramGrid : public ::testing::TestWithParam<test::GridFamily> {};

// Each probe of a grid over the family's X range and parameter range, from
// end to end, runs in both dialects under both arithmetics.
TEST_P(CalcProgramGrid, EveryHostGivesTheSameAnswerWithoutAnError) {
    const test::FitRun g = test::FitAndGenerateFamily(GetParam().lines);
    const Program program(g.results.program);
    ASSERT_TRUE(program.ok()) << program.error();
    const PointBounds& range = g.results.familyBounds;
    const float first = ParameterOf(g.data, 1), last = ParameterOf(g.data, g.data.lineCount);
    constexpr int kSteps = 8;
    for (int i = 0; i <= kSteps; ++i) {
        const float x = range.xMin + (range.xMax - range.xMin) * static_cast<float>(i) / kSteps;
        for (int j = 0; j <= kSteps / 2; ++j) {
            const float p = first + (last - first) * static_cast<float>(j) / (kSteps / 2);
            for (const Arithmetic arithmetic : {Arithmetic::kSingle, Arithmetic::kExtended}) {
                const CalcOutcome vb =
                    RunCalc(program, x, p, Host(Dialect::kVisualBasic, arithmetic));
                const CalcOutcome lo =
                    RunCalc(program, x, p, Host(Dialect::kLibreOffice, arithmetic));
                ASSERT_TRUE(Clean(vb)) << "x = " << x << " p = " << p;
                ASSERT_TRUE(Clean(lo)) << "x = " << x << " p = " << p;
                EXPECT_EQ(lo.flag, vb.flag) << "x = " << x << " p = " << p;
                EXPECT_REL_NEAR(lo.answer, vb.answer, 1e-6) << "x = " << x << " p = " << p;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Families, CalcProgramGrid, ::testing::ValuesIn(test::GridFamilies()),
                         [](const auto& test) { return std::string(test.param.name); });

// The same curves with their parameters 1E-9, 1E-3, 1 or 1E+6 apart give the
// same values and flags, whether the host rounds Single intermediates or not.
TEST(CalcProgramHosts, TheParameterScaleDoesNotMatter) {
    const Arithmetic arithmetics[] = {Arithmetic::kSingle, Arithmetic::kExtended};
    const float units[] = {1.0f, 1.3f, 1.5f, 2.0f, 2.6f, 3.0f};  // parameters in spacings
    const float xs[] = {1.5f, 7.0f, 19.5f};
    const test::FitRun unit = test::FitAndGenerateFamily(test::SpacedFamily(1));
    const Program reference(unit.results.program);
    std::vector<CalcOutcome> wanted;
    for (const Arithmetic arithmetic : arithmetics) {
        for (const float t : units) {
            for (const float x : xs) wanted.push_back(RunCalc(reference, x, t, arithmetic));
        }
    }
    for (const double spacing : {1e-9, 1e-3, 1e6}) {
        const test::FitRun g = test::FitAndGenerateFamily(test::SpacedFamily(spacing));
        const Program program(g.results.program);
        ASSERT_TRUE(program.ok()) << program.error();
        auto want = wanted.begin();
        for (const Arithmetic arithmetic : arithmetics) {
            for (const float t : units) {
                for (const float x : xs) {
                    const CalcOutcome out =
                        RunCalc(program, x, static_cast<float>(spacing * t), arithmetic);
                    ASSERT_TRUE(Clean(out)) << spacing << " x = " << x << " t = " << t;
                    EXPECT_EQ(out.flag, want->flag) << spacing << " x = " << x << " t = " << t;
                    EXPECT_REL_NEAR(out.call.local("ANS11!"), want->call.local("ANS11!"), 1e-4)
                        << spacing << " x = " << x << " t = " << t;
                    EXPECT_REL_NEAR(out.answer, want->answer, 1e-4)
                        << spacing << " x = " << x << " t = " << t;
                    ++want;
                }
            }
        }
    }
}

const CallOptions kHosts[] = {Host(Dialect::kVisualBasic, Arithmetic::kSingle),
                              Host(Dialect::kVisualBasic, Arithmetic::kExtended),
                              Host(Dialect::kLibreOffice, Arithmetic::kExtended)};

// One line of two sections that end at X = 22.26749, whose Single lies above
// the decimal text: compared with a Double there, one host would take the
// second section at the end point.
TEST(CalcProgramHosts, AnEndPointBelongsToTheSectionThatEndsThere) {
    const float end = 22.26749f;
    ASSERT_GT(static_cast<double>(end), 22.26749);
    const Program program(test::ProgramOf({{1,
                                            "1",
                                            {{5, "22.26749"}, {9, "40"}},
                                            {"Y!(1)= 1", "Y!(1)= 2"},
                                            {.xMax = 40, .xMin = 1, .yMax = 2, .yMin = 1}}}));
    ASSERT_TRUE(program.ok()) << program.error();
    for (const CallOptions& host : kHosts) {
        const CalcOutcome at = RunCalc(program, end, 0.0f, host);
        ASSERT_TRUE(Clean(at));
        EXPECT_EQ(at.answer, 1.0f);
        EXPECT_EQ(RunCalc(program, std::nextafter(end, 100.0f), 0.0f, host).answer, 2.0f);
    }
}

// A line whose value leaves a Single's range: below its smallest normal value
// the program stores 0, beyond its largest value that value, in every host.
TEST(CalcProgramHosts, ValuesBeyondASinglesRangeAreStoredAlike) {
    const Program program(
        test::ProgramOf({{1,
                          "1",
                          {{5, "1"}, {9, "1000"}},
                          {"Y!(1)= EXP( -1.00000E+02* X1! )", "Y!(1)=  1.00000E+30* X1!^3"},
                          {.xMax = 1000, .xMin = 0.1f, .yMax = 1e30f, .yMin = 0}}}));
    ASSERT_TRUE(program.ok()) << program.error();
    for (const CallOptions& host : kHosts) {
        const CalcOutcome small = RunCalc(program, 0.5f, 0.0f, host);
        ASSERT_TRUE(Clean(small));
        EXPECT_REL_NEAR(small.answer, std::exp(-50.0), 1e-6);
        const CalcOutcome tiny = RunCalc(program, 0.9f, 0.0f, host);  // Exp(-90)
        ASSERT_TRUE(Clean(tiny));
        EXPECT_EQ(tiny.answer, 0.0f);
        EXPECT_EQ(tiny.flag, 0);
        const CalcOutcome huge = RunCalc(program, 1000.0f, 0.0f, host);  // 1E+39
        ASSERT_TRUE(Clean(huge));
        EXPECT_EQ(huge.answer, 3.402823e38f);
        EXPECT_EQ(huge.flag, 4);
    }
}

// What cannot be computed at all ends in flag 7 with ANS00! = 0, and the
// caller goes on: the logarithm of a negative X in the single-line program,
// a division by zero on a line that brackets the parameter of a family. The
// same line as the third of the parabola does not spoil the answer of the two
// lines that bracket the parameter: they give it by a straight line.
TEST(CalcProgramHosts, ARunTimeErrorEndsInFlagSeven) {
    const Program single(test::ProgramOf({{1,
                                           "1",
                                           {{5, "5"}},
                                           {"Y!(1)= Log(X1!)"},
                                           {.xMax = 5, .xMin = -5, .yMax = 2, .yMin = -2}}}));
    const Program family(test::ProgramOf(
        {{1,
          "1",
          {{5, "5"}},
          {"Y!(1)= 1 / ( X1! - 3 )"},
          {.xMax = 5, .xMin = 1, .yMax = 2, .yMin = -2}},
         {2, "2", {{5, "5"}}, {"Y!(2)= X1!"}, {.xMax = 5, .xMin = 1, .yMax = 5, .yMin = 1}},
         {3, "3", {{5, "5"}}, {"Y!(3)= X1! + 1"}, {.xMax = 5, .xMin = 1, .yMax = 6, .yMin = 2}}}));
    for (const CallOptions& host : kHosts) {
        for (const Program* program : {&single, &family}) {
            ASSERT_TRUE(program->ok()) << program->error();
            const float x = program == &single ? -1.0f : 3.0f;
            const CalcOutcome out = RunCalc(*program, x, 1.5f, host);
            ASSERT_TRUE(out.ok) << out.call.error;
            EXPECT_EQ(out.call.handledErrors, 1);
            EXPECT_EQ(out.flag, 7);
            EXPECT_EQ(out.answer, 0.0f);
            EXPECT_TRUE(Clean(RunCalc(*program, 2.0f, 2.0f, host)));
        }
        const CalcOutcome between = RunCalc(family, 3.0f, 2.5f, host);
        ASSERT_TRUE(between.ok) << between.call.error;
        EXPECT_EQ(between.flag, 0);
        EXPECT_NEAR(between.answer, 3.5f, 3.5e-4);  // the inverse solution stops within 1E-4
    }
}

}  // namespace
}  // namespace kx::core
