#include "core/fitting/solve_linear.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

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

// The elimination written plainly: every element of the pivot row divided,
// rows exchanged even with themselves. The solver's shortcuts must not change
// a bit of what it gives.
void PlainSolve(int n, long double* a, long double* b) {
    auto at = [a, n](int row, int column) -> long double& { return a[(column - 1) * n + row]; };
    for (int k = 1; k <= n; ++k) {
        int pivotRow = k;
        long double largest = 0;
        for (int i = k; i <= n; ++i) {
            if (std::fabs(at(i, k)) > largest) {
                largest = std::fabs(at(i, k));
                pivotRow = i;
            }
        }
        if (!(largest > 0)) return;
        const long double pivot = at(pivotRow, k);
        for (int j = k; j <= n; ++j) {
            std::swap(at(k, j), at(pivotRow, j));
            at(k, j) /= pivot;
        }
        std::swap(b[k], b[pivotRow]);
        b[k] /= pivot;
        for (int i = k + 1; i <= n; ++i) {
            for (int j = k + 1; j <= n; ++j) at(i, j) -= at(k, j) * at(i, k);
            b[i] -= at(i, k) * b[k];
        }
    }
    for (int i = n - 1; i >= 1; --i) {
        for (int j = n; j >= i + 1; --j) b[i] -= at(i, j) * b[j];
    }
}

// Bitwise the same, NaN included.
bool Same(long double x, long double y) {
    return (std::isnan(x) && std::isnan(y)) || (x == y && std::signbit(x) == std::signbit(y));
}

// One reduced left-hand side serves every right-hand side with exactly the
// result of the plain elimination, and so does SolveLinear: well-conditioned and ill-conditioned
// normal equations, systems whose pivots need exchanges, and singular ones that stop part-way.
TEST(LinearElimination, SolvesEachRightSideAsThePlainEliminationDoes) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> value(-3.0, 3.0);
    std::vector<std::vector<double>> matrices;
    for (int n = 1; n <= LinearElimination::kMaxSize; ++n) {
        // Sums of powers of points as the section fit builds them, at a spread
        // of scales: near-singular for large X.
        for (double scale : {1.0, 1e3, 1e8}) {
            std::vector<double> a(static_cast<std::size_t>(n * n + 1));
            double s[7] = {};
            for (int i = 0; i < 6; ++i) {
                const double u = scale * (1.0 + 0.37 * i);
                for (int k = 0; k <= 6; ++k) s[k] += std::pow(u, k);
            }
            for (int r = 1; r <= n; ++r) {
                for (int c = 1; c <= n; ++c) a[(c - 1) * n + r] = s[2 * n - r - c];
            }
            matrices.push_back(a);
        }
        // Random ones, with exchanges of rows on the way.
        for (int m = 0; m < 20; ++m) {
            std::vector<double> a(static_cast<std::size_t>(n * n + 1));
            for (int i = 1; i <= n * n; ++i) a[i] = value(random);
            matrices.push_back(a);
        }
        // Singular: a zero column, and two equal rows.
        std::vector<double> zeroColumn(static_cast<std::size_t>(n * n + 1), 1.0);
        for (int r = 1; r <= n; ++r) zeroColumn[(n - 1) * n + r] = 0.0;
        matrices.push_back(zeroColumn);
        if (n >= 2) {
            std::vector<double> equalRows(static_cast<std::size_t>(n * n + 1));
            for (int i = 1; i <= n * n; ++i) equalRows[i] = value(random);
            for (int c = 1; c <= n; ++c) equalRows[(c - 1) * n + 2] = equalRows[(c - 1) * n + 1];
            matrices.push_back(equalRows);
        }
    }

    for (const std::vector<double>& a : matrices) {
        const int n = static_cast<int>(std::lround(std::sqrt(a.size() - 1.0)));
        LinearElimination shared;
        shared.Reduce(n, a.data());
        double together[3][LinearElimination::kMaxSize + 1] = {};
        long double plain[3][LinearElimination::kMaxSize + 1];
        for (int rhs = 0; rhs < 3; ++rhs) {
            for (int r = 1; r <= n; ++r)
                together[rhs][r] = value(random) * (rhs == 2 ? 1e12 : 1.0);
            long double b[LinearElimination::kMaxSize + 1];
            long double alone[LinearElimination::kMaxSize + 1];
            std::copy(together[rhs], together[rhs] + n + 1, b);
            std::copy(b, b + n + 1, plain[rhs]);
            std::copy(b, b + n + 1, alone);
            std::vector<long double> reference(a.begin(), a.end());
            PlainSolve(n, reference.data(), plain[rhs]);
            std::vector<long double> own(a.begin(), a.end());
            SolveLinear(n, own.data(), alone);
            shared.Solve(b);
            for (int r = 1; r <= n; ++r) {
                ASSERT_TRUE(Same(b[r], plain[rhs][r]))
                    << "n " << n << " row " << r << ": " << static_cast<double>(b[r]) << " vs "
                    << static_cast<double>(plain[rhs][r]);
                ASSERT_TRUE(Same(alone[r], plain[rhs][r])) << "n " << n << " row " << r;
            }
        }
        // One, two or three right sides at once, each rounded as it would be alone.
        for (int count = 1; count <= 3; ++count) {
            double x[3][LinearElimination::kMaxSize + 1] = {};
            shared.SolveEach(count, together, x);
            for (int rhs = 0; rhs < count; ++rhs) {
                for (int r = 1; r <= n; ++r) {
                    ASSERT_TRUE(Same(x[rhs][r], static_cast<double>(plain[rhs][r])))
                        << "n " << n << " count " << count << " side " << rhs << " row " << r;
                }
            }
        }
    }
}

}  // namespace
}  // namespace kx::core
