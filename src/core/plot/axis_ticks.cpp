#include "core/plot/axis_ticks.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "core/plot/label_text.h"
#include "core/plot/nice_steps.h"
#include "core/plot/plot_frame.h"

namespace kx::core {
namespace {

constexpr int kMinorTicks = 10;
constexpr double kMinorSpacing = 5.0;   // closer minor ticks of a log axis are left out
constexpr double kEndTolerance = 1e-6;  // relative, on positions along the axis
constexpr double kEndValueTolerance = 1e-7;
constexpr double kZeroTolerance = 1e-7;  // relative to the step, for sums that should be 0
constexpr int kMostUnitTicks = 1000;     // more than the float range has unit positions

bool BeyondEnd(double position) {
    return position > kAxisLength * (1.0 + kEndTolerance);
}

class AxisWalk {
public:
    explicit AxisWalk(const AxisScale& scale) : scale_(scale) {}

    double position(double value) const {
        if (scale_.log) return std::log(value / scale_.low) * scale_.logScale;
        return (value - scale_.low) * scale_.linearScale;
    }

    // Adds a tick that lies on the axis; false once the ticks are beyond its end.
    // (Below the origin lie only the steps before a minimum held at the largest
    // float.)
    bool add(TickKind kind, double value, bool grid, std::string label) {
        const double at = position(value);
        if (BeyondEnd(at)) return false;
        if (at >= -kAxisLength * kEndTolerance) {
            ticks_.push_back({kind, value, std::max(at, 0.0), grid, std::move(label)});
        }
        return true;
    }

    void linear() {
        const double g = scale_.step;
        // A limit held at the largest float is labelled as it is drawn.
        const bool held = std::fabs(scale_.min) > std::numeric_limits<float>::max();
        double origin = held ? scale_.low : scale_.min;
        if (std::fabs(origin) < kZeroTolerance * g) origin = 0.0;
        ticks_.push_back({TickKind::kOrigin, origin, 0.0, false, LabelText(origin)});
        for (int i = 1; i <= scale_.intervals; ++i) {
            const double base = scale_.min + (i - 1) * g;
            for (int j = 0; j < kMinorTicks; ++j) {
                if (!add(TickKind::kMinor, base + j * g / kMinorTicks, false, {})) return;
            }
            double value = scale_.min + i * g;
            if (std::fabs(value) < kZeroTolerance * g) value = 0.0;
            if (!add(TickKind::kMajor, value, i < scale_.intervals, LabelText(value))) return;
        }
    }

    void logarithmic() {
        const std::string_view digits = LabelDigits(scale_.logScale * std::numbers::ln10);
        int digit = scale_.startDigit;
        int exponent = scale_.startExponent;
        for (int count = 0; count < kMostUnitTicks; ++count) {
            const double unit = DecimalPower(exponent);
            const double value = digit * unit;
            const double at = position(value);
            if (BeyondEnd(at)) return;
            const bool atEnd = std::fabs(value - scale_.max) <= kEndValueTolerance * scale_.max ||
                               at >= kAxisLength * (1.0 - kEndTolerance);
            const bool labelled = digits.find(static_cast<char>('0' + digit)) != digits.npos;
            // The grid line at the origin would only cover the other axis.
            const bool atOrigin = at <= kAxisLength * kEndTolerance;
            add(TickKind::kMajor, value, !atEnd && !atOrigin, labelled ? LabelText(value) : "");
            if (atEnd) return;
            const double tenth = unit / kMinorTicks;
            if (position(value + tenth) - at > kMinorSpacing) {
                for (int j = 0; j < kMinorTicks; ++j) {
                    if (!add(TickKind::kMinor, value + j * tenth, false, {})) break;
                }
            }
            if (++digit == 10) {
                digit = 1;
                ++exponent;
            }
        }
    }

    std::vector<AxisTick> take() { return std::move(ticks_); }

private:
    const AxisScale& scale_;
    std::vector<AxisTick> ticks_;
};

}  // namespace

std::string_view LabelDigits(double decadeLength) {
    if (decadeLength <= 300.0) return "1";
    if (decadeLength <= 500.0) return "15";
    if (decadeLength <= 800.0) return "125";
    if (decadeLength <= 1000.0) return "1235";
    if (decadeLength <= 1500.0) return "12357";
    return "123456789";
}

std::vector<AxisTick> AxisTicks(const AxisScale& scale) {
    AxisWalk walk(scale);
    if (scale.log) {
        walk.logarithmic();
    } else {
        walk.linear();
    }
    return walk.take();
}

}  // namespace kx::core
