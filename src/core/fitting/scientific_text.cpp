#include "core/fitting/scientific_text.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "core/data/numeric_text.h"

namespace kx::core {
namespace {

struct Parts {
    bool positive = false;    // R > 0: the sign mark is a blank
    bool atLeastOne = false;  // |R| >= 1: the exponent sign is "+"
    int digits = 0;           // the mantissa d.ddddd as the integer dddddd
    int exponent = 0;         // the count of scaling steps
};

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The first six digits of the 15-significant-digit text of m (1 <= m < 10).
// Returns 1000000 when that text rounds up to "10".
int MantissaDigits(double m) {
    const double scaled = m * 1e5;
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    // Away from a digit boundary neither the rounding of the product nor the
    // rounding to 15 digits can change the cut digits.
    if (fraction > 1e-7 && fraction < 1.0 - 1e-7) return static_cast<int>(whole);
    char buffer[40];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, m, std::chars_format::fixed, 14);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    if (text.size() > 1 && text[1] != '.') return 1000000;  // "10.000..."
    int digits = text[0] - '0';
    for (int i = 2; i < 7; ++i) digits = digits * 10 + (text[i] - '0');
    return digits;
}

Parts Split(double value) {
    Parts parts;
    if (std::isnan(value)) value = 0.0;
    if (std::isinf(value)) value = std::copysign(std::numeric_limits<double>::max(), value);
    parts.positive = value > 0.0;
    double m = std::fabs(value);
    parts.atLeastOne = m >= 1.0;
    int e = 0;
    if (m == 0.0) {
        // The scaling loop of a zero runs all its 50 steps.
        parts.exponent = 50;
        return parts;
    }
    // Scaled as the system scales: by repeated multiplication with 0.1 or 10.
    // The loop goes on past 50 steps only for magnitudes beyond 1E50 or 1E-50,
    // which would otherwise leave an unscaled mantissa.
    if (m >= 10.0) {
        do {
            m *= 0.1;
            ++e;
        } while (m >= 10.0);
    } else if (m < 1.0) {
        do {
            m *= 10.0;
            ++e;
        } while (m < 1.0);
    }
    int digits = MantissaDigits(m);
    if (digits == 1000000) {
        // The 15-digit text rounded up to the next power of ten.
        digits = 100000;
        if (parts.atLeastOne) {
            ++e;
        } else if (--e == 0) {
            parts.atLeastOne = true;
        }
    }
    parts.digits = digits;
    parts.exponent = e;
    return parts;
}

std::string Text(const Parts& parts) {
    std::string text;
    text.reserve(13);
    text.push_back(parts.positive ? ' ' : '-');
    text.push_back(static_cast<char>('0' + parts.digits / 100000));
    text.push_back('.');
    int divisor = 10000;
    for (int i = 0; i < 5; ++i) {
        text.push_back(static_cast<char>('0' + (parts.digits / divisor) % 10));
        divisor /= 10;
    }
    text.push_back('E');
    text.push_back(parts.atLeastOne ? '+' : '-');
    if (parts.exponent < 10) text.push_back('0');
    text += std::to_string(parts.exponent);
    return text;
}

}  // namespace

std::string ScientificText(double value) {
    return Text(Split(value));
}

double ScientificValue(double value) {
    const Parts parts = Split(value);
    if (parts.digits == 0) return -0.0;  // "-0.00000E-50"
    const int power = (parts.atLeastOne ? parts.exponent : -parts.exponent) - 5;
    double magnitude;
    // digits and the power of ten are exact, so one multiplication or division
    // rounds as the decimal reading of the text does.
    if (power >= 0 && power <= 22) {
        magnitude = parts.digits * kPowersOfTen[power];
    } else if (power < 0 && power >= -22) {
        magnitude = parts.digits / kPowersOfTen[-power];
    } else {
        return ValueOfText(Text(parts));
    }
    return parts.positive ? magnitude : -magnitude;
}

}  // namespace kx::core
