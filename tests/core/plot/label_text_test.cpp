#include "core/plot/label_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "core/plot/nice_steps.h"

namespace kx::core {
namespace {

struct LabelCase {
    double value;
    const char* text;
    friend void PrintTo(const LabelCase& c, std::ostream* os) { *os << c.value; }
};

class LabelTextTest : public ::testing::TestWithParam<LabelCase> {};

TEST_P(LabelTextTest, WritesTheAxisFormat) {
    EXPECT_EQ(LabelText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, LabelTextTest,
    ::testing::Values(
        // The point form: no zero before the point, the point always written.
        LabelCase{0.0, ".0"}, LabelCase{2.0, "2."}, LabelCase{0.25, ".25"}, LabelCase{2.5, "2.5"},
        LabelCase{1500.0, "1500."}, LabelCase{-0.25, "-.25"}, LabelCase{-20.0, "-20."},
        LabelCase{9999.0, "9999."},
        // Sums of steps carry binary dust that six decimals must not show.
        LabelCase{0.1 + 0.2, ".3"}, LabelCase{3 * 0.1, ".3"}, LabelCase{0.0000125, ".000013"},
        LabelCase{9999.9999996, "10000."},
        // The exponent form from 10000 up and 0.00001 down, rounded half away from 0.
        LabelCase{12345.0, "1.235E+04"}, LabelCase{0.000001, "1.0E-06"},
        LabelCase{10000.0, "1.0E+04"}, LabelCase{0.00001, "1.0E-05"},
        LabelCase{-12345.0, "-1.235E+04"}, LabelCase{99996.0, "1.0E+05"},
        LabelCase{3 * 1e-6, "3.0E-06"}, LabelCase{2.5e-7, "2.5E-07"}, LabelCase{1e30, "1.0E+30"},
        LabelCase{3.4e38, "3.4E+38"}, LabelCase{1e-120, "1.0E-120"}));

TEST(LabelText, NonFiniteValuesHaveNoLabel) {
    EXPECT_EQ(LabelText(std::numeric_limits<double>::infinity()), "");
    EXPECT_EQ(LabelText(std::numeric_limits<double>::quiet_NaN()), "");
}

TEST(NiceSteps, TheTableRunsOneTwoFiveFromTheFifteenthPowersOfTen) {
    const auto& steps = NiceSteps();
    ASSERT_EQ(steps.size(), 93u);
    EXPECT_DOUBLE_EQ(steps.front(), 1e-15);
    EXPECT_DOUBLE_EQ(steps[1], 2e-15);
    EXPECT_DOUBLE_EQ(steps[2], 5e-15);
    EXPECT_DOUBLE_EQ(steps[45], 1.0);
    EXPECT_DOUBLE_EQ(steps.back(), 5e15);
    EXPECT_TRUE(std::is_sorted(steps.begin(), steps.end()));
}

TEST(NiceSteps, TheStepIsTheFirstGreaterThanTheRangeShare) {
    EXPECT_DOUBLE_EQ(NiceStep(1.566), 2.0);
    EXPECT_DOUBLE_EQ(NiceStep(2.0), 5.0);  // greater, not equal
    EXPECT_DOUBLE_EQ(NiceStep(73.26), 100.0);
    EXPECT_DOUBLE_EQ(NiceStep(0.0), 1e-15);
    EXPECT_DOUBLE_EQ(NiceStep(1e-30), 1e-15);
    // Beyond the table the sequence goes on instead of giving no step.
    EXPECT_DOUBLE_EQ(NiceStep(5e15), 1e16);
    EXPECT_DOUBLE_EQ(NiceStep(1.2e38), 2e38);
    EXPECT_DOUBLE_EQ(NiceStep(6e38), 1e39);
}

}  // namespace
}  // namespace kx::core
