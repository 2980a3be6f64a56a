#include "core/codegen/program_listing.h"

#include "core/codegen/c_program.h"
#include "core/codegen/calc_sources.h"
#include "core/codegen/python_program.h"

namespace kx::core {
namespace {

using Generator = std::vector<std::string> (*)(const CalcFamily&);

struct LanguageFile {
    ProgramLanguage language;
    const char* fileName;
    Generator generate;
};

constexpr LanguageFile kLanguageFiles[] = {
    {ProgramLanguage::kC, "kx_calc.c", CalcProgramInC},
    {ProgramLanguage::kPython, "kx_calc.py", CalcProgramInPython},
    {ProgramLanguage::kMatlab, "kx_calc.m", CalcProgramInMatlab},
    {ProgramLanguage::kJavaScript, "kx_calc.mjs", CalcProgramInJavaScript},
    {ProgramLanguage::kCSharp, "KxCalc.cs", CalcProgramInCSharp},
    {ProgramLanguage::kFortran, "kx_calc.f90", CalcProgramInFortran},
};

const LanguageFile* FileOf(ProgramLanguage language) {
    for (const LanguageFile& file : kLanguageFiles) {
        if (file.language == language) return &file;
    }
    return nullptr;
}

}  // namespace

const char* ProgramFileName(ProgramLanguage language) {
    const LanguageFile* file = FileOf(language);
    return file != nullptr ? file->fileName : "program.txt";
}

ProgramListing ProgramListingOf(ProgramLanguage language, const DataSet& data,
                                const FitResults& results) {
    const LanguageFile* file = FileOf(language);
    if (file == nullptr) {
        if (results.program.empty()) return {};
        return {CalcFamilyStatus::kReady, results.program};
    }
    const CalcFamilyBuild build = CalcFamilyOf(data, results);
    if (build.status != CalcFamilyStatus::kReady) return {build.status, {}};
    return {CalcFamilyStatus::kReady, file->generate(build.family)};
}

}  // namespace kx::core
