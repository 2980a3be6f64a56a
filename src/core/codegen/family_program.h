#pragma once

#include "core/data/data_set.h"
#include "core/fitting/fit_results.h"

namespace kx::core {

// Appends the Calc program of a family of two or more lines to
// results.program: two-point interpolation across the lines for two, three-
// point for more.
void GenerateFamilyProgram(const DataSet& data, FitResults& results);

}  // namespace kx::core
