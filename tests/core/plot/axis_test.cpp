#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/plot/axis_scale.h"
#include "core/plot/axis_ticks.h"

namespace kx::core {
namespace {

std::vector<std::string> Labels(const std::vector<AxisTick>& ticks) {
    std::vector<std::string> labels;
    for (const AxisTick& tick : ticks) {
        if (!tick.label.empty()) labels.push_back(tick.label);
    }
    return labels;
}

std::vector<AxisTick> OfKind(const std::vector<AxisTick>& ticks, TickKind kind) {
    std::vector<AxisTick> out;
    for (const AxisTick& tick : ticks) {
        if (tick.kind == kind) out.push_back(tick);
    }
    return out;
}

// Every tick lies on the axis and every label is a number.
void ExpectSoundTicks(const AxisScale& scale) {
    EXPECT_TRUE(std::isfinite(scale.linearScale) && scale.linearScale > 0.0f);
    EXPECT_LT(scale.low, scale.high);
    const std::vector<AxisTick> ticks = AxisTicks(scale);
    EXPECT_FALSE(ticks.empty());
    for (const AxisTick& tick : ticks) {
        EXPECT_GE(tick.position, -1e-6) << tick.value;
        EXPECT_LE(tick.position, 600.001) << tick.value;
        EXPECT_EQ(tick.label.find_first_of("ain"), std::string::npos) << tick.label;
    }
}

TEST(LinearAxis, WidensToWholeStepsWithTheirLabels) {
    const AxisScale scale = AdjustAxis(0.37f, 8.2f, false, AxisKind::kX);
    EXPECT_DOUBLE_EQ(scale.step, 2.0);
    EXPECT_EQ(scale.low, 0.0f);
    EXPECT_EQ(scale.high, 10.0f);
    EXPECT_EQ(scale.intervals, 5);
    EXPECT_FLOAT_EQ(scale.linearScale, 60.0f);

    const std::vector<AxisTick> ticks = AxisTicks(scale);
    EXPECT_EQ(Labels(ticks), (std::vector<std::string>{".0", "2.", "4.", "6.", "8.", "10."}));
    const std::vector<AxisTick> majors = OfKind(ticks, TickKind::kMajor);
    ASSERT_EQ(majors.size(), 5u);
    EXPECT_DOUBLE_EQ(majors[0].position, 120.0);
    EXPECT_DOUBLE_EQ(majors[4].position, 600.0);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_TRUE(majors[i].grid);
    EXPECT_FALSE(majors[4].grid);  // the last major is the box's edge
    const std::vector<AxisTick> minors = OfKind(ticks, TickKind::kMinor);
    ASSERT_EQ(minors.size(), 50u);
    EXPECT_NEAR(minors[1].position - minors[0].position, 12.0, 1e-9);
}

TEST(LinearAxis, NegativeRangesAndDecimalStepsLandOnTheirMultiples) {
    // -0.6 + 3 x 0.2 must be labelled 0, not as binary dust.
    const AxisScale scale = AdjustAxis(-0.55f, 0.35f, false, AxisKind::kY);
    EXPECT_DOUBLE_EQ(scale.step, 0.2);
    EXPECT_FLOAT_EQ(scale.low, -0.6f);
    EXPECT_FLOAT_EQ(scale.high, 0.4f);
    EXPECT_EQ(Labels(AxisTicks(scale)),
              (std::vector<std::string>{"-.6", "-.4", "-.2", ".0", ".2", ".4"}));
    // A float minimum of a decimal (0.7f is just below 0.7) keeps its limit, and
    // the point at the minimum stays inside.
    const AxisScale decimal = AdjustAxis(0.7f, 1.1f, false, AxisKind::kX);
    EXPECT_DOUBLE_EQ(decimal.step, 0.1);
    EXPECT_EQ(decimal.low, 0.7f);
    EXPECT_EQ(decimal.high, 1.1f);
}

TEST(LogAxis, RunsFromALeadingDigitAndLabelsOnlyTheDecadesWhenShort) {
    const AxisScale scale = AdjustAxis(3.7f, 370.0f, true, AxisKind::kX);
    ASSERT_TRUE(scale.log);
    EXPECT_EQ(scale.low, 3.0f);
    EXPECT_EQ(scale.high, 400.0f);
    const double decade = scale.logScale * std::log(10.0);
    EXPECT_NEAR(decade, 600 * std::log(10.0) / std::log(400.0 / 3.0), 1e-3);
    EXPECT_EQ(LabelDigits(decade), "1");

    const std::vector<AxisTick> ticks = AxisTicks(scale);
    EXPECT_EQ(Labels(ticks), (std::vector<std::string>{"10.", "100."}));
    std::vector<double> units;
    for (const AxisTick& tick : OfKind(ticks, TickKind::kMajor)) units.push_back(tick.value);
    EXPECT_EQ(units, (std::vector<double>{3,  4,  5,  6,  7,  8,  9,   10,  20,  30,
                                          40, 50, 60, 70, 80, 90, 100, 200, 300, 400}));
    EXPECT_NEAR(OfKind(ticks, TickKind::kMajor).back().position, 600.0, 1e-3);
}

TEST(LogAxis, ALongDecadeLabelsMoreDigits) {
    const AxisScale scale = AdjustAxis(1.0f, 9.5f, true, AxisKind::kX);  // one decade on 600
    EXPECT_EQ(scale.low, 1.0f);
    EXPECT_EQ(scale.high, 10.0f);
    EXPECT_EQ(LabelDigits(scale.logScale * std::log(10.0)), "125");
    EXPECT_EQ(Labels(AxisTicks(scale)), (std::vector<std::string>{"1.", "2.", "5.", "10."}));
}

struct DigitSetCase {
    double decade;
    const char* digits;
};

TEST(LogAxis, DigitSetsFollowTheDecadeLength) {
    for (const DigitSetCase c :
         {DigitSetCase{300, "1"}, DigitSetCase{300.5, "15"}, DigitSetCase{500, "15"},
          DigitSetCase{800, "125"}, DigitSetCase{1000, "1235"}, DigitSetCase{1500, "12357"},
          DigitSetCase{1501, "123456789"}}) {
        EXPECT_EQ(LabelDigits(c.decade), c.digits) << c.decade;
    }
}

struct LogLimitCase {
    float min;
    float max;
    AxisKind kind;
    float low;
    float high;
};

TEST(LogAxis, LimitsByLeadingDigit) {
    for (const LogLimitCase c : {
             LogLimitCase{370, 370000, AxisKind::kX, 300, 400000},
             LogLimitCase{3.7f, 300, AxisKind::kX, 3, 300},  // 300 reads 3.000E+02: kept
             LogLimitCase{3.7f, 300, AxisKind::kY, 3, 400},  // the Y axis always goes up
             LogLimitCase{3.7f, 950, AxisKind::kX, 3, 1000},
             LogLimitCase{0.0123f, 0.5f, AxisKind::kX, 0.01f, 0.5f},
             // Four-digit rounding must not push a limit past the data.
             LogLimitCase{9.9996f, 25, AxisKind::kX, 9, 30},
             LogLimitCase{1, 3.0004f, AxisKind::kX, 1, 4},
         }) {
        const AxisScale scale = AdjustAxis(c.min, c.max, true, c.kind);
        EXPECT_TRUE(scale.log);
        EXPECT_FLOAT_EQ(scale.low, c.low) << c.min;
        EXPECT_FLOAT_EQ(scale.high, c.high) << c.max;
        EXPECT_LE(scale.low, c.min);
        EXPECT_GE(scale.high, c.max);
    }
}

TEST(LogAxis, ANonPositiveMinimumGivesALinearAxis) {
    EXPECT_FALSE(AdjustAxis(0.0f, 50.0f, true, AxisKind::kY).log);
    EXPECT_FALSE(AdjustAxis(-2.0f, 50.0f, true, AxisKind::kX).log);
}

// Ranges the layout rules alone would turn into a zero or infinite scale, a
// step missing from the table or a limit beyond a float.
TEST(AxisFaults, EveryFiniteRangeGivesASoundAxis) {
    constexpr float kBig = std::numeric_limits<float>::max();
    struct Case {
        float min;
        float max;
        bool log;
    };
    for (const Case c :
         {Case{5, 5, false}, Case{0, 0, false}, Case{-3, -3, false}, Case{5, 5, true},
          Case{1e-30f, 1e-30f, true}, Case{1e-30f, 3e-30f, false}, Case{1e-40f, 1e-40f, false},
          Case{3e38f, 3e38f, false}, Case{-kBig, kBig, false}, Case{1e-38f, kBig, true},
          Case{1e-45f, 1e-44f, true}, Case{8, 2, false}, Case{16777216.0f, 16777218.0f, false}}) {
        SCOPED_TRACE(::testing::Message() << c.min << ".." << c.max << (c.log ? " log" : ""));
        const AxisScale scale = AdjustAxis(c.min, c.max, c.log, AxisKind::kY);
        ExpectSoundTicks(scale);
        EXPECT_LE(scale.low, std::min(c.min, c.max));
        EXPECT_GE(scale.high, std::max(c.min, c.max));
    }
}

TEST(AxisFaults, AnEmptyRangeOpensAroundItsValue) {
    const AxisScale five = AdjustAxis(5.0f, 5.0f, false, AxisKind::kX);
    EXPECT_FLOAT_EQ(five.low, 4.5f);
    EXPECT_FLOAT_EQ(five.high, 5.5f);
    EXPECT_EQ(Labels(AxisTicks(five)), (std::vector<std::string>{"4.5", "5.", "5.5"}));
    const AxisScale zero = AdjustAxis(0.0f, 0.0f, false, AxisKind::kY);
    EXPECT_FLOAT_EQ(zero.low, -1.0f);
    EXPECT_FLOAT_EQ(zero.high, 1.0f);
}

TEST(AxisFaults, ALimitBeyondAFloatIsHeldAndLabelledAsDrawn) {
    constexpr float kBig = std::numeric_limits<float>::max();
    const AxisScale scale = AdjustAxis(-kBig, kBig, false, AxisKind::kX);
    EXPECT_EQ(scale.low, -kBig);
    EXPECT_EQ(scale.high, kBig);
    const std::vector<AxisTick> ticks = AxisTicks(scale);
    EXPECT_EQ(ticks.front().label, "-3.403E+38");
    EXPECT_EQ(Labels(ticks),
              (std::vector<std::string>{"-3.403E+38", "-2.0E+38", ".0", "2.0E+38"}));
}

}  // namespace
}  // namespace kx::core
