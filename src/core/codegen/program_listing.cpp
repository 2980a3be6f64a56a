#include "core/codegen/program_listing.h"

#include "core/codegen/c_program.h"
#include "core/codegen/python_program.h"

namespace kx::core {

const char* ProgramFileName(ProgramLanguage language) {
    switch (language) {
        case ProgramLanguage::kC: return "kx_calc.c";
        case ProgramLanguage::kPython: return "kx_calc.py";
        default: return "program.txt";
    }
}

ProgramListing ProgramListingOf(ProgramLanguage language, const DataSet& data,
                                const FitResults& results) {
    if (language == ProgramLanguage::kBasic) {
        if (results.program.empty()) return {};
        return {CalcFamilyStatus::kReady, results.program};
    }
    const CalcFamilyBuild build = CalcFamilyOf(data, results);
    if (build.status != CalcFamilyStatus::kReady) return {build.status, {}};
    return {CalcFamilyStatus::kReady, language == ProgramLanguage::kC
                                          ? CalcProgramInC(build.family)
                                          : CalcProgramInPython(build.family)};
}

}  // namespace kx::core
