#pragma once

#include <array>

namespace kx::core {

// Solves the n x n system A x = b in place by Gaussian elimination with partial
// pivoting and normalised pivot rows. Positions are 1-based: element (row r,
// column c) of A is a[(c - 1) * n + r], and b[1..n] receives the solution.
// The reduced matrix is left in a with each pivot on the diagonal and the rest
// of its row divided by it.
// A column that is zero from the diagonal down stops the solve at once and b is
// taken as it stands (a singular system yields the partly reduced vector).
void SolveLinear(int n, double* a, double* b);

// The same elimination carried out in extended precision; the normal equations
// of the section fit use it, so that exact data gives exact coefficients once
// the solution is rounded back to double.
void SolveLinear(int n, long double* a, long double* b);

// The elimination of one left-hand side of at most 4 x 4 in extended
// precision, kept for every right-hand side that shares it: Solve gives each b
// exactly what SolveLinear gives for the same a and b.
class LinearElimination {
public:
    static constexpr int kMaxSize = 4;

    // Reduces a (stored as SolveLinear takes it), 1 <= n <= kMaxSize.
    void Reduce(int n, const double* a);
    void Solve(long double* b) const;
    // Solves for `count` right-hand sides b[m][1..n]: x[m][1..n] receives what
    // Solve gives b[m], rounded to double.
    void SolveEach(int count, const double (*b)[kMaxSize + 1], double (*x)[kMaxSize + 1]) const;

private:
    int n_ = 0;
    int steps_ = 0;  // columns eliminated; fewer than n_ when a column was zero
    // Left unset until Reduce: the fit makes a dozen of these per section.
    std::array<int, kMaxSize + 1> pivotRow_;
    std::array<long double, kMaxSize * kMaxSize + 1> a_;
};

}  // namespace kx::core
