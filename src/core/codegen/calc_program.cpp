#include "core/codegen/calc_program.h"

#include "core/codegen/family_program.h"
#include "core/codegen/single_line_program.h"

namespace kx::core {

void GenerateCalcProgram(const DataSet& data, FitResults& results) {
    if (data.lineCount < 1) return;
    if (data.lineCount == 1) {
        GenerateSingleLineProgram(data, results);
    } else {
        GenerateFamilyProgram(data, results);
    }
}

}  // namespace kx::core
