#include "core/data/numeric_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "core/data/text_chars.h"

namespace kx::core {
namespace {

constexpr std::string_view kNumericChars = "0123456789.-+EDde";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsSkipped(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

// Reads the number part of a text into a clean "[-]digits[.digits][e[-]digits]"
// form that std::from_chars understands.
struct CleanNumber {
    std::string text;
    bool negative = false;
    long long integerDigits = 0;  // significant digits before the point
    long long fractionZeros = 0;  // zeros after the point before the first other digit
    long long exponent = 0;
    bool hasDigits = false;
};

CleanNumber ReadLeadingNumber(std::string_view source) {
    CleanNumber out;
    std::size_t i = 0;
    auto skip = [&] {
        while (i < source.size() && IsSkipped(source[i])) ++i;
    };
    skip();
    if (i < source.size() && (source[i] == '+' || source[i] == '-')) {
        out.negative = source[i] == '-';
        ++i;
    }
    bool seenPoint = false;
    bool leadingZeros = true;
    for (;; ++i) {
        skip();
        if (i >= source.size()) break;
        const char c = source[i];
        if (IsDigit(c)) {
            out.hasDigits = true;
            out.text.push_back(c);
            if (c != '0') leadingZeros = false;
            if (!seenPoint && !leadingZeros) ++out.integerDigits;
            if (seenPoint && leadingZeros && out.integerDigits == 0) ++out.fractionZeros;
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
            out.text.push_back('.');
        } else {
            break;
        }
    }
    if (!out.hasDigits) return out;
    skip();
    if (i < source.size() &&
        (source[i] == 'E' || source[i] == 'e' || source[i] == 'D' || source[i] == 'd')) {
        std::size_t j = i + 1;
        while (j < source.size() && IsSkipped(source[j])) ++j;
        bool expNegative = false;
        if (j < source.size() && (source[j] == '+' || source[j] == '-')) {
            expNegative = source[j] == '-';
            ++j;
        }
        std::string digits;
        long long value = 0;
        for (; j < source.size(); ++j) {
            if (IsSkipped(source[j])) continue;
            if (!IsDigit(source[j])) break;
            digits.push_back(source[j]);
            if (value < 1'000'000'000) value = value * 10 + (source[j] - '0');
        }
        if (!digits.empty()) {
            out.text.push_back('e');
            if (expNegative) out.text.push_back('-');
            out.text += digits;
            out.exponent = expNegative ? -value : value;
        }
    }
    return out;
}

// Removes what the C++ general format adds and the system's form does not have:
// the zero before the point and the short exponent ("1e+15" -> "1E+15").
std::string ToSystemForm(const char* first, const char* last, bool keepLeadingZero) {
    std::string text(first, last);
    for (char& c : text) {
        if (c == 'e') c = 'E';
    }
    if (!keepLeadingZero) {
        if (text.rfind("0.", 0) == 0) {
            text.erase(0, 1);
        } else if (text.rfind("-0.", 0) == 0) {
            text.erase(1, 1);
        }
    }
    return text;
}

std::string FormatSingle(float value, bool keepLeadingZero) {
    if (std::isnan(value) || value == 0.0f) return "0";
    if (std::isinf(value)) {
        // A stored value never overflows; an infinity reaching a text is clamped
        // so that no "inf" can appear in a list, a file or a program.
        value = std::copysign(std::numeric_limits<float>::max(), value);
    }
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 7);
    return ToSystemForm(buffer, result.ptr, keepLeadingZero);
}

}  // namespace

bool IsNumericText(std::string_view text) {
    for (char c : TrimBlanks(text)) {
        if (kNumericChars.find(c) == std::string_view::npos) return false;
    }
    return true;
}

double ValueOfText(std::string_view text) {
    const CleanNumber number = ReadLeadingNumber(text);
    if (!number.hasDigits) return 0.0;
    double value = 0.0;
    const char* first = number.text.data();
    const char* last = first + number.text.size();
    const auto result = std::from_chars(first, last, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Decide between overflow and underflow from the decimal magnitude.
        const long long magnitude = number.integerDigits > 0
                                        ? number.integerDigits + number.exponent
                                        : number.exponent - number.fractionZeros;
        const bool huge = magnitude > 0;
        value = huge ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (result.ec != std::errc()) {
        value = 0.0;
    }
    return number.negative ? -value : value;
}

bool FitsSingle(double value) {
    return std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max();
}

std::string SingleToText(float value) {
    return FormatSingle(value, false);
}

std::string SingleToPlainText(float value) {
    return FormatSingle(value, true);
}

std::string StrText(float value) {
    std::string text = SingleToText(value);
    if (text[0] != '-') text.insert(text.begin(), ' ');
    return text;
}

std::string StrText(int value) {
    std::string text = std::to_string(value);
    if (value >= 0) text.insert(text.begin(), ' ');
    return text;
}

long RoundHalfEven(double value) {
    return std::lrint(value);
}

}  // namespace kx::core
