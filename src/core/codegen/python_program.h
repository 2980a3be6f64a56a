#pragma once

#include <string>
#include <vector>

#include "core/codegen/calc_family.h"

namespace kx::core {

// The family's Calc as one Python 3 module text, a line per entry:
//   flag, y = kx_calc(x, p)
// with the semantics of EvaluateCalc (x and p taken as 32-bit floats, Singles
// rounded after every operation through the struct module). Standard library
// only; a header comment tells the caller how to use it.
std::vector<std::string> CalcProgramInPython(const CalcFamily& family);

}  // namespace kx::core
