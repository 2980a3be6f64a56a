#pragma once

#include <limits>

// The plot window in data units and its mapping onto the axes box, as one
// drawing pass sets it and the curves and labels read it.
namespace kx::core {

// Side of the square axes box in drawing units.
inline constexpr double kAxisLength = 600.0;

struct PlotFrame {
    float xMin = 0.0f;
    float xMax = 1.0f;
    float yMin = 0.0f;
    float yMax = 1.0f;
    bool plotLogX = false;
    bool plotLogY = false;
    float kx = 600.0f;  // drawing units per data unit on a linear axis
    float ky = 600.0f;
    float lx = 0.0f;  // drawing units per unit of natural logarithm on a logarithmic axis
    float ly = 0.0f;
    bool toPrinter = false;
    // The X range asked for (the data's, or the X boxes'): the axis may
    // round it outwards, but no point or curve outside it is drawn.
    float xFrom = -std::numeric_limits<float>::max();
    float xTo = std::numeric_limits<float>::max();
};

// A position in drawing units.
struct DrawingPoint {
    double x = 0.0;
    double y = 0.0;
};

// Distance of a value from the origin along the X (Y) axis, in drawing units.
double AxisPositionX(const PlotFrame& frame, float x);
double AxisPositionY(const PlotFrame& frame, float y);

// Drawing position of a data point: (px, -py), since y grows downwards.
DrawingPoint MapPoint(const PlotFrame& frame, float x, float y);

// True when xMin <= x <= xMax and yMin <= y <= yMax (compared as floats),
// and x lies in the range asked for.
bool InPlotWindow(const PlotFrame& frame, float x, float y);
bool InXRange(const PlotFrame& frame, float x);
bool InYRange(const PlotFrame& frame, float y);

// The float nearest to a value computed in double, held within the finite
// floats: how the plot stores what it computes.
float AsFloat(double value);

}  // namespace kx::core
