#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "codegen_fixtures.h"
#include "core/codegen/calc_program.h"
#include "core/data/numeric_text.h"
#include "core/fitting/equation_form.h"
#include "core/fitting/scientific_text.h"
#include "support/basic_interpreter.h"
#include "support/near.h"

namespace kx::core {
namespace {

using kx::test::basic::Arithmetic;
using kx::test::basic::Program;
using kx::test::basic::RunCalc;
using test::FitAndGenerateFamily;
using test::FitRun;
using test::Sample;

// The value of a fitted form at x, from the forms' own definition and the
// coefficients as the program text writes them (cut to six digits).
double FormValue(int form, const Coefficients& coefficients, double x) {
    Coefficients c{};
    for (int i = 1; i <= 4; ++i) c[i] = ScientificValue(coefficients[i]);
    const int system = SystemOfForm(form);
    const int degree = DegreeOfForm(form);
    const double u = (system == 2 || system == 4)   ? std::log(x)
                     : (system == 5 || system == 7) ? 1.0 / x
                                                    : x;
    double p = 0.0;
    for (int i = 1; i <= degree + 1; ++i) p = p * u + c[i];
    if (system == 3 || system == 4) return std::exp(p);
    if (system == 6 || system == 7) return 1.0 / p;
    return p;
}

TEST(CalcProgramRun, OneLineReproducesItsSectionEquations) {
    // A knee that no single form follows: the line needs several sections.
    const FitRun run = test::FitKnee({"5"});
    const LineFit& fit = run.results.lineFit[1];
    ASSERT_GE(fit.sectionCount, 2);
    const Program program(run.results.program);
    ASSERT_TRUE(program.ok()) << program.error();

    for (int i = 1; i <= run.data.preparedCount[1]; ++i) {
        const float x = static_cast<float>(ValueOfText(run.data.xText[1][i]));
        const float y = static_cast<float>(ValueOfText(run.data.yText[1][i]));
        // The program takes the first section whose end X is not below x.
        int s = 1;
        while (s < fit.sectionCount &&
               x > static_cast<float>(ValueOfText(run.data.xText[1][fit.sections[s].lastIndex]))) {
            ++s;
        }
        const auto out = RunCalc(program, x, 0.0f);
        ASSERT_TRUE(out.ok) << out.call.error;
        EXPECT_EQ(out.flag, 0) << "x = " << x;
        EXPECT_REL_NEAR(out.answer,
                        FormValue(fit.sections[s].form, fit.sections[s].coefficient, x), 1e-5);
        EXPECT_REL_NEAR(out.answer, y, 1e-3);
    }

    const auto beyond = RunCalc(program, 30 * 1.03f, 0.0f);
    EXPECT_EQ(beyond.flag, 2);
    EXPECT_NE(beyond.answer, 0.0f);  // still computed
    const auto negative = RunCalc(program, -1.0f, 0.0f);
    EXPECT_EQ(negative.flag, 1);
    EXPECT_EQ(negative.answer, 0.0f);
}

// Families whose values at a fixed X and whose X at a fixed value both change
// linearly with the parameter, so that interpolation across the lines is exact
// in both directions and the direct and the inverse solution must agree.
double Rising(double x, double p) {
    return x + 2 * p;
}
double Falling(double x, double p) {
    return 100 + 5 * p - 2 * x;
}

struct FamilyCase {
    const char* name;
    double (*f)(double, double);
    std::vector<double> parameters;
};

test::PointLines Lines(const FamilyCase& c, double x0, double dx) {
    test::PointLines lines;
    // Entered in descending order: the program must still use parameter order.
    for (auto p = c.parameters.rbegin(); p != c.parameters.rend(); ++p) {
        lines.push_back({SingleToText(static_cast<float>(*p)), Sample(21, x0, dx, c.f, *p)});
    }
    return lines;
}

void PrintTo(const FamilyCase& c, std::ostream* out) {
    *out << c.name;
}

// The inverse solution stops at a relative change of 1E-4 in X, which leaves
// its Y a few times that away; the answer is the mean of both solutions.
constexpr double kTolerance = 2e-4;
constexpr double kInverseTolerance = 5e-4;

// The family programs run with intermediates kept in double precision; see
// also InterpolationUnderSingleArithmetic.
kx::test::basic::CalcOutcome RunFamily(const Program& program, float x, float p) {
    return RunCalc(program, x, p, Arithmetic::kExtended);
}

class FamilyProgramRun : public ::testing::TestWithParam<FamilyCase> {};

TEST_P(FamilyProgramRun, EvaluatesInterpolatesFlagsAndSolves) {
    const FamilyCase& c = GetParam();
    const FitRun run = FitAndGenerateFamily(Lines(c, 10, 1.5));  // X from 10 to 40
    const Program program(run.results.program);
    ASSERT_TRUE(program.ok()) << program.error();

    // Each line's own value at its own parameter, at the data X values.
    for (int k = 1; k <= run.data.lineCount; ++k) {
        const int line = run.data.lineOrder[k];
        const float p = static_cast<float>(ValueOfText(run.data.parameterText[line]));
        EXPECT_EQ(p, static_cast<float>(c.parameters[k - 1]));
        for (int i = 1; i <= run.data.preparedCount[line]; i += 2) {
            const float x = static_cast<float>(ValueOfText(run.data.xText[line][i]));
            const float y = static_cast<float>(ValueOfText(run.data.yText[line][i]));
            const auto out = RunFamily(program, x, p);
            ASSERT_TRUE(out.ok) << out.call.error;
            EXPECT_EQ(out.flag, 0) << "x = " << x << " p = " << p;
            EXPECT_REL_NEAR(out.answer, y, kTolerance);
        }
    }

    // Between the lines: both solutions converge, agree, and give the value.
    const double first = c.parameters.front();
    const double last = c.parameters.back();
    const double spacing = (last - first) / static_cast<double>(c.parameters.size() - 1);
    for (double p = first + 0.3 * spacing; p < last; p += 0.5 * spacing) {
        for (const float x : {11.5f, 24.75f, 39.0f}) {
            const auto out = RunFamily(program, x, static_cast<float>(p));
            ASSERT_TRUE(out.ok) << out.call.error;
            EXPECT_EQ(out.flag, 0) << "x = " << x << " p = " << p;
            EXPECT_REL_NEAR(out.answer, c.f(x, p), kTolerance) << "x = " << x << " p = " << p;
            EXPECT_REL_NEAR(out.call.local("ANS33!"), out.call.local("ANS11!"), kInverseTolerance);
            EXPECT_EQ(out.call.local("EFLG0%"), 0);
            EXPECT_LT(out.call.local("NQ5%"), 300);
            for (int k = 1; k <= run.data.lineCount; ++k) {
                EXPECT_EQ(out.call.local("EFLG" + std::to_string(k) + "%"), 0) << k;
            }
        }
    }

    // Out of range: X beyond both bracketing lines, the parameter beyond the
    // family, both (the X flag wins), and a non-positive X.
    const float inside = static_cast<float>(first);
    EXPECT_EQ(RunFamily(program, 45.0f, inside).flag, 2);
    EXPECT_EQ(RunFamily(program, 9.0f, inside).flag, 2);
    EXPECT_EQ(RunFamily(program, 20.0f, static_cast<float>(last * 1.05)).flag, 3);
    EXPECT_EQ(RunFamily(program, 20.0f, static_cast<float>(first * 0.9)).flag, 3);
    EXPECT_EQ(RunFamily(program, 45.0f, static_cast<float>(last * 1.05)).flag, 2);
    const auto negative = RunFamily(program, 0.0f, inside);
    EXPECT_EQ(negative.flag, 1);
    EXPECT_EQ(negative.answer, 0.0f);
}

INSTANTIATE_TEST_SUITE_P(
    Families, FamilyProgramRun,
    ::testing::Values(FamilyCase{"TwoRising", Rising, {1, 2}},
                      FamilyCase{"ThreeRising", Rising, {1, 2, 3}},
                      FamilyCase{"FourFalling", Falling, {1, 2, 3, 4}},
                      FamilyCase{"TenRising", Rising, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}}),
    [](const auto& test) { return std::string(test.param.name); });

// Where only the direct interpolation is exact (values proportional to the
// parameter), Mode1 alone still meets the family between its lines.
TEST(CalcProgramRun, ModeOneInterpolatesAlongTheParameter) {
    auto scaled = [](double x, double p) { return p * std::sqrt(x); };
    for (const std::vector<double>& parameters :
         {std::vector<double>{10, 20}, std::vector<double>{10, 20, 30}}) {
        test::PointLines lines;
        for (double p : parameters) {
            lines.push_back({SingleToText(static_cast<float>(p)), Sample(20, 1, 1, scaled, p)});
        }
        const FitRun run = FitAndGenerateFamily(lines);
        const Program program(run.results.program);
        ASSERT_TRUE(program.ok()) << program.error();
        for (const float p : {12.5f, 17.0f, 24.0f}) {
            if (p > parameters.back()) continue;
            const auto out = RunCalc(program, 9.0f, p);
            ASSERT_TRUE(out.ok) << out.call.error;
            EXPECT_REL_NEAR(out.call.local("ANS11!"), scaled(9.0, p), 1e-4) << p;
        }
    }
}

// The 2 % allowance around the limits and around the first and last parameter
// widens the range on the negative side too: a family's own end points are
// inside, whatever the sign of the values there.
TEST(CalcProgramRun, NegativeLimitsAndParametersKeepTheirEndPointsInside) {
    auto shifted = [](double x, double) { return 2 * x + 1; };
    auto below = [](double x, double) { return x - 20; };
    for (const auto& points : {Sample(21, -10, 1, shifted, 0), Sample(21, 1, 1, below, 0)}) {
        const FitRun run = FitAndGenerateFamily({{"5", points}});
        const Program program(run.results.program);
        ASSERT_TRUE(program.ok()) << program.error();
        for (const auto& [x, y] : points) {
            const auto out = RunCalc(program, static_cast<float>(x), 0.0f);
            ASSERT_TRUE(out.ok) << out.call.error;
            EXPECT_EQ(out.flag, 0) << "x = " << x;
            EXPECT_REL_NEAR(out.answer, y, 1e-5);
        }
    }

    const FamilyCase c{"BelowZero", Rising, {-2, 0, 2}};
    const FitRun run = FitAndGenerateFamily(Lines(c, 10, 1.5));
    const Program program(run.results.program);
    ASSERT_TRUE(program.ok()) << program.error();
    for (const float p : {-2.0f, -1.97f, 2.0f}) {
        const auto out = RunFamily(program, 24.75f, p);
        ASSERT_TRUE(out.ok) << out.call.error;
        EXPECT_EQ(out.flag, 0) << "p = " << p;
        EXPECT_REL_NEAR(out.answer, Rising(24.75, p), kTolerance);
    }
    EXPECT_EQ(RunFamily(program, 24.75f, -2.05f).flag, 3);
    EXPECT_EQ(RunFamily(program, 24.75f, 2.05f).flag, 3);
}

// With every operation rounded to Single the interpolation across the lines
// keeps its accuracy: on ten lines y = x + 2p the answer is that of the
// family's formula (sums of fourth powers in Single once gave 26.75 for 50.5).
TEST(CalcProgramRun, InterpolationUnderSingleArithmetic) {
    const FamilyCase c{"TenRising", Rising, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}};
    const FitRun run = FitAndGenerateFamily(Lines(c, 10, 1.5));
    const Program program(run.results.program);
    ASSERT_TRUE(program.ok()) << program.error();
    for (const float p : {1.0f, 2.75f, 6.0f, 9.5f}) {
        for (const float x : {11.5f, 24.75f, 38.5f}) {
            const auto out = RunCalc(program, x, p, Arithmetic::kSingle);
            ASSERT_TRUE(out.ok) << out.call.error;
            EXPECT_EQ(out.flag, 0) << "x = " << x << " p = " << p;
            EXPECT_REL_NEAR(out.call.local("ANS11!"), Rising(x, p), 1e-6)
                << "x = " << x << " p = " << p;
            EXPECT_REL_NEAR(out.answer, Rising(x, p), kTolerance) << "x = " << x << " p = " << p;
        }
    }
}

}  // namespace
}  // namespace kx::core
