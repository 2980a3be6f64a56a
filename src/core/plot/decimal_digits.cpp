#include "core/plot/decimal_digits.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace kx::core {

DecimalDigits ShortestDigits(double value) {
    DecimalDigits result;
    if (value == 0.0 || !std::isfinite(value)) return result;
    result.negative = value < 0.0;
    char buffer[40];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                   std::chars_format::scientific)
                         .ptr;
    const std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
    const std::size_t e = text.find('e');
    for (const char c : text.substr(0, e)) {
        if (c != '.') result.digits += c;
    }
    std::string_view exponent = text.substr(e + 1);
    if (!exponent.empty() && exponent.front() == '+') exponent.remove_prefix(1);
    std::from_chars(exponent.data(), exponent.data() + exponent.size(), result.exponent);
    while (result.digits.size() > 1 && result.digits.back() == '0') result.digits.pop_back();
    return result;
}

DecimalDigits RoundedAt(DecimalDigits value, int lowestPower) {
    const int keep = value.exponent - lowestPower + 1;
    if (value.digits.empty() || keep >= static_cast<int>(value.digits.size())) return value;
    if (keep < 0) {
        value.digits.clear();
        return value;
    }
    const bool up = value.digits[static_cast<std::size_t>(keep)] >= '5';
    value.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && value.digits[static_cast<std::size_t>(i)] == '9') {
            value.digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i >= 0) {
            ++value.digits[static_cast<std::size_t>(i)];
        } else {
            value.digits.insert(value.digits.begin(), '1');
            ++value.exponent;
        }
    }
    while (!value.digits.empty() && value.digits.back() == '0') value.digits.pop_back();
    return value;
}

DecimalDigits RoundedSignificant(const DecimalDigits& value, int count) {
    return RoundedAt(value, value.exponent - count + 1);
}

char DigitAt(const DecimalDigits& value, int power) {
    const int index = value.exponent - power;
    if (index < 0 || index >= static_cast<int>(value.digits.size())) return '0';
    return value.digits[static_cast<std::size_t>(index)];
}

}  // namespace kx::core
