#include "core/plot/axis_scale.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/data/numeric_text.h"
#include "core/plot/decimal_digits.h"
#include "core/plot/nice_steps.h"
#include "core/plot/plot_frame.h"

namespace kx::core {
namespace {

constexpr double kIntervalsPerStep = 5.0;
constexpr int kLeadingDigits = 4;     // "+#.###E+##"
constexpr int kMostIntervals = 1000;  // far beyond any step the table gives

// Largest multiple of g that is, as a float, at most `value`. The quotient
// alone may fall one short or over when the value is a float of a decimal
// (0.7f / 0.1 is 6.9999999).
double MultipleAtOrBelow(double value, double g) {
    const float target = AsFloat(value);
    double k = std::floor(value / g);
    if (AsFloat((k + 1.0) * g) <= target) {
        k += 1.0;
    } else if (AsFloat(k * g) > target) {
        k -= 1.0;
    }
    return k * g;
}

// Smallest multiple of g that is, as a float, at least `value`.
double MultipleAtOrAbove(double value, double g) {
    const float target = AsFloat(value);
    double k = std::ceil(value / g);
    if (AsFloat((k - 1.0) * g) >= target) {
        k -= 1.0;
    } else if (AsFloat(k * g) < target) {
        k += 1.0;
    }
    return k * g;
}

struct Leading {
    int digit = 1;
    int exponent = 0;
    bool restZero = true;  // the value reads d.000 to four digits
};

// First digit and exponent of a positive value written to four digits.
Leading LeadingOf(float value) {
    const DecimalDigits d = RoundedSignificant(ShortestDigits(value), kLeadingDigits);
    return {d.digits[0] - '0', d.exponent, d.digits.size() == 1};
}

// The logarithmic minimum: the leading digit times its power of ten, one unit
// lower where the four-digit rounding went up (9.9996 reads 1.000E+01).
double LogMinimum(float value, AxisScale& scale) {
    Leading lead = LeadingOf(value);
    if (AsFloat(lead.digit * DecimalPower(lead.exponent)) > value) {
        if (lead.digit > 1) {
            --lead.digit;
        } else {
            lead.digit = 9;
            --lead.exponent;
        }
    }
    scale.startDigit = lead.digit;
    scale.startExponent = lead.exponent;
    return lead.digit * DecimalPower(lead.exponent);
}

// The logarithmic maximum of the X axis keeps a value that reads d.000 and
// otherwise goes up to the next leading digit; the Y axis always goes up.
double LogMaximum(float value, AxisKind kind) {
    const Leading lead = LeadingOf(value);
    const int digit = kind == AxisKind::kX && lead.restZero ? lead.digit : lead.digit + 1;
    double maximum = digit * DecimalPower(lead.exponent);
    if (AsFloat(maximum) < value) maximum = (digit + 1) * DecimalPower(lead.exponent);
    return maximum;
}

}  // namespace

AxisScale AdjustAxis(float min, float max, bool logRequested, AxisKind kind) {
    if (min > max) std::swap(min, max);
    if (min == max) {
        const double half = min == 0.0f ? 1.0 : std::fabs(static_cast<double>(min)) / 10.0;
        min = AsFloat(min - half);
        max = AsFloat(max + half);
    }

    AxisScale scale;
    scale.log = logRequested && min > 0.0f;
    scale.step = NiceStep((static_cast<double>(max) - min) / kIntervalsPerStep);
    const double g = scale.step;

    double high = max;
    if (scale.log) {
        scale.min = LogMinimum(min, scale);
        high = LogMaximum(max, kind);
    } else {
        scale.min = MultipleAtOrBelow(min, g);
    }
    scale.max = MultipleAtOrAbove(high, g);
    const double intervals = std::min((scale.max - scale.min) / g, double{kMostIntervals});
    scale.intervals = static_cast<int>(std::max(1L, RoundHalfEven(intervals)));

    scale.low = AsFloat(scale.min);
    scale.high = AsFloat(scale.max);
    if (!(scale.high > scale.low)) scale.high = AsFloat(scale.low + g);
    scale.linearScale = AsFloat(kAxisLength / (static_cast<double>(scale.high) - scale.low));
    if (scale.log) {
        const double decades = std::log(static_cast<double>(scale.high) / scale.low);
        if (scale.low > 0.0f && decades > 0.0 && std::isfinite(decades)) {
            scale.logScale = AsFloat(kAxisLength / decades);
        } else {
            scale.log = false;
        }
    }
    return scale;
}

}  // namespace kx::core
