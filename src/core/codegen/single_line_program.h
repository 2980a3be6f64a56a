#pragma once

#include "core/data/data_set.h"
#include "core/fitting/fit_results.h"

namespace kx::core {

// Appends the Calc program of a family of one line to results.program.
void GenerateSingleLineProgram(const DataSet& data, FitResults& results);

}  // namespace kx::core
