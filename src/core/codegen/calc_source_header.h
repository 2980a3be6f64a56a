#pragma once

#include <string>
#include <vector>

#include "core/codegen/calc_family.h"

namespace kx::core {

enum class SourceLanguage { kC, kPython };

// The header comment of a generated C or Python Calc: how to call it, what its
// flags mean, how it computes, and the family it holds. Each line starts with
// `prefix` (" * " or "# ").
std::vector<std::string> CalcSourceHeader(const CalcFamily& family, SourceLanguage language);

}  // namespace kx::core
