#pragma once

#include <array>
#include <string>

// The 21 equation forms: polynomials of degree 1..3 in seven coordinate
// systems. Form = 3 x (system - 1) + degree; C1 is the coefficient of the
// highest power and the last one the constant.
namespace kx::core {

inline constexpr int kFormCount = 21;
inline constexpr int kSystemCount = 7;

// Coefficients C1..C4 at indices 1..4; index 0 is unused.
using Coefficients = std::array<double, 5>;

constexpr int FormNumber(int system, int degree) {
    return 3 * (system - 1) + degree;
}
constexpr int SystemOfForm(int form) {
    return (form - 1) / 3 + 1;
}
constexpr int DegreeOfForm(int form) {
    return (form - 1) % 3 + 1;
}

// The three-digit code of a form (coefficient count, X transform, Y transform),
// "" for 0 (no form).
const char* EquationCode(int form);

// The generic text of a form, "Y = aX + b" .. "1/Y = a(1/X)^3 + ...".
const char* GenericFormText(int form);

// Number of coefficients of a form: the first digit of its code (0 for no form).
int CoefficientCount(int form);

// The equation as the result lists show it, "Y =  2.00000E+00 X +  5.00000E-01".
std::string DisplayText(int form, const Coefficients& c);

// The equation as one BASIC assignment to Y1!, "Y1! =  2.00000E+00* X1! + ...".
std::string ProgramText(int form, const Coefficients& c);

}  // namespace kx::core
