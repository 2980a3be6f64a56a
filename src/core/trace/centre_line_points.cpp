#include "core/trace/centre_line_points.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace kx::core {
namespace {

constexpr double kHalfPixel = 0.5;

double DistanceToChord(const PicturePoint& p, const PicturePoint& a, const PicturePoint& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// A span between two kept points of the line, with where it strays most.
struct Span {
    std::size_t first = 0, last = 0;
    std::size_t farthest = 0;
    double deviation = 0;
    double length = 0;  // along the line
};

Span SpanOf(const std::vector<PicturePoint>& line, const std::vector<double>& along,
            std::size_t first, std::size_t last) {
    Span span{first, last, first, 0, along[last] - along[first]};
    for (std::size_t i = first + 1; i < last; ++i) {
        const double d = DistanceToChord(line[i], line[first], line[last]);
        if (d > span.deviation) {
            span.deviation = d;
            span.farthest = i;
        }
    }
    return span;
}

// The point where a span is split next: where it strays most while that is
// beyond half a pixel, else the point halfway along it.
std::size_t SplitPoint(const Span& span, const std::vector<double>& along) {
    if (span.deviation > kHalfPixel) return span.farthest;
    const double middle = along[span.first] + span.length / 2;
    const auto begin = along.begin() + static_cast<std::ptrdiff_t>(span.first);
    const auto end = along.begin() + static_cast<std::ptrdiff_t>(span.last);
    const auto at = static_cast<std::size_t>(std::lower_bound(begin, end, middle) - along.begin());
    return std::clamp(at, span.first + 1, span.last - 1);
}

bool Splittable(const Span& span) {
    return span.last - span.first >= 2;
}

// A span that holds a point to split at first; of those, the ones straying
// beyond half a pixel, by how far; then the longest.
bool SplitsBefore(const Span& a, const Span& b) {
    if (Splittable(a) != Splittable(b)) return Splittable(a);
    const bool aStrays = a.deviation > kHalfPixel, bStrays = b.deviation > kHalfPixel;
    if (aStrays != bStrays) return aStrays;
    return aStrays ? a.deviation > b.deviation : a.length > b.length;
}

}  // namespace

ChosenPoints ChooseCentreLinePoints(const std::vector<PicturePoint>& line, int count) {
    if (line.size() <= static_cast<std::size_t>(std::max(count, 2))) return {line, 0};
    std::vector<double> along(line.size(), 0.0);
    for (std::size_t i = 1; i < line.size(); ++i) {
        along[i] = along[i - 1] + std::hypot(line[i].x - line[i - 1].x, line[i].y - line[i - 1].y);
    }
    std::vector<Span> spans{SpanOf(line, along, 0, line.size() - 1)};
    for (int kept = 2; kept < count; ++kept) {
        auto next = std::min_element(spans.begin(), spans.end(), SplitsBefore);
        if (!Splittable(*next)) break;  // every point of the line is kept
        const Span split = *next;
        const std::size_t at = SplitPoint(split, along);
        *next = SpanOf(line, along, split.first, at);
        spans.push_back(SpanOf(line, along, at, split.last));
    }
    std::sort(spans.begin(), spans.end(),
              [](const Span& a, const Span& b) { return a.first < b.first; });
    ChosenPoints chosen;
    for (const Span& span : spans) {
        chosen.points.push_back(line[span.first]);
        chosen.largestDeviation = std::max(chosen.largestDeviation, span.deviation);
    }
    chosen.points.push_back(line.back());
    return chosen;
}

}  // namespace kx::core
