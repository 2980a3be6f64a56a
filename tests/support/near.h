#pragma once

#include <gtest/gtest.h>

namespace kx::test {

// The one relative-tolerance comparison of the tests: |actual - expected| is at
// most tolerance x max(|expected|, 1e-300).
::testing::AssertionResult RelativelyNear(double actual, double expected, double tolerance);

}  // namespace kx::test

#define EXPECT_REL_NEAR(actual, expected, tolerance) \
    EXPECT_TRUE(::kx::test::RelativelyNear((actual), (expected), (tolerance)))
