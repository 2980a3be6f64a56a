#pragma once

#include <vector>

#include "core/digitizer/capture_marks.h"

// Which captured points of a line came from a traced curve, and whether a new
// trace followed the same curve as an earlier one. A traced point is known by
// its place: it was captured on the traced centre line itself, where a click,
// landing on whole canvas units, practically never falls. So the points of a
// trace are found again after an undo, a redo or a session reopened, and a
// point moved off the line by the arrow keys is the user's own from then on.
namespace kx::core {

struct CentrePoint {
    double x = 0;  // canvas units
    double y = 0;
    bool operator==(const CentrePoint&) const = default;
};
using CentreLine = std::vector<CentrePoint>;

// How near the centre line a captured point must lie to be one of its trace:
// a thousandth of a pixel, in canvas units.
inline constexpr double kOnTracedLine = 0.015;

// The distance from (x, y) to the polyline; a very large value for an empty one.
double DistanceToLine(const CentreLine& line, double x, double y);

// The places in `marks` of the captured points that lie on `centre`.
std::vector<int> MarksOnLine(const LineMarks& marks, const CentreLine& centre);

// Whether a trace from `seed` that found `found` is of the curve traced
// before from `oldSeed` along `old`: each seed lies within `reach` (canvas
// units) of the other's line.
bool SameCurve(const CentreLine& old, CentrePoint oldSeed, const CentreLine& found,
               CentrePoint seed, double reach);

}  // namespace kx::core
