#pragma once

#include <string>

namespace kx::core {

// The number text of every equation and deviation: sign mark (blank for a
// positive value, "-" otherwise, zero included), a mantissa d.ddddd cut (not
// rounded) after its fifth decimal, "E", the exponent sign ("+" for |R| >= 1)
// and two exponent digits: 1234.5 gives " 1.23450E+03", 0 gives "-0.00000E-50".
// Exponents of 100 and more take three digits; an infinity is written as the
// largest magnitude of its sign and a NaN as 0, so no text ever reads "inf".
std::string ScientificText(double value);

// ValueOfText(ScientificText(value)), computed without building the text: the
// value the fitting driver selects by.
double ScientificValue(double value);

}  // namespace kx::core
