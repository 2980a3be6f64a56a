#include "core/digitizer/traced_marks.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kx::core {

double DistanceToLine(const CentreLine& line, double x, double y) {
    if (line.empty()) return std::numeric_limits<double>::max();
    double nearest = std::hypot(line.front().x - x, line.front().y - y);
    for (std::size_t k = 1; k < line.size(); ++k) {
        const CentrePoint a = line[k - 1];
        const CentrePoint b = line[k];
        const double dx = b.x - a.x;
        const double dy = b.y - a.y;
        const double length2 = dx * dx + dy * dy;
        const double t =
            length2 > 0 ? std::clamp(((x - a.x) * dx + (y - a.y) * dy) / length2, 0.0, 1.0) : 0.0;
        nearest = std::min(nearest, std::hypot(a.x + t * dx - x, a.y + t * dy - y));
    }
    return nearest;
}

std::vector<int> MarksOnLine(const LineMarks& marks, const CentreLine& centre) {
    std::vector<int> places;
    for (std::size_t k = 0; k < marks.size(); ++k) {
        const MarkedPoint& mark = marks[k];
        if (mark.captured && DistanceToLine(centre, mark.x, mark.y) <= kOnTracedLine)
            places.push_back(static_cast<int>(k));
    }
    return places;
}

bool SameCurve(const CentreLine& old, CentrePoint oldSeed, const CentreLine& found,
               CentrePoint seed, double reach) {
    return DistanceToLine(old, seed.x, seed.y) <= reach &&
           DistanceToLine(found, oldSeed.x, oldSeed.y) <= reach;
}

}  // namespace kx::core
