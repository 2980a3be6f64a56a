#pragma once

#include <string>

#include "core/codegen/program_parts.h"

// How a family program interpolates across its lines: a straight line through
// two neighbouring lines, or a parabola through three.
namespace kx::core::calc_text {

enum class Interpolation { kTwoPoint, kThreePoint };

// The CVC$ line: the positions CMATRIX uses, each between slashes.
std::string UsedPositionsLine(Interpolation interpolation);

// The Dim line of the variables that CMATRIX alone uses.
void AppendInterpolationDims(ProgramLines& out, Interpolation interpolation);

// The subroutine CMATRIX, from its label to its Return: ZANS!, the value at
// YYPP! of the curve through the lines at positions NNP% - 1, NNP% (and
// NNP% + 1), of their values Y!() in Mode1 or their solved X values XP1!() in
// Mode2.
void AppendInterpolation(ProgramLines& out, Interpolation interpolation);

}  // namespace kx::core::calc_text
