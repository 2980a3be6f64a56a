#include "core/codegen/calc_program.h"
#include "core/fitting/fit_family.h"

namespace kx::core {

bool FitAndGenerate(DataSet& data, const CalcSettings& settings, FitResults& results,
                    FitObserver* observer) {
    if (!FitFamily(data, settings, results, observer)) return false;
    GenerateCalcProgram(data, results);
    return true;
}

}  // namespace kx::core
