#pragma once

#include "core/data/data_set.h"
#include "core/fitting/calc_settings.h"
#include "core/fitting/fit_observer.h"
#include "core/fitting/fit_results.h"

namespace kx::core {

// Appends the source text of the BASIC subroutine Calc for the fitted family to
// results.program, one entry per text line: the single-line program for one
// line, the two-point family program for two, the three-point one for more.
void GenerateCalcProgram(const DataSet& data, FitResults& results);

// A whole calculation run: FitFamily, then, unless it was stopped, the program
// generator. Returns false on a stop.
bool FitAndGenerate(DataSet& data, const CalcSettings& settings, FitResults& results,
                    FitObserver* observer = nullptr);

}  // namespace kx::core
