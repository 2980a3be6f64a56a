#pragma once

#include <string>
#include <vector>

#include "core/codegen/calc_family.h"

namespace kx::core {

// The family's Calc as one C99 source text, a line per entry:
//   int kx_calc(double x, double p, double *y)
// returns the flag and stores the value, with the semantics of EvaluateCalc
// (x and p taken as 32-bit floats, Singles rounded after every operation).
// Standard library only; a header comment tells the caller how to use it.
std::vector<std::string> CalcProgramInC(const CalcFamily& family);

}  // namespace kx::core
