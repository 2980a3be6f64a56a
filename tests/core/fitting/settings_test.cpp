#include "core/fitting/calc_settings.h"

#include <gtest/gtest.h>

#include <limits>

#include "core/fitting/fit_family.h"

namespace kx::core {
namespace {

TEST(CalcSettings, StartValues) {
    const CalcSettings settings;
    EXPECT_EQ(settings.errorMode, 2);
    EXPECT_EQ(settings.cutoffPrecision, 0.00076f);
    for (int16_t flag : settings.excludedSystem) EXPECT_EQ(flag, 0);
}

TEST(Gr, GradesArePrintedWithTwoDecimalsCut) {
    EXPECT_FLOAT_EQ(*Gr(0.00076f), 74.98f);
    EXPECT_FLOAT_EQ(*Gr(0.0005f), 80.15f);
    EXPECT_FLOAT_EQ(*Gr(1e-5f), 128.39f);
    EXPECT_FLOAT_EQ(*Gr(1e-10f), 270.36f);
    EXPECT_FLOAT_EQ(*Gr(0.5f), -5.03f);
    EXPECT_FLOAT_EQ(*Gr(0.001f), 71.6f);
}

TEST(Gr, UndefinedValuesDoNotFail) {
    EXPECT_FALSE(Gr(0.0f).has_value());
    EXPECT_FALSE(Gr(-1.0f).has_value());
    EXPECT_FALSE(Gr(std::numeric_limits<float>::quiet_NaN()).has_value());
    EXPECT_TRUE(Gr(std::numeric_limits<float>::denorm_min()).has_value());
    // The fitting log grades 0 as 1E-10 and a grade below zero as 0.
    EXPECT_FLOAT_EQ(LogGr(0.0f), 270.36f);
    EXPECT_FLOAT_EQ(LogGr(-0.0f), 270.36f);
    EXPECT_EQ(LogGr(2.0f), 0.0f);
    EXPECT_FLOAT_EQ(LogGr(0.0005f), 80.15f);
}

TEST(GaugeLength, ScalesThePartitionCounter) {
    EXPECT_EQ(GaugeLength(0, 100), 0);
    EXPECT_EQ(GaugeLength(100, 100), 26);  // 25 x 1.035 = 25.875
    EXPECT_EQ(GaugeLength(50, 100), 13);   // 12.9375
    EXPECT_EQ(GaugeLength(32767, 1), 847846);
    EXPECT_EQ(GaugeLength(10, 0), 0);
}

}  // namespace
}  // namespace kx::core
