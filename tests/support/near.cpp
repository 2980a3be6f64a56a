#include "support/near.h"

#include <algorithm>
#include <cmath>

namespace kx::test {

::testing::AssertionResult RelativelyNear(double actual, double expected, double tolerance) {
    const double scale = std::max(std::fabs(expected), 1e-300);
    if (std::fabs(actual - expected) <= tolerance * scale) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual << " differs from " << expected
                                         << " by more than " << tolerance << " relative";
}

}  // namespace kx::test
