#include "core/plot/nice_steps.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace kx::core {
namespace {

constexpr int kLowestPower = -15;
constexpr double kMantissas[3] = {1.0, 2.0, 5.0};

std::array<double, kNiceStepCount> BuildNiceSteps() {
    std::array<double, kNiceStepCount> steps{};
    std::size_t i = 0;
    for (int power = kLowestPower; i < steps.size(); ++power) {
        for (const double mantissa : kMantissas) steps[i++] = mantissa * DecimalPower(power);
    }
    return steps;
}

}  // namespace

double DecimalPower(int exponent) {
    const std::string text = "1e" + std::to_string(exponent);
    double value = exponent < 0 ? 0.0 : HUGE_VAL;  // left so when out of range
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

const std::array<double, kNiceStepCount>& NiceSteps() {
    static const std::array<double, kNiceStepCount> steps = BuildNiceSteps();
    return steps;
}

double NiceStep(double d) {
    if (!std::isfinite(d)) return HUGE_VAL;
    const auto& steps = NiceSteps();
    const auto found = std::upper_bound(steps.begin(), steps.end(), d);
    if (found != steps.end()) return *found;
    for (int power = static_cast<int>(std::floor(std::log10(d))) - 1;; ++power) {
        for (const double mantissa : kMantissas) {
            const double step = mantissa * DecimalPower(power);
            if (step > d) return step;
        }
    }
}

}  // namespace kx::core
