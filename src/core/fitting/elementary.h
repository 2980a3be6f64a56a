#pragma once

// The natural logarithm the fit transforms its points with. A last bit of one
// logarithm can move a coefficient across a float's rounding boundary and so
// change a printed digit; the two platforms must agree on it. The C library
// of Linux (glibc) returns the correctly rounded logarithm for every value of
// the sample and the test families; the MinGW-w64 runtime's misses it for some
// (one in a few thousand), so Windows computes the correctly rounded value.
#include <cmath>

namespace kx::core {

// The correctly rounded natural logarithm, computed in double-double
// arithmetic and rounded once. Built where it is used (Windows) and in the
// tests.
double RoundedLog(double x);

#ifdef _WIN32
inline double Log(double x) {
    return RoundedLog(x);
}
#else
inline double Log(double x) {
    return std::log(x);
}
#endif

}  // namespace kx::core
