#include "core/fitting/elementary.h"

#include <cmath>
#include <limits>

namespace kx::core {
namespace {

// A double-double: the unevaluated sum hi + lo with |lo| <= ulp(hi) / 2, good
// to about 106 bits. Every operation below is exact but for the last
// rounding of lo, with round-to-nearest and no fused multiply-add (the
// project builds in ISO C++, where GCC contracts none).
struct Double2 {
    double hi;
    double lo;
};

Double2 QuickSum(double big, double small) {
    const double s = big + small;
    return {s, small - (s - big)};
}

Double2 TwoSum(double a, double b) {
    const double s = a + b;
    const double bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

// Dekker's product: a * b exactly, from the halves of each factor.
Double2 TwoProduct(double a, double b) {
    constexpr double kSplit = 134217729.0;  // 2^27 + 1
    const double ca = kSplit * a, cb = kSplit * b;
    const double aHigh = ca - (ca - a), aLow = a - aHigh;
    const double bHigh = cb - (cb - b), bLow = b - bHigh;
    const double p = a * b;
    return {p, ((aHigh * bHigh - p) + aHigh * bLow + aLow * bHigh) + aLow * bLow};
}

Double2 Add(Double2 a, Double2 b) {
    const Double2 s = TwoSum(a.hi, b.hi);
    const Double2 t = TwoSum(a.lo, b.lo);
    const Double2 u = QuickSum(s.hi, s.lo + t.hi);
    return QuickSum(u.hi, u.lo + t.lo);
}

Double2 Multiply(Double2 a, Double2 b) {
    const Double2 p = TwoProduct(a.hi, b.hi);
    return QuickSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

// n / d for a double n and a double-double d.
Double2 Divide(double n, Double2 d) {
    const double q = n / d.hi;
    const Double2 qd = TwoProduct(q, d.hi);
    const double remainder = ((n - qd.hi) - qd.lo) - q * d.lo;
    return QuickSum(q, remainder / d.hi);
}

// 1 / k as a double-double.
Double2 Reciprocal(int k) {
    return Divide(1.0, {static_cast<double>(k), 0.0});
}

// ln 2 to 107 bits.
constexpr Double2 kLn2 = {0x1.62e42fefa39efp-1, 0x1.abc9e3b39803fp-56};

// The terms of atanh(s) / s = 1 + s^2/3 + s^4/5 + ...: for |s| <= 0.1716
// (m in [1/sqrt 2, sqrt 2)) the 23rd term is below 2^-106.
constexpr int kTerms = 23;

}  // namespace

// ln x = k ln 2 + ln m with x = m 2^k, and ln m = 2 atanh((m - 1) / (m + 1)),
// summed in double-double and rounded once: the correctly rounded double but
// for an argument whose logarithm lies within about 2^-100 of a halfway point.
double RoundedLog(double x) {
    if (std::isnan(x) || x < 0.0) return std::numeric_limits<double>::quiet_NaN();
    if (x == 0.0) return -std::numeric_limits<double>::infinity();
    if (std::isinf(x)) return x;
    int k = 0;
    double m = std::frexp(x, &k);  // [0.5, 1), subnormals too
    if (m < 0.70710678118654752) {
        m *= 2.0;
        --k;
    }
    // m - 1 is exact (Sterbenz); m + 1 is kept whole as a double-double.
    const Double2 s = Divide(m - 1.0, TwoSum(m, 1.0));
    const Double2 s2 = Multiply(s, s);
    Double2 series = Reciprocal(2 * kTerms - 1);
    for (int n = kTerms - 2; n >= 0; --n)
        series = Add(Multiply(series, s2), Reciprocal(2 * n + 1));
    const Double2 lnM = Multiply({2.0 * s.hi, 2.0 * s.lo}, series);
    const Double2 kHigh = TwoProduct(static_cast<double>(k), kLn2.hi);
    const Double2 kLn = QuickSum(kHigh.hi, kHigh.lo + static_cast<double>(k) * kLn2.lo);
    const Double2 sum = Add(kLn, lnM);
    return sum.hi + sum.lo;
}

}  // namespace kx::core
