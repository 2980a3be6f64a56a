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
    // Which coordinates a click has placed.
    bool originXSet = false, xMaxSet = false, originYSet = false, yMaxSet = false;

    // Axis types and the mid-point corrections: switched on (armed), and in
    // force once the mid value is typed too (active).
    bool logX = false, logY = false;
    bool xMidArmed = false, yMidArmed = false;
    bool xMidActive = false, yMidActive = false;
    // Converted values are written in the exponent form.
    bool exponentDisplay = false;

    // The last check: confirmed without fault, or found faulty (conversions
    // are suppressed while it is).
    bool calibrationConfirmed = false;
    bool calibrationInvalid = true;

    bool operator==(const AxisCalibration&) const = default;
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

// The values of a canvas position and their texts in the calibration's
// display form, as the sampling boxes show them and a capture records them.
struct SampledPoint {
    AxisPoint value;
    std::string xText;
    std::string yText;
};
std::optional<SampledPoint> SampleAt(const AxisCalibration& cal, double px, double py);

// True when every character is one of "-+1234567890EeDd." (the blank is not
// allowed here, unlike the general numeric-text rule).
bool HasOnlyAxisValueChars(std::string_view text);

}  // namespace kx::core
