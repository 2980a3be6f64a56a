#pragma once

#include <array>

// The convenient axis steps 1, 2 and 5 times a power of ten.
namespace kx::core {

inline constexpr int kNiceStepCount = 93;

// 1, 2, 5 x 10^k for k = -15..15, ascending.
const std::array<double, kNiceStepCount>& NiceSteps();

// The first step of the table greater than `d` (d finite and >= 0). A wider
// range than the table covers continues the 1-2-5 sequence, so that every
// finite range gets a step.
double NiceStep(double d);

// 10^exponent, correctly rounded.
double DecimalPower(int exponent);

}  // namespace kx::core
