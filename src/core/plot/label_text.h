#pragma once

#include <string>

namespace kx::core {

// The text of an axis label: 0 as ".0"; a magnitude of at most 0.00001 or at
// least 10000 as mantissa and exponent with one to four significant digits
// ("1.235E+04", "1.0E-06"); anything else with up to six decimals, the point
// always written and no zero before it ("2.", ".25", "1500."). Digits are
// rounded half away from zero. A value that is not finite has no label ("").
std::string LabelText(double value);

}  // namespace kx::core
