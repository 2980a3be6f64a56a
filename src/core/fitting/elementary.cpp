#include "core/fitting/elementary.h"

#include <quadmath.h>

namespace kx::core {

// libquadmath's logq is within about one unit of its 113-bit mantissa; one
// rounding of that to 53 bits is the correctly rounded double, but for an
// argument whose logarithm lies within 2^-112 of a halfway point.
double RoundedLog(double x) {
    return static_cast<double>(logq(static_cast<__float128>(x)));
}

}  // namespace kx::core
