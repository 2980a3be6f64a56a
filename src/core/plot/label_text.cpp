#include "core/plot/label_text.h"

#include <cmath>
#include <cstdlib>

#include "core/plot/decimal_digits.h"

namespace kx::core {
namespace {

constexpr double kSmallLabel = 0.00001;
constexpr double kLargeLabel = 10000.0;
constexpr int kLabelDecimals = 6;
constexpr int kMantissaDigits = 4;

// "0.0##E+##": one digit, the point, one to three decimals, a signed exponent
// of at least two digits.
std::string ExponentForm(const DecimalDigits& value) {
    const DecimalDigits d = RoundedSignificant(value, kMantissaDigits);
    std::string text(1, d.digits[0]);
    text += '.';
    text += d.digits.size() > 1 ? d.digits.substr(1) : "0";
    text += d.exponent < 0 ? "E-" : "E+";
    const std::string exponent = std::to_string(std::abs(d.exponent));
    if (exponent.size() < 2) text += '0';
    return text + exponent;
}

// "######.######": no zero before the point, no trailing zeros, the point
// always written.
std::string PointForm(const DecimalDigits& value) {
    const DecimalDigits d = RoundedAt(value, -kLabelDecimals);
    std::string text;
    for (int power = d.exponent; power >= 0; --power) text += DigitAt(d, power);
    text += '.';
    const int lowest = d.exponent - static_cast<int>(d.digits.size()) + 1;
    for (int power = -1; power >= lowest && power >= -kLabelDecimals; --power) {
        text += DigitAt(d, power);
    }
    return text;
}

}  // namespace

std::string LabelText(double value) {
    if (!std::isfinite(value)) return "";
    if (value == 0.0) return ".0";
    const DecimalDigits digits = ShortestDigits(value);
    const double size = std::fabs(value);
    const std::string body =
        size <= kSmallLabel || size >= kLargeLabel ? ExponentForm(digits) : PointForm(digits);
    return digits.negative ? "-" + body : body;
}

}  // namespace kx::core
