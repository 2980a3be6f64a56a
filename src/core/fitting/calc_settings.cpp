#include "core/fitting/calc_settings.h"

#include <cmath>

#include "core/data/numeric_text.h"
#include "core/data/text_chars.h"
#include "core/fitting/elementary.h"

namespace kx::core {

std::optional<float> CheckedCutoffPrecision(std::string_view text) {
    const std::string_view trimmed = TrimBlanks(text);
    if (!IsNumericText(trimmed)) return std::nullopt;
    const double value = ValueOfText(trimmed);
    if (!FitsSingle(value)) return std::nullopt;
    const float precision = static_cast<float>(value);
    if (!(precision > 0.0f && precision < 0.75f)) return std::nullopt;
    return precision;
}

std::optional<int16_t> CheckedErrorMode(std::string_view text) {
    const double value = ValueOfText(text);
    if (value != 0.0 && value != 1.0 && value != 2.0) return std::nullopt;
    return static_cast<int16_t>(value);
}

std::optional<int16_t> CheckedMinSection(std::string_view text) {
    const std::string_view trimmed = TrimBlanks(text);
    if (trimmed.empty() || !IsNumericText(trimmed)) return std::nullopt;
    const double value = ValueOfText(trimmed);
    if (value != std::floor(value) || value < kStandardMinSection || value > kLargestMinSection)
        return std::nullopt;
    return static_cast<int16_t>(value);
}

std::optional<float> Gr(float e) {
    if (!(e > 0.0f)) return std::nullopt;
    const float g = static_cast<float>(-12.3315 * Log(static_cast<double>(e)) - 13.5774);
    return static_cast<float>(std::floor(100.0 * static_cast<double>(g)) / 100.0);
}

float LogGr(float e) {
    const std::optional<float> g = Gr(e == 0.0f ? 1e-10f : e);
    return g && *g > 0.0f ? *g : 0.0f;
}

}  // namespace kx::core
