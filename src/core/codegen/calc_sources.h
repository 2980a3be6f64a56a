#pragma once

#include <string>
#include <vector>

#include "core/codegen/calc_family.h"

// The family's Calc in the languages beyond BASIC, C and Python, a line per
// entry, each with the semantics of EvaluateCalc (x and p taken as 32-bit
// floats, Singles rounded where the BASIC program stores one) and a header
// comment that tells the caller how to use it. Each holds the family's
// tables (CalcTablesOf) apart from the calculation.
namespace kx::core {

// A function file kx_calc.m: function [flag, y] = kx_calc(x, p), for MATLAB
// and GNU Octave alike.
std::vector<std::string> CalcProgramInMatlab(const CalcFamily& family);

// An ES module kx_calc.mjs exporting kx_calc(x, p), which returns [flag, y].
std::vector<std::string> CalcProgramInJavaScript(const CalcFamily& family);

// KxCalc.cs: public static class KxCalc with
// public static int Calc(double x, double p, out double y).
std::vector<std::string> CalcProgramInCSharp(const CalcFamily& family);

// kx_calc.f90: module kx_calc_mod with
// integer function kx_calc(x, p, y), real(8) arguments, y intent(out).
std::vector<std::string> CalcProgramInFortran(const CalcFamily& family);

}  // namespace kx::core
