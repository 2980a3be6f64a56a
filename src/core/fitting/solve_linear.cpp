#include "core/fitting/solve_linear.h"

#include <cmath>
#include <utility>

namespace kx::core {
namespace {

// N > 0 fixes the size at compile time (the fit's 2, 3 and 4), 0 takes n.
template <typename Real, int N = 0>
void Eliminate(int size, Real* a, Real* b) {
    const int n = N > 0 ? N : size;
    auto at = [a, stride = n](int row, int column) -> Real& {
        return a[(column - 1) * stride + row];
    };

    for (int k = 1; k <= n; ++k) {
        int pivotRow = k;
        Real largest = 0;
        for (int i = k; i <= n; ++i) {
            if (std::fabs(at(i, k)) > largest) {
                largest = std::fabs(at(i, k));
                pivotRow = i;
            }
        }
        if (!(largest > 0)) return;

        const Real pivot = at(pivotRow, k);
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

}  // namespace

void SolveLinear(int n, double* a, double* b) {
    Eliminate(n, a, b);
}

void SolveLinear(int n, long double* a, long double* b) {
    switch (n) {
        case 2: return Eliminate<long double, 2>(n, a, b);
        case 3: return Eliminate<long double, 3>(n, a, b);
        case 4: return Eliminate<long double, 4>(n, a, b);
        default: return Eliminate(n, a, b);
    }
}

}  // namespace kx::core
