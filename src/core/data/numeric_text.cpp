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

// The first position at or after i that holds no blank, tab or line feed.
std::size_t SkipBlanks(std::string_view source, std::size_t i) {
    while (i < source.size() && IsSkipped(source[i])) ++i;
    return i;
}

// Reads an optional sign at i; true for a minus.
bool ReadSign(std::string_view source, std::size_t& i) {
    if (i >= source.size() || (source[i] != '+' && source[i] != '-')) return false;
    return source[i++] == '-';
}

bool IsExponentLetter(char c) {
    return c == 'E' || c == 'e' || c == 'D' || c == 'd';
}

// Reads digits with at most one point from i on, blanks skipped between them,
// and counts what the magnitude of an out-of-range value is decided from.
void ReadMantissa(std::string_view source, std::size_t& i, CleanNumber& out) {
    bool seenPoint = false;
    bool leadingZeros = true;
    for (;; ++i) {
        i = SkipBlanks(source, i);
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
}

// Reads the exponent's sign and digits from i on (just after its letter),
// blanks skipped anywhere. An exponent without digits is left out.
void ReadExponent(std::string_view source, std::size_t i, CleanNumber& out) {
    i = SkipBlanks(source, i);
    const bool negative = ReadSign(source, i);
    std::string digits;
    long long value = 0;
    for (; i < source.size(); ++i) {
        if (IsSkipped(source[i])) continue;
        if (!IsDigit(source[i])) break;
        digits.push_back(source[i]);
        // Stops growing past 1E9, an exponent out of range already.
        if (value < 1'000'000'000) value = value * 10 + (source[i] - '0');
    }
    if (digits.empty()) return;
    out.text.push_back('e');
    if (negative) out.text.push_back('-');
    out.text += digits;
    out.exponent = negative ? -value : value;
}

CleanNumber ReadLeadingNumber(std::string_view source) {
    CleanNumber out;
    std::size_t i = SkipBlanks(source, 0);
    out.negative = ReadSign(source, i);
    ReadMantissa(source, i, out);
    if (!out.hasDigits) return out;
    i = SkipBlanks(source, i);
    if (i < source.size() && IsExponentLetter(source[i])) ReadExponent(source, i + 1, out);
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
