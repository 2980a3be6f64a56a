#include "core/digitizer/axis_calibration.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

#include "support/near.h"

namespace kx::core {
namespace {

AxisCalibration LinearX0To100() {
    AxisCalibration cal;
    cal.Xmin = 0;
    cal.Xmax = 100;
    cal.X1MIN = 1000;
    cal.X1MAX = 5000;
    cal.Ymin = 0;
    cal.Ymax = 10;
    cal.Y1MIN = 5000;
    cal.Y1MAX = 1000;
    return cal;
}

TEST(CanvasToValue, LinearAxesAndExtrapolation) {
    const AxisCalibration cal = LinearX0To100();
    const auto p = CanvasToValue(cal, 3000, 3000);
    ASSERT_TRUE(p);
    EXPECT_DOUBLE_EQ(p->x, 50);
    EXPECT_DOUBLE_EQ(p->y, 5);
    // Below the origin the Y axis runs on by the same formula.
    EXPECT_DOUBLE_EQ(CanvasToValue(cal, 1000, 5500)->y, -1.25);
    // The ends give the axis values themselves.
    EXPECT_DOUBLE_EQ(CanvasToValue(cal, 5000, 1000)->x, 100);
    EXPECT_DOUBLE_EQ(CanvasToValue(cal, 5000, 1000)->y, 10);
}

TEST(CanvasToValue, LinearResultIsRoundedToFloat) {
    AxisCalibration cal = LinearX0To100();
    cal.Xmax = 1;
    const double x = CanvasToValue(cal, 1000 + 4000.0 / 3.0, 3000)->x;
    EXPECT_EQ(x, static_cast<double>(static_cast<float>(1.0 / 3.0)));
}

TEST(CanvasToValue, LogarithmicAxes) {
    AxisCalibration cal = LinearX0To100();
    cal.logX = true;
    cal.Xmin = 1;
    cal.Xmax = 1000;
    cal.X1MIN = 1000;
    cal.X1MAX = 4000;
    cal.logY = true;
    cal.Ymin = 0.1f;
    cal.Ymax = 10;
    EXPECT_REL_NEAR(CanvasToValue(cal, 2000, 3000)->x, 10, 1e-12);
    EXPECT_REL_NEAR(CanvasToValue(cal, 3000, 3000)->x, 100, 1e-12);
    EXPECT_REL_NEAR(CanvasToValue(cal, 3000, 3000)->y, 1, 1e-6);
    // Beyond the Xmax point the decades go on.
    EXPECT_REL_NEAR(CanvasToValue(cal, 5000, 3000)->x, 10000, 1e-12);
}

TEST(CanvasToValue, MidPointSplitsTheAxis) {
    AxisCalibration cal = LinearX0To100();
    cal.Xmid = 20;
    cal.xMidPos = 2000;
    cal.xMidActive = true;
    EXPECT_DOUBLE_EQ(CanvasToValue(cal, 2000, 3000)->x, 20);
    EXPECT_DOUBLE_EQ(CanvasToValue(cal, 1500, 3000)->x, 10);
    EXPECT_DOUBLE_EQ(CanvasToValue(cal, 3500, 3000)->x, 60);

    cal.Ymid = 8;
    cal.yMidPos = 3000;
    cal.yMidActive = true;
    EXPECT_DOUBLE_EQ(CanvasToValue(cal, 2000, 3000)->y, 8);
    EXPECT_DOUBLE_EQ(CanvasToValue(cal, 2000, 4000)->y, 4);  // Ymin side
    EXPECT_DOUBLE_EQ(CanvasToValue(cal, 2000, 2000)->y, 9);  // Ymax side

    // Logarithmic with a mid point: each segment linear in the logarithm.
    cal.logX = true;
    cal.Xmin = 1;
    cal.Xmid = 10;
    cal.Xmax = 10000;
    EXPECT_REL_NEAR(CanvasToValue(cal, 1500, 3000)->x, std::sqrt(10.0), 1e-12);
    EXPECT_REL_NEAR(CanvasToValue(cal, 3500, 3000)->x, 100 * std::sqrt(10.0), 1e-12);
    cal.logY = true;
    cal.Ymin = 1;
    cal.Ymid = 10;
    cal.Ymax = 1000;
    EXPECT_REL_NEAR(CanvasToValue(cal, 0, 4000)->y, std::sqrt(10.0), 1e-12);
    EXPECT_REL_NEAR(CanvasToValue(cal, 0, 2000)->y, 100, 1e-12);
}

TEST(CanvasToValue, MidPointWaitsForItsPosition) {
    AxisCalibration cal = LinearX0To100();
    cal.Xmid = 20;
    cal.xMidActive = true;  // armed and a value typed, but not yet clicked
    EXPECT_DOUBLE_EQ(CanvasToValue(cal, 3000, 3000)->x, 50);
}

TEST(CanvasToValue, ArithmeticFailuresGiveNothing) {
    AxisCalibration cal = LinearX0To100();
    cal.X1MAX = cal.X1MIN;
    EXPECT_FALSE(CanvasToValue(cal, 3000, 3000));

    cal = LinearX0To100();
    cal.logY = true;  // Ymin 0: no logarithm
    EXPECT_FALSE(CanvasToValue(cal, 3000, 3000));

    cal = LinearX0To100();
    cal.logX = true;
    cal.Xmin = 1;
    cal.Xmax = 1e30f;
    EXPECT_FALSE(CanvasToValue(cal, 1e6, 3000));  // overflow far outside
}

TEST(AxisValueText, BothDisplayForms) {
    EXPECT_EQ(AxisValueText(123.456789, true), "1.23457E+02");
    EXPECT_EQ(AxisValueText(0.001, true), "1.00000E-03");
    EXPECT_EQ(AxisValueText(0.000123456, true), "1.23456E-04");
    EXPECT_EQ(AxisValueText(-2.5, true), "-2.50000E+00");
    EXPECT_EQ(AxisValueText(123.456789, false), " 123.457");
    EXPECT_EQ(AxisValueText(-2.5, false), "-2.5");
    EXPECT_EQ(AxisValueText(0.5, false), " .5");
    EXPECT_EQ(AxisValueText(0, false), " 0");
    EXPECT_EQ(AxisValueText(12.5, false), " 12.5");
    EXPECT_EQ(AxisValueText(1.0 / 3.0, false), " .333333");
}

// The desktop program runs in the user's locale; a decimal comma in a value
// text would split a captured "X,Y" point in three.
TEST(AxisValueText, WritesADecimalPointInACommaLocale) {
    const std::string before = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no de_DE locale here";
    const std::string exponent = AxisValueText(123.456789, true);
    const std::string normal = AxisValueText(-2.5, false);
    std::setlocale(LC_ALL, before.c_str());
    EXPECT_EQ(exponent, "1.23457E+02");
    EXPECT_EQ(normal, "-2.5");
}

TEST(AxisValueText, CharacterSetHasNoBlank) {
    EXPECT_TRUE(HasOnlyAxisValueChars("-1.5E+03"));
    EXPECT_TRUE(HasOnlyAxisValueChars("2d-1"));
    EXPECT_TRUE(HasOnlyAxisValueChars(""));
    EXPECT_FALSE(HasOnlyAxisValueChars("1,5"));
    EXPECT_FALSE(HasOnlyAxisValueChars("1 5"));
    EXPECT_FALSE(HasOnlyAxisValueChars("x"));
}

}  // namespace
}  // namespace kx::core
