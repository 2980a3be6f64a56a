#pragma once

#include "core/data/data_set.h"
#include "core/fitting/calc_settings.h"
#include "core/fitting/fit_observer.h"
#include "core/fitting/fit_results.h"

namespace kx::core {

// Appends the source text of the BASIC subroutine Calc for the fitted family to
// results.program, one entry per text line: the single-line program for one
// line, the two-point family program for two, the three-point one for more.
//
// The program is pasted into the user's own Visual Basic, VBA or LibreOffice
// Basic module, so it gives the same answer in each and never stops the
// caller. What it does for that, which any other evaluator of the same
// program must do alike:
// - Every variable is declared, so Option Explicit modules accept it.
// - "On Error GoTo EL100" comes first: any run-time error ends the call with
//   EFLG% = 7 and ANS00! = 0.
// - Singles meet constants as Singles: section ends are Single literals
//   ("12.5!", an end point belongs to the section that ends there), the
//   parameters are compared as CSng(Val(...)).
// - A value computed in double precision (YQ#) is stored in a Single by one
//   rule: below 1.1754944E-38 in magnitude it becomes 0, beyond 3.402823E+38
//   it becomes that value with its sign. So are stored each equation's value
//   (the statements assign YQ#, then Y!(EQNO%) takes it), the interpolated
//   ZANS! and every candidate X1! of the inverse solution.
// - The three-point interpolation is Lagrange's parabola in double precision,
//   exact at each line's parameter and independent of the parameters' scale.
// - The inverse solution (Mode2) is skipped when XXPP! or ANS11! is 0; its
//   ratios (ALPA#, ALPAZ#) and relative differences (CHH#, CHHB#, CHHBZ# and
//   the loop tests) are Doubles; an interpolated X (ANS22!) of 0, or a target
//   Y that is no normal Single, ends it as not converged (EFLG0% = 1); a line
//   value of 0 leaves X1! where it is; from the second step on a candidate X
//   outside XMIN! - |XMIN!| / 2 .. XMAX! + |XMAX!| is reset to XXPP!.
void GenerateCalcProgram(const DataSet& data, FitResults& results);

// A whole calculation run: FitFamily, then, unless it was stopped, the program
// generator. Returns false on a stop.
bool FitAndGenerate(DataSet& data, const CalcSettings& settings, FitResults& results,
                    FitObserver* observer = nullptr);

}  // namespace kx::core
