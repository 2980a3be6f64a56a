#pragma once

namespace kx::core {

// The two axes round a logarithmic maximum differently.
enum class AxisKind { kX, kY };

// One axis of the plot after its limits were widened to convenient values.
struct AxisScale {
    bool log = false;
    double min = 0.0;  // the adjusted limits as exact decimal values
    double max = 1.0;
    float low = 0.0f;  // the limits as the frame holds them
    float high = 1.0f;
    double step = 1.0;           // the nice step g
    int intervals = 1;           // n = (max - min) / g
    float linearScale = 600.0f;  // drawing units per data unit
    float logScale = 0.0f;       // drawing units per unit of natural logarithm (log axes)
    int startDigit = 1;          // a logarithmic axis starts at startDigit x 10^startExponent
    int startExponent = 0;
};

// Widens the range min..max of one axis to convenient limits. The axis is
// logarithmic when asked for and min > 0. A linear axis runs over whole
// multiples of the nice step; a logarithmic one from a leading digit times a
// power of ten. An empty range (min == max) is first opened around its value,
// and limits beyond a float are held at the largest float, so that every finite
// range gives a finite, positive scale.
AxisScale AdjustAxis(float min, float max, bool logRequested, AxisKind kind);

}  // namespace kx::core
