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
// Exchanges move whole rows, the factors of earlier steps with them: a
// right-hand side can then take every exchange first and be reduced without
// any (the same operations on the same values as exchanging on the way).
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
            for (int j = 1; j <= n; ++j) std::swap(at(k, j), at(row, j));
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
    }
    for (int k = 1; k <= steps; ++k) {
        b[k] /= at(k, k);
        for (int i = k + 1; i <= n; ++i) b[i] -= at(i, k) * b[k];
    }
    if (steps < n) return;
    for (int i = n - 1; i >= 1; --i) {
        for (int j = n; j >= i + 1; --j) b[i] -= at(i, j) * b[j];
    }
}

// Substitute for one right-hand side of a fixed size. The right side comes in
// and the solution goes out as doubles, the exchanges are made on the doubles
// first, and every later index is fixed: the extended values then stay in
// registers instead of going through memory, where they are slow to move.
template <int N>
void SubstituteFixed(const long double* a, const int* pivotRow, int steps, const double* in,
                     double* out) {
    auto at = [a](int row, int column) { return a[(column - 1) * N + row]; };
    double exchanged[N + 1];
    for (int i = 1; i <= N; ++i) exchanged[i] = in[i];
    for (int k = 1; k <= steps; ++k) std::swap(exchanged[k], exchanged[pivotRow[k]]);
    long double b[N + 1];
    for (int i = 1; i <= N; ++i) b[i] = exchanged[i];
    if (steps == N) {
        for (int k = 1; k <= N; ++k) {
            b[k] /= at(k, k);
            for (int i = k + 1; i <= N; ++i) b[i] -= at(i, k) * b[k];
        }
        for (int i = N - 1; i >= 1; --i) {
            for (int j = N; j >= i + 1; --j) b[i] -= at(i, j) * b[j];
        }
    } else {
        // A zero column stopped the elimination: no back substitution. (The
        // forward pass is written twice so that the full one has fixed bounds.)
        for (int k = 1; k <= steps; ++k) {
            b[k] /= at(k, k);
            for (int i = k + 1; i <= N; ++i) b[i] -= at(i, k) * b[k];
        }
    }
    for (int i = 1; i <= N; ++i) out[i] = static_cast<double>(b[i]);
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
    for (int m = 0; m < count; ++m) {
        switch (n_) {
            case 2: SubstituteFixed<2>(a_.data(), pivotRow_.data(), steps_, b[m], x[m]); break;
            case 3: SubstituteFixed<3>(a_.data(), pivotRow_.data(), steps_, b[m], x[m]); break;
            case 4: SubstituteFixed<4>(a_.data(), pivotRow_.data(), steps_, b[m], x[m]); break;
            default: {
                long double each[kMaxSize + 1];
                for (int i = 1; i <= n_; ++i) each[i] = b[m][i];
                Solve(each);
                for (int i = 1; i <= n_; ++i) x[m][i] = static_cast<double>(each[i]);
            }
        }
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
