#pragma once

namespace kx::core {

// Solves the n x n system A x = b in place by Gaussian elimination with partial
// pivoting and normalised pivot rows. Positions are 1-based: element (row r,
// column c) of A is a[(c - 1) * n + r], and b[1..n] receives the solution.
// A column that is zero from the diagonal down stops the solve at once and b is
// taken as it stands (a singular system yields the partly reduced vector).
void SolveLinear(int n, double* a, double* b);

// The same elimination carried out in extended precision; the normal equations
// of the section fit use it, so that exact data gives exact coefficients once
// the solution is rounded back to double.
void SolveLinear(int n, long double* a, long double* b);

}  // namespace kx::core
