#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The numeric-text rules shared by every window that accepts numbers. Numbers
// are held as the text the user typed or the digitizer produced and converted
// at each use; these functions are the only conversions in either direction.
namespace kx::core {

// True when every character of the blank-trimmed text is one of
// "0123456789.-+EDde". The order of the characters is not checked, and the
// empty text passes.
bool IsNumericText(std::string_view text);

// The leading number of a text: blanks, tabs and line feeds are skipped
// anywhere; then an optional sign, digits with at most one point and an
// optional exponent (E, e, D or d, optional sign, digits) are read as far as
// they fit. A text without a leading number is 0. A number beyond the range of
// a double gives an infinity of its sign (see FitsSingle).
double ValueOfText(std::string_view text);

// True when the value is finite and survives the conversion to a 32-bit float,
// i.e. it can be stored as the system stores its values.
bool FitsSingle(double value);

// Short general form of a 32-bit float: at most 7 significant digits, no
// trailing zeros or point, no zero before the point of a magnitude below 1
// (".5", "-.25", "1500"), the exponent form "1E+15" / "1E-05" outside
// 1E-4 <= |v| < 1E+7. Never a leading blank.
std::string SingleToText(float value);

// As SingleToText but with the zero before the point ("0.5", "-0.25").
std::string SingleToPlainText(float value);

// The BASIC Str$ text of a Single: SingleToText with a leading blank for zero
// and positive values (" .5", "-2.5").
std::string StrText(float value);

// The BASIC Str$ text of an integer: " 12", "-3".
std::string StrText(int value);

// Nearest integer, halves to the even neighbour: the rounding of every
// division that becomes a count or an index.
long RoundHalfEven(double value);

}  // namespace kx::core
