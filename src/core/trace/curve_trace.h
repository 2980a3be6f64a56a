#pragma once

#include <cstdint>
#include <vector>

#include "core/trace/line_colour.h"
#include "core/trace/rgb_image.h"

// Following a curve on a picture from one seed: its colour is taken near the
// seed, the line is walked in both directions across crossings, markers and
// gaps, and its centre line is returned to a fraction of a pixel, together
// with the points a data line takes of it.
namespace kx::core {

inline constexpr int kDefaultTracePoints = 40;
inline constexpr int kMostTracePoints = 100;  // a data line's limit
inline constexpr double kDefaultTraceTolerance = 30;

struct TraceSettings {
    int pointCount = kDefaultTracePoints;       // 2..100
    double tolerance = kDefaultTraceTolerance;  // colour difference (CIE76) a pixel may have
};

enum class TraceFault : int8_t {
    kNone = 0,
    kSeedOutside,          // the seed lies outside the picture
    kNoLine,               // nothing but paper near the seed
    kToleranceTakesPaper,  // the tolerance takes the paper for the line
    kNotALine,             // ink without the shape of a line (a filled area, a blot)
    kStraightLine,         // an axis-parallel straight line: a grid line, the frame, a tick
    kTooShort,             // too short for a curve: text, a marker, a legend's sample
};

struct TraceResult {
    TraceFault fault = TraceFault::kNone;
    // The centre line, dense, from its left end to its right end.
    std::vector<PicturePoint> centreLine;
    // The points for the data line: both ends, denser where the curve bends.
    std::vector<PicturePoint> points;
    // How far the polyline through the points strays from the centre line.
    double largestDeviation = 0;
    double lineWidth = 0;  // across the line, in pixels
    RgbTriple ink{};       // the line's colour as sampled

    bool ok() const { return fault == TraceFault::kNone; }
};

TraceResult TraceCurve(const RgbImage& image, PicturePoint seed, const TraceSettings& settings);

}  // namespace kx::core
