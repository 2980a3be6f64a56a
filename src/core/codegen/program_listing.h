#pragma once

#include <string>
#include <vector>

#include "core/codegen/calc_family.h"
#include "core/data/data_set.h"
#include "core/fitting/fit_results.h"

// The generated Calc in the languages the user can take it in.
namespace kx::core {

enum class ProgramLanguage { kBasic, kC, kPython, kMatlab, kJavaScript, kCSharp, kFortran };

// The name a program listing is written to: "program.txt" (the BASIC
// listing, CP932 with CR LF like every listing), "kx_calc.c", "kx_calc.py",
// "kx_calc.m", "kx_calc.mjs", "KxCalc.cs" and "kx_calc.f90" (ASCII source
// text with LF).
const char* ProgramFileName(ProgramLanguage language);

struct ProgramListing {
    CalcFamilyStatus status = CalcFamilyStatus::kNoProgram;
    std::vector<std::string> lines;  // one text line per entry; empty unless kReady
};

// The program of the last run in a language: the BASIC text the run generated,
// or the source of the same family in another language.
ProgramListing ProgramListingOf(ProgramLanguage language, const DataSet& data,
                                const FitResults& results);

}  // namespace kx::core
