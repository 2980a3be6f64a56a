#include "core/digitizer/axis_calibration.h"

#include <charconv>
#include <cmath>

#include "core/data/numeric_text.h"
#include "core/data/text_chars.h"

namespace kx::core {
namespace {

// Linear interpolation from (p0, v0) to (p1, v1), taken to the nearest float.
std::optional<double> Linear(double p, double p0, double v0, double p1, double v1) {
    if (p1 == p0) return std::nullopt;
    const double value = (v1 - v0) / (p1 - p0) * (p - p0) + v0;
    const float stored = static_cast<float>(value);
    if (!std::isfinite(stored)) return std::nullopt;
    return static_cast<double>(stored);
}

// Interpolation linear in the logarithm of the value.
std::optional<double> Logarithmic(double p, double p0, double v0, double p1, double v1) {
    if (p1 == p0 || v0 == 0) return std::nullopt;
    const double ratio = v1 / v0;
    if (!(ratio > 0)) return std::nullopt;
    const double value = v0 * std::exp(std::log(ratio) * (p - p0) / (p1 - p0));
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<double> Segment(bool logAxis, double p, double p0, double v0, double p1, double v1) {
    return logAxis ? Logarithmic(p, p0, v0, p1, v1) : Linear(p, p0, v0, p1, v1);
}

}  // namespace

std::optional<AxisPoint> CanvasToValue(const AxisCalibration& cal, double px, double py) {
    const bool logX = cal.logX;
    const bool logY = cal.logY;

    std::optional<double> x;
    if (cal.xMidActive && cal.xMidPos != 0) {
        x = px > cal.xMidPos ? Segment(logX, px, cal.xMidPos, cal.Xmid, cal.X1MAX, cal.Xmax)
                             : Segment(logX, px, cal.X1MIN, cal.Xmin, cal.xMidPos, cal.Xmid);
    } else {
        x = Segment(logX, px, cal.X1MIN, cal.Xmin, cal.X1MAX, cal.Xmax);
    }

    // Canvas y grows downwards: the Ymax point has the smaller y. A position at
    // the mid point belongs to the Ymax side. Each segment is interpolated from
    // the end the formulas of a linear and of a logarithmic axis start from.
    std::optional<double> y;
    if (cal.yMidActive && cal.yMidPos != 0) {
        if (py > cal.yMidPos) {
            y = logY ? Logarithmic(py, cal.Y1MIN, cal.Ymin, cal.yMidPos, cal.Ymid)
                     : Linear(py, cal.yMidPos, cal.Ymid, cal.Y1MIN, cal.Ymin);
        } else {
            y = logY ? Logarithmic(py, cal.yMidPos, cal.Ymid, cal.Y1MAX, cal.Ymax)
                     : Linear(py, cal.Y1MAX, cal.Ymax, cal.yMidPos, cal.Ymid);
        }
    } else {
        y = logY ? Logarithmic(py, cal.Y1MIN, cal.Ymin, cal.Y1MAX, cal.Ymax)
                 : Linear(py, cal.Y1MAX, cal.Ymax, cal.Y1MIN, cal.Ymin);
    }

    if (!x || !y) return std::nullopt;
    return AxisPoint{*x, *y};
}

std::string AxisValueText(double value, bool exponentDisplay) {
    // "#.###00E+00": one digit, five decimals, at least two exponent digits.
    // to_chars writes that whatever the process's locale: the toolkit takes
    // the user's, and a decimal comma would end up inside a captured "X,Y".
    char buffer[40];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 5).ptr;
    std::string text(buffer, end);
    for (char& c : text) {
        if (c == 'e') c = 'E';
    }
    if (exponentDisplay) return text;
    float single = 0.0f;
    const auto read = std::from_chars(text.data(), text.data() + text.size(), single);
    if (read.ec == std::errc::result_out_of_range) {
        // As strtof reads it: beyond a float is infinite, below it is zero.
        single = std::fabs(value) > 1 ? std::copysign(HUGE_VALF, static_cast<float>(value)) : 0.0f;
    }
    return StrText(single);
}

std::optional<SampledPoint> SampleAt(const AxisCalibration& cal, double px, double py) {
    const auto value = CanvasToValue(cal, px, py);
    if (!value) return std::nullopt;
    return SampledPoint{*value, AxisValueText(value->x, cal.exponentDisplay),
                        AxisValueText(value->y, cal.exponentDisplay)};
}

bool HasOnlyAxisValueChars(std::string_view text) {
    // The number characters, and no blanks around them either.
    return TrimBlanks(text).size() == text.size() && IsNumericText(text);
}

}  // namespace kx::core
