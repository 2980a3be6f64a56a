#include "core/fitting/solve_linear.h"

#include <cassert>
#include <cmath>
#include <utility>
#include <vector>

namespace kx::core {
namespace {

// Reduces a in place and records the pivot row of every step; returns the
// number of columns eliminated (fewer than n when a column is zero from the
// diagonal down). N > 0 fixes the size at compile time (the fit's 2, 3 and 4),
// 0 takes n. The pivot stays on the diagonal: only the right-hand side reads
// it, so the rest of its row is divided and the diagonal itself is not.
template <typename Real, int N = 0>
int Eliminate(int size, Real* a, int* pivotRow) {
    const int n = N > 0 ? N : size;
    auto at = [a, stride = n](int row, int column) -> Real& {
        return a[(column - 1) * stride + row];
    };

    for (int k = 1; k <= n; ++k) {
        int row = k;
        Real largest = 0;
        for (int i = k; i <= n; ++i) {
            if (std::fabs(at(i, k)) > largest) {
                largest = std::fabs(at(i, k));
                row = i;
            }
        }
        if (!(largest > 0)) return k - 1;
        pivotRow[k] = row;

        if (row != k) {
            for (int j = k; j <= n; ++j) std::swap(at(k, j), at(row, j));
        }
        const Real pivot = at(k, k);
        for (int j = k + 1; j <= n; ++j) at(k, j) /= pivot;

        for (int i = k + 1; i <= n; ++i) {
            for (int j = k + 1; j <= n; ++j) at(i, j) -= at(k, j) * at(i, k);
        }
    }
    return n;
}

// Carries the operations of the elimination over to b and substitutes back.
template <typename Real, int N = 0>
void Substitute(int size, const Real* a, const int* pivotRow, int steps, Real* b) {
    const int n = N > 0 ? N : size;
    auto at = [a, stride = n](int row, int column) { return a[(column - 1) * stride + row]; };

    for (int k = 1; k <= steps; ++k) {
        if (pivotRow[k] != k) std::swap(b[k], b[pivotRow[k]]);
        b[k] /= at(k, k);
        for (int i = k + 1; i <= n; ++i) b[i] -= at(i, k) * b[k];
    }
    if (steps < n) return;
    for (int i = n - 1; i >= 1; --i) {
        for (int j = n; j >= i + 1; --j) b[i] -= at(i, j) * b[j];
    }
}

// Substitute for M right-hand sides at once: the same operations on each b,
// interleaved, so that the long chains of dependent divisions and products of
// one system overlap with those of the others. The right sides come in and the
// solutions go out as doubles: extended values are slow to move through
// memory, and the fit reads only the rounded solutions.
template <int N, int M>
void SubstituteEach(const long double* a, const int* pivotRow, int steps, const double (*in)[5],
                    double (*out)[5]) {
    auto at = [a](int row, int column) { return a[(column - 1) * N + row]; };
    long double b[M][N + 1];
    for (int m = 0; m < M; ++m) {
        for (int i = 1; i <= N; ++i) b[m][i] = in[m][i];
    }
    for (int k = 1; k <= steps; ++k) {
        const int row = pivotRow[k];
        const long double pivot = at(k, k);
        for (int m = 0; m < M; ++m) {
            if (row != k) std::swap(b[m][k], b[m][row]);
            b[m][k] /= pivot;
        }
        for (int i = k + 1; i <= N; ++i) {
            const long double factor = at(i, k);
            for (int m = 0; m < M; ++m) b[m][i] -= factor * b[m][k];
        }
    }
    if (steps == N) {
        for (int i = N - 1; i >= 1; --i) {
            for (int j = N; j >= i + 1; --j) {
                const long double factor = at(i, j);
                for (int m = 0; m < M; ++m) b[m][i] -= factor * b[m][j];
            }
        }
    }
    for (int m = 0; m < M; ++m) {
        for (int i = 1; i <= N; ++i) out[m][i] = static_cast<double>(b[m][i]);
    }
}

template <int N>
void SubstituteEach(const long double* a, const int* pivotRow, int steps, int count,
                    const double (*in)[5], double (*out)[5]) {
    switch (count) {
        case 1: return SubstituteEach<N, 1>(a, pivotRow, steps, in, out);
        case 2: return SubstituteEach<N, 2>(a, pivotRow, steps, in, out);
        default: return SubstituteEach<N, 3>(a, pivotRow, steps, in, out);
    }
}

template <typename Real, int N = 0>
void Solve(int n, Real* a, Real* b) {
    constexpr int kFixed = LinearElimination::kMaxSize;
    int fixedRows[kFixed + 1];
    std::vector<int> rows;
    int* pivotRow = fixedRows;
    if (n > kFixed) {
        rows.resize(static_cast<std::size_t>(n) + 1);
        pivotRow = rows.data();
    }
    const int steps = Eliminate<Real, N>(n, a, pivotRow);
    Substitute<Real, N>(n, a, pivotRow, steps, b);
}

}  // namespace

void SolveLinear(int n, double* a, double* b) {
    Solve(n, a, b);
}

void SolveLinear(int n, long double* a, long double* b) {
    switch (n) {
        case 2: return Solve<long double, 2>(n, a, b);
        case 3: return Solve<long double, 3>(n, a, b);
        case 4: return Solve<long double, 4>(n, a, b);
        default: return Solve(n, a, b);
    }
}

void LinearElimination::Reduce(int n, const double* a) {
    assert(n >= 1 && n <= kMaxSize);
    n_ = n;
    for (int i = 1; i <= n * n; ++i) a_[i] = a[i];
    switch (n) {
        case 2: steps_ = Eliminate<long double, 2>(n, a_.data(), pivotRow_.data()); break;
        case 3: steps_ = Eliminate<long double, 3>(n, a_.data(), pivotRow_.data()); break;
        case 4: steps_ = Eliminate<long double, 4>(n, a_.data(), pivotRow_.data()); break;
        default: steps_ = Eliminate(n, a_.data(), pivotRow_.data()); break;
    }
}

void LinearElimination::SolveEach(int count, const double (*b)[kMaxSize + 1],
                                  double (*x)[kMaxSize + 1]) const {
    assert(count >= 1 && count <= 3);
    switch (n_) {
        case 2: return SubstituteEach<2>(a_.data(), pivotRow_.data(), steps_, count, b, x);
        case 3: return SubstituteEach<3>(a_.data(), pivotRow_.data(), steps_, count, b, x);
        case 4: return SubstituteEach<4>(a_.data(), pivotRow_.data(), steps_, count, b, x);
        default:
            for (int m = 0; m < count; ++m) {
                long double each[kMaxSize + 1];
                for (int i = 1; i <= n_; ++i) each[i] = b[m][i];
                Solve(each);
                for (int i = 1; i <= n_; ++i) x[m][i] = static_cast<double>(each[i]);
            }
            return;
    }
}

void LinearElimination::Solve(long double* b) const {
    switch (n_) {
        case 2: return Substitute<long double, 2>(n_, a_.data(), pivotRow_.data(), steps_, b);
        case 3: return Substitute<long double, 3>(n_, a_.data(), pivotRow_.data(), steps_, b);
        case 4: return Substitute<long double, 4>(n_, a_.data(), pivotRow_.data(), steps_, b);
        default: return Substitute(n_, a_.data(), pivotRow_.data(), steps_, b);
    }
}

}  // namespace kx::core
