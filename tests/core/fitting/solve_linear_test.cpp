#include "core/fitting/solve_linear.h"

#include <gtest/gtest.h>

#include "support/near.h"

namespace kx::core {
namespace {

// Builds the 1-based, column-major storage from rows.
template <int N>
void Store(const double (&rows)[N][N], double* a) {
    for (int r = 1; r <= N; ++r) {
        for (int c = 1; c <= N; ++c) a[(c - 1) * N + r] = rows[r - 1][c - 1];
    }
}

TEST(SolveLinear, SolvesANonSymmetricSystem) {
    // The storage order matters here: the matrix is not symmetric.
    const double rows[3][3] = {{2, 1, -1}, {-3, -1, 2}, {-2, 1, 2}};
    double a[10];
    Store(rows, a);
    double b[4] = {0, 8, -11, -3};
    SolveLinear(3, a, b);
    EXPECT_REL_NEAR(b[1], 2, 1e-12);
    EXPECT_REL_NEAR(b[2], 3, 1e-12);
    EXPECT_REL_NEAR(b[3], -1, 1e-12);
}

TEST(SolveLinear, PivotsOnTheLargestAndFirstOfEqualValues) {
    // Row 2 holds the larger pivot; without the exchange the tiny pivot would
    // lose the solution.
    const double rows[2][2] = {{1e-20, 1}, {1, 1}};
    double a[5];
    Store(rows, a);
    double b[3] = {0, 1, 2};
    SolveLinear(2, a, b);
    EXPECT_REL_NEAR(b[1], 1, 1e-12);
    EXPECT_REL_NEAR(b[2], 1, 1e-12);

    // Equal magnitudes: the first row stays the pivot row, which shows in the
    // reduced matrix left behind.
    const double tie[2][2] = {{2, 1}, {-2, 3}};
    double t[5];
    Store(tie, t);
    double tb[3] = {0, 3, 1};
    SolveLinear(2, t, tb);
    EXPECT_DOUBLE_EQ(t[1 * 2 + 1], 0.5);  // row 1, column 2 of the normalised first row
    EXPECT_REL_NEAR(tb[1], 1, 1e-12);
    EXPECT_REL_NEAR(tb[2], 1, 1e-12);
}

TEST(SolveLinear, ASingularSystemStopsWithThePartlyReducedVector) {
    // Column 2 is zero below the first row after the first step: the solve
    // stops there, without back substitution.
    const double rows[2][2] = {{2, 4}, {1, 2}};
    double a[5];
    Store(rows, a);
    double b[3] = {0, 6, 3};
    SolveLinear(2, a, b);
    EXPECT_DOUBLE_EQ(b[1], 3);  // 6 / 2, never back-substituted
    EXPECT_DOUBLE_EQ(b[2], 0);  // 3 - 1 x 3

    double zero[5] = {0, 0, 0, 0, 0};
    double zb[3] = {0, 7, 9};
    SolveLinear(2, zero, zb);
    EXPECT_EQ(zb[1], 7);
    EXPECT_EQ(zb[2], 9);
}

}  // namespace
}  // namespace kx::core
