#include "core/trace/curve_trace.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/trace/centre_line_points.h"
#include "core/trace/line_walker.h"

namespace kx::core {
namespace {

// Less than this colour difference from the paper is paper (scanner noise,
// the faint shade of a JPEG block).
constexpr double kLeastContrast = 12;
// How far from the seed the line may lie: a click is rarely farther off.
constexpr int kSeedReach = 5;
// Wider than this, ink is an area, not a line.
constexpr double kWidestLine = 25;
constexpr double kPi = 3.14159265358979323846;

// The pixels to start from, best first: strongly inked ones near the seed,
// so that a click beside a dash or at its end starts inside it.
std::vector<PicturePoint> StartCandidates(const LineWalker& walker, PicturePoint seed) {
    const int sx = static_cast<int>(std::lround(seed.x));
    const int sy = static_cast<int>(std::lround(seed.y));
    std::vector<std::pair<double, PicturePoint>> scored;
    for (int v = sy - kSeedReach; v <= sy + kSeedReach; ++v) {
        for (int u = sx - kSeedReach; u <= sx + kSeedReach; ++u) {
            const double weight = walker.PixelWeight(u, v);
            if (weight < 0.5) continue;
            scored.push_back({weight - 0.1 * std::hypot(u - seed.x, v - seed.y),
                              {static_cast<double>(u), static_cast<double>(v)}});
        }
    }
    std::sort(scored.begin(), scored.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<PicturePoint> candidates;
    for (const auto& [score, p] : scored) candidates.push_back(p);
    return candidates;
}

// The line through a pixel: the direction across which it is narrowest, its
// width there and its centre.
struct LineAtSeed {
    PicturePoint centre;
    PicturePoint along;
    double width = 0;
};

std::optional<LineAtSeed> LineThrough(const LineWalker& walker, PicturePoint start) {
    constexpr int kDirections = 24;
    std::optional<LineAtSeed> line;
    for (int k = 0; k < kDirections; ++k) {
        const double angle = kPi * k / kDirections;
        const PicturePoint normal{std::cos(angle), std::sin(angle)};
        const Section section = walker.Across(start, normal, kWidestLine + 4, 1.0);
        if (!section.found || section.open) continue;
        if (line && section.inkWidth >= line->width) continue;
        line =
            LineAtSeed{{start.x + section.offset * normal.x, start.y + section.offset * normal.y},
                       {-normal.y, normal.x},
                       section.inkWidth};
    }
    return line;
}

// The direction of the line through the centre, set by the centres of two
// cuts a few pixels to either side: the narrowest cut at one point is easily
// turned by a grid line or a JPEG block there.
void Straighten(const LineWalker& walker, LineAtSeed& line) {
    constexpr double kReach = 3;
    for (int round = 0; round < 3; ++round) {
        const PicturePoint normal{-line.along.y, line.along.x};
        PicturePoint ends[2];
        for (int side = 0; side < 2; ++side) {
            const double d = side == 0 ? -kReach : kReach;
            const PicturePoint beside{line.centre.x + d * line.along.x,
                                      line.centre.y + d * line.along.y};
            const Section s = walker.Across(beside, normal, line.width + 4, line.width + 2);
            if (!s.found || s.open) return;
            ends[side] = {beside.x + s.offset * normal.x, beside.y + s.offset * normal.y};
        }
        const double dx = ends[1].x - ends[0].x, dy = ends[1].y - ends[0].y;
        const double length = std::hypot(dx, dy);
        if (length < kReach) return;
        line.along = {dx / length, dy / length};
    }
}

// The line at the seed: from the first start whose line is a line of one
// width a little way along it too (a start on a crossing with a grid line has
// no such direction), else from the best start.
std::optional<LineAtSeed> LineNearSeed(const LineWalker& walker,
                                       const std::vector<PicturePoint>& starts) {
    constexpr std::size_t kTried = 12;
    for (std::size_t i = 0; i < std::min(kTried, starts.size()); ++i) {
        const std::optional<LineAtSeed> line = LineThrough(walker, starts[i]);
        if (!line) continue;
        const PicturePoint normal{-line->along.y, line->along.x};
        bool steady = true;
        for (const double side : {-2.0, 2.0}) {
            const PicturePoint beside{line->centre.x + side * line->along.x,
                                      line->centre.y + side * line->along.y};
            const Section s = walker.Across(beside, normal, kWidestLine + 4, 1.0);
            steady = steady && s.found && !s.open && s.inkWidth <= 1.3 * line->width + 0.5;
        }
        if (steady) return line;
    }
    return LineThrough(walker, starts.front());
}

std::optional<LineAtSeed> StraightenedLineNearSeed(const LineWalker& walker,
                                                   const std::vector<PicturePoint>& starts) {
    std::optional<LineAtSeed> line = LineNearSeed(walker, starts);
    if (line) Straighten(walker, *line);
    return line;
}

// The centre line within a band of `band` pixels of one row or one column
// over its whole length.
bool AxisParallelStraight(const std::vector<PicturePoint>& line, double band) {
    auto spread = [&line](double PicturePoint::*coordinate) {
        const auto [lo, hi] = std::minmax_element(
            line.begin(), line.end(), [coordinate](const PicturePoint& a, const PicturePoint& b) {
                return a.*coordinate < b.*coordinate;
            });
        return (*hi).*coordinate - (*lo).*coordinate;
    };
    return spread(&PicturePoint::y) <= band || spread(&PicturePoint::x) <= band;
}

double Extent(const std::vector<PicturePoint>& line) {
    double left = line.front().x, right = left, top = line.front().y, bottom = top;
    for (const PicturePoint& p : line) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    return std::hypot(right - left, bottom - top);
}

// Shorter than this, a trace is a glyph of text, a tick mark or a marker.
double ShortestCurve(const RgbImage& image, double width) {
    return std::max({40.0, 12.0 * width, 0.03 * std::min(image.width, image.height)});
}

// Both walks from the seed joined, from the left end to the right end.
std::vector<PicturePoint> WalkBothWays(const LineWalker& walker, const LineAtSeed& seed) {
    const WalkResult forward = walker.Walk(seed.centre, seed.along);
    std::vector<PicturePoint> line;
    if (!forward.closed) {
        const WalkResult backward = walker.Walk(seed.centre, {-seed.along.x, -seed.along.y});
        line.assign(backward.points.rbegin(), backward.points.rend());
    }
    line.push_back(seed.centre);
    line.insert(line.end(), forward.points.begin(), forward.points.end());
    if (line.back().x < line.front().x) std::reverse(line.begin(), line.end());
    return line;
}

// The centre line with the noise of single cuts (a JPEG block edge, a faint
// grid line passed) averaged out over a few steps; the ends stay.
std::vector<PicturePoint> Smoothed(const std::vector<PicturePoint>& line) {
    constexpr int kReach = 2;
    const int n = static_cast<int>(line.size());
    std::vector<PicturePoint> smooth(line);
    for (int i = kReach; i < n - kReach; ++i) {
        double x = 0, y = 0, weights = 0;
        for (int k = -kReach; k <= kReach; ++k) {
            const double w = kReach + 1 - std::abs(k);
            x += w * line[static_cast<std::size_t>(i + k)].x;
            y += w * line[static_cast<std::size_t>(i + k)].y;
            weights += w;
        }
        smooth[static_cast<std::size_t>(i)] = {x / weights, y / weights};
    }
    return smooth;
}

TraceResult Refused(TraceFault fault) {
    TraceResult result;
    result.fault = fault;
    return result;
}

}  // namespace

TraceResult TraceCurve(const RgbImage& image, PicturePoint seed, const TraceSettings& settings) {
    if (!(seed.x > -0.5 && seed.y > -0.5 && seed.x < image.width - 0.5 &&
          seed.y < image.height - 0.5)) {
        return Refused(TraceFault::kSeedOutside);
    }
    const int sx = static_cast<int>(std::lround(seed.x));
    const int sy = static_cast<int>(std::lround(seed.y));
    const RgbTriple paper = PaperAround(image, sx, sy);
    const std::optional<RgbTriple> ink = InkNear(image, seed, paper, kLeastContrast);
    if (!ink) return Refused(TraceFault::kNoLine);
    const InkModel model(paper, *ink, settings.tolerance);
    if (model.contrast() <= settings.tolerance) return Refused(TraceFault::kToleranceTakesPaper);

    LineWalker walker(image, model);
    const std::vector<PicturePoint> starts = StartCandidates(walker, seed);
    if (starts.empty()) return Refused(TraceFault::kNoLine);
    const std::optional<LineAtSeed> line = StraightenedLineNearSeed(walker, starts);
    if (!line || line->width > kWidestLine) return Refused(TraceFault::kNotALine);
    walker.SetLineWidth(line->width);

    TraceResult result;
    result.lineWidth = line->width;
    result.ink = *ink;
    std::vector<PicturePoint> walked = WalkBothWays(walker, *line);
    result.centreLine = Smoothed(walked);
    if (AxisParallelStraight(result.centreLine, 1.0)) result.fault = TraceFault::kStraightLine;
    if (Extent(result.centreLine) < ShortestCurve(image, line->width)) {
        result.fault = TraceFault::kTooShort;
    }
    if (!result.ok()) return result;
    walker.DropLoneEnds(walked);
    result.centreLine = Smoothed(walked);
    const int count = std::clamp(settings.pointCount, 2, kMostTracePoints);
    ChosenPoints chosen = ChooseCentreLinePoints(result.centreLine, count);
    result.points = std::move(chosen.points);
    result.largestDeviation = chosen.largestDeviation;
    return result;
}

}  // namespace kx::core
