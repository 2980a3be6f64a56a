#pragma once

#include <string>

#include "core/codegen/program_parts.h"

// How a family program interpolates across its lines: a straight line through
// two neighbouring lines, or a parabola through three.
namespace kx::core::calc_text {

enum class Interpolation { kTwoPoint, kThreePoint };

// The CVC$ line: the positions CMATRIX uses, each between slashes.
std::string UsedPositionsLine(Interpolation interpolation);

// The subroutine CMATRIX, from its label to its Return.
void AppendInterpolation(ProgramLines& out, Interpolation interpolation);

}  // namespace kx::core::calc_text
