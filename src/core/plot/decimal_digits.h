#pragma once

#include <string>

// Decimal digits of a double, for the number formats of the plot labels. The
// formats round half away from zero on the decimal value a user would read
// (12345 to four digits is 1235), not on the binary value behind it.
namespace kx::core {

// |value| = d1.d2d3... x 10^exponent; no digits for 0.
struct DecimalDigits {
    bool negative = false;
    std::string digits;  // '1'..'9' first, no trailing zeros
    int exponent = 0;
};

// The shortest digits that read back as `value` (a finite double).
DecimalDigits ShortestDigits(double value);

// Rounded half away from zero at the place 10^lowestPower; a carry may add a
// power of ten. Rounding everything away gives no digits (zero).
DecimalDigits RoundedAt(DecimalDigits value, int lowestPower);

// Rounded half away from zero to `count` significant digits (count >= 1).
DecimalDigits RoundedSignificant(const DecimalDigits& value, int count);

// The digit at the place 10^power ('0' outside the digits).
char DigitAt(const DecimalDigits& value, int power);

}  // namespace kx::core
