// The way back from values to the canvas: every canvas position converted and
// converted back lands where it started, on linear and logarithmic axes, with
// and without the mid-point corrections.
#include <gtest/gtest.h>

#include "core/digitizer/axis_calibration.h"
#include "core/digitizer/axis_inverse.h"

namespace kx::core {
namespace {

// A 600 x 400 pixel frame (canvas units: pixels x 15) with the origin at
// pixel (100, 500).
AxisCalibration Frame(bool logX, bool logY) {
    AxisCalibration cal;
    cal.X1MIN = 1500;
    cal.Y1MIN = 7500;
    cal.X1MAX = 10500;
    cal.Y1MAX = 1500;
    cal.Xmin = logX ? 0.1f : -20.0f;
    cal.Xmax = logX ? 1000.0f : 40.0f;
    cal.Ymin = logY ? 1.0f : 0.0f;
    cal.Ymax = logY ? 1e5f : 250.0f;
    cal.logX = logX ? 1 : 0;
    cal.logY = logY ? 1 : 0;
    cal.calibrationConfirmed = true;
    cal.calibrationInvalid = false;
    return cal;
}

// Mid points off the straight line of the axis, as a distorted scan needs.
void AddMidPoints(AxisCalibration& cal) {
    cal.xMidActive = cal.yMidActive = true;
    cal.xMidPos = 5000;
    cal.yMidPos = 4000;
    cal.Xmid = cal.logX ? 15.0f : 12.0f;
    cal.Ymid = cal.logY ? 200.0f : 140.0f;
}

void ExpectRoundTrip(const AxisCalibration& cal, const char* what) {
    constexpr double kMilliPixel = 1e-3 * 15;
    // Every pixel step across the frame and beyond it, and positions between pixels.
    for (double px = 0; px <= 13000; px += 15 * 7.25) {
        for (double py = 0; py <= 9000; py += 15 * 5.5) {
            const auto value = CanvasToValue(cal, px, py);
            ASSERT_TRUE(value) << what << " " << px << "," << py;
            const auto back = ValueToCanvas(cal, value->x, value->y);
            ASSERT_TRUE(back) << what << " " << px << "," << py;
            ASSERT_NEAR(back->x, px, kMilliPixel) << what << " y " << py;
            ASSERT_NEAR(back->y, py, kMilliPixel) << what << " x " << px;
        }
    }
}

TEST(AxisInverse, CalibrateThenInvertReturnsEveryPosition) {
    for (const bool logX : {false, true}) {
        for (const bool logY : {false, true}) {
            AxisCalibration cal = Frame(logX, logY);
            ExpectRoundTrip(cal,
                            logX ? (logY ? "log-log" : "log-lin") : (logY ? "lin-log" : "lin"));
            AddMidPoints(cal);
            ExpectRoundTrip(cal, "with mid points");
        }
    }
}

TEST(AxisInverse, MidPointCountsOnlyOncePlacedAndActive) {
    AxisCalibration cal = Frame(false, false);
    AddMidPoints(cal);
    cal.xMidActive = false;  // armed but its value not typed yet
    cal.yMidPos = 0;         // not placed
    const auto at = ValueToCanvas(cal, 10.0, 125.0);
    ASSERT_TRUE(at);
    EXPECT_NEAR(at->x, 1500 + 9000 * 0.5, 1e-6);
    EXPECT_NEAR(at->y, 7500 - 6000 * 0.5, 1e-6);
}

TEST(AxisInverse, ValuesWithoutAPositionAreRefused) {
    const AxisCalibration logY = Frame(false, true);
    EXPECT_FALSE(ValueToCanvas(logY, 1.0, 0.0));
    EXPECT_FALSE(ValueToCanvas(logY, 1.0, -3.0));
    AxisCalibration flat = Frame(false, false);
    flat.Xmax = flat.Xmin;  // no value range
    EXPECT_FALSE(ValueToCanvas(flat, 1.0, 1.0));
    AxisCalibration unplaced;
    EXPECT_FALSE(ValueToCanvas(unplaced, 1.0, 1.0));
    EXPECT_FALSE(CalibrationUsable(unplaced));
    EXPECT_TRUE(CalibrationUsable(logY));
}

}  // namespace
}  // namespace kx::core
