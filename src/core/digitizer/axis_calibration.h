#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The axis calibration of the loaded graph picture: the axis values the user
// types, the canvas positions he clicks for them, the axis types, the mid-point
// correction and the display form of converted values. Canvas coordinates are
// in 1/1440 inch with y growing downwards; 0 means "not placed".
namespace kx::core {

struct AxisCalibration {
    // Axis values from the panel's value boxes.
    float Xmin = 0, Xmax = 0, Ymin = 0, Ymax = 0, Xmid = 0, Ymid = 0;

    // Canvas positions. (X1MIN, Y1MIN) is the origin, the Xmin and Ymin point.
    float X1MIN = 0, X1MAX = 0, Y1MIN = 0, Y1MAX = 0;
    float xMidPos = 0, yMidPos = 0;
    int16_t originXSet = 0, xMaxSet = 0, originYSet = 0, yMaxSet = 0;

    // Axis types and corrections.
    int16_t logX = 0, logY = 0;
    int16_t xMidArmed = 0, yMidArmed = 0;
    int16_t midPick = 0;  // 0 none, 1 X, 2 Y: the mid point the next click places
    int16_t xMidActive = 0, yMidActive = 0;
    int16_t exponentDisplay = 0;

    // Calibration state.
    int16_t pointBoxCount = 0;
    int16_t calibrationConfirmed = 0;
    int16_t calibrationInvalid = 1;
    int16_t samplingShown = 0;
    int16_t frameReady = 0;
    int16_t xAxisDrawn = 0, yAxisDrawn = 0;
    int16_t conversionPending = 0;
};

struct AxisPoint {
    double x = 0;
    double y = 0;
};

// The axis values of canvas position (px, py). Linear results are rounded to
// the nearest float, logarithmic ones are kept in double. A mid-point
// correction counts only once its point has been placed: until then the axis
// is converted over its whole length. None when the conversion fails
// arithmetically (equal positions, a logarithm of a ratio that is not
// positive, an overflow).
std::optional<AxisPoint> CanvasToValue(const AxisCalibration& cal, double px, double py);

// A converted value as the sampling boxes show it: "1.23457E+02" in the
// exponent form; otherwise that text read back as a float in the short form,
// with one blank before a value that is not negative (" 123.457", "-2.5").
std::string AxisValueText(double value, bool exponentDisplay);

// True when every character is one of "-+1234567890EeDd." (the blank is not
// allowed here, unlike the general numeric-text rule).
bool HasOnlyAxisValueChars(std::string_view text);

}  // namespace kx::core
