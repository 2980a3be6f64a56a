#pragma once

#include <string>

// Numbers written into generated C and Python source: the shortest text that
// reads back as exactly the same value, always with a point or an exponent so
// that it is a floating-point literal in both languages ("2.0", "1e+15",
// "0.05002").
namespace kx::core {

// A double, for C and Python.
std::string DoubleSource(double value);

// A 32-bit float as a C float literal ("0.05002f"), read back as that float.
std::string FloatSourceC(float value);

// A 32-bit float for Python, where it is read as a double and then rounded to
// a float: its shortest text where that gives the float back ("0.05002"),
// otherwise the float's exact value as a double.
std::string FloatSourcePython(float value);

}  // namespace kx::core
