#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/plot/axis_scale.h"

namespace kx::core {

enum class TickKind {
    kOrigin,  // the label of the axis minimum at the origin (no tick line)
    kMinor,   // a short tick inside the box
    kMajor,   // a long tick across the axis, the grid line when `grid` is set, the label
};

// One tick of an axis: its value, its distance from the origin in drawing units
// and its label text ("" when it has none).
struct AxisTick {
    TickKind kind = TickKind::kMinor;
    double value = 0.0;
    double position = 0.0;
    bool grid = false;
    std::string label;
};

// The leading digits whose unit ticks a logarithmic axis labels, from the
// length of one decade in drawing units: "1" up to 300, "15", "125", "1235",
// "12357" and above 1500 every digit.
std::string_view LabelDigits(double decadeLength);

// Every tick of an axis, from the origin upwards. A linear axis has a label at
// the origin, ten minor ticks per step and a labelled major tick at every
// multiple of the step, with a grid line for all but the last. A logarithmic
// axis walks from its minimum in units of the current decade (3, 4, .., 9, 10,
// 20, ..); every unit position gets a major tick and a grid line, a label when
// its leading digit is in the axis's digit set, and tenths of the unit as minor
// ticks where they lie more than 5 units apart.
std::vector<AxisTick> AxisTicks(const AxisScale& scale);

}  // namespace kx::core
