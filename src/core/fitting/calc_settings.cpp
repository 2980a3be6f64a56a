#include "core/fitting/calc_settings.h"

#include <cmath>

namespace kx::core {

std::optional<float> Gr(float e) {
    if (!(e > 0.0f)) return std::nullopt;
    const float g = static_cast<float>(-12.3315 * std::log(static_cast<double>(e)) - 13.5774);
    return static_cast<float>(std::floor(100.0 * static_cast<double>(g)) / 100.0);
}

float LogGr(float e) {
    const std::optional<float> g = Gr(e == 0.0f ? 1e-10f : e);
    return g && *g > 0.0f ? *g : 0.0f;
}

}  // namespace kx::core
