#pragma once

#include <string>
#include <vector>

#include "core/codegen/calc_family.h"

// What the generated sources share: their header comment, the numbers
// written into them and the splitting of a text into its lines.
namespace kx::core {

enum class SourceLanguage { kC, kPython, kMatlab, kJavaScript, kCSharp, kFortran };

// The header comment: how to call the function, what its flags mean, how it
// computes, and the family it holds; each line starts with the language's
// comment (" * " inside the C comment, "# ", "% ", "// ", "! ").
std::vector<std::string> CalcSourceHeader(const CalcFamily& family, SourceLanguage language);

// A double for C and Python: the shortest text that reads back as exactly the
// same value, always with a point or an exponent so that it is a
// floating-point literal in both ("2.0", "1e+15", "0.05002").
std::string DoubleSource(double value);

// An integer for every language ("3", "-1").
std::string IntegerSource(int value);

// A 32-bit float as a C float literal ("0.05002f"), read back as that float.
std::string FloatSourceC(float value);

// A 32-bit float for Python, where it is read as a double and then rounded to
// a float: its shortest text where that gives the float back ("0.05002"),
// otherwise the float's exact value as a double.
std::string FloatSourcePython(float value);

// The lines of a text whose every line ends with LF.
std::vector<std::string> SourceLines(const std::string& text);

}  // namespace kx::core
