#include "core/trace/line_walker.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>

namespace kx::core {
namespace {

constexpr double kSampleSpacing = 0.5;
// Samples of at least this share make up the ink of a cut; the fainter
// samples at its edges count towards its centre.
constexpr double kCoreShare = 0.25;

PicturePoint Plus(PicturePoint p, PicturePoint d, double scale) {
    return {p.x + scale * d.x, p.y + scale * d.y};
}

PicturePoint NormalOf(PicturePoint d) {
    return {-d.y, d.x};
}

PicturePoint Unit(PicturePoint d) {
    const double length = std::hypot(d.x, d.y);
    return length > 0 ? PicturePoint{d.x / length, d.y / length} : d;
}

// A stretch of samples of a cut, [first, last].
struct Run {
    int first = 0, last = 0;
};

// The runs of core samples of a cut, nearest the middle sample first.
std::vector<Run> RunsByDistance(const std::vector<double>& v, int middle) {
    std::vector<std::pair<int, Run>> runs;
    const int n = static_cast<int>(v.size());
    for (int i = 0; i < n;) {
        if (v[static_cast<std::size_t>(i)] < kCoreShare) {
            ++i;
            continue;
        }
        Run run{i, i};
        while (run.last + 1 < n && v[static_cast<std::size_t>(run.last + 1)] >= kCoreShare) {
            ++run.last;
        }
        runs.push_back({std::max({0, run.first - middle, middle - run.last}), run});
        i = run.last + 1;
    }
    std::stable_sort(runs.begin(), runs.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<Run> sorted;
    for (const auto& [gap, run] : runs) sorted.push_back(run);
    return sorted;
}

// The cut's section of one run: its faint edges belong to it as far as they
// fall off.
Section SectionOf(const std::vector<double>& v, Run core, int middle) {
    Run run = core;
    const auto at = [&v](int i) { return v[static_cast<std::size_t>(i)]; };
    while (run.first > 0 && at(run.first - 1) > 0 && at(run.first - 1) <= at(run.first)) {
        --run.first;
    }
    const int last = static_cast<int>(v.size()) - 1;
    while (run.last < last && at(run.last + 1) > 0 && at(run.last + 1) <= at(run.last)) {
        ++run.last;
    }
    double sum = 0, moment = 0;
    for (int i = run.first; i <= run.last; ++i) {
        sum += at(i);
        moment += at(i) * (i - middle) * kSampleSpacing;
    }
    Section section;
    section.found = true;
    section.open = core.first == 0 || core.last == last;
    section.offset = moment / sum;
    section.inkWidth = sum * kSampleSpacing;
    return section;
}

}  // namespace

struct LineWalker::Walking {
    PicturePoint start;
    PicturePoint position;
    PicturePoint direction;
    WalkResult result;
    double crossed = 0;           // walked straight through more ink than the line's
    std::size_t resumedAt = 0;    // points when last resumed past a straight line
    std::size_t strokeFirst = 0;  // the first point of the stroke last reached
    // The straight line the walk was last cut back from, to be passed by.
    std::optional<StraightStretch> passing;
};

LineWalker::LineWalker(const RgbImage& image, const InkModel& ink) : image_(image), ink_(ink) {}

void LineWalker::SetLineWidth(double width) {
    width_ = std::max(width, 0.5);
    step_ = std::clamp(0.75 * width_, 1.0, 3.0);
    halfSpan_ = 1.5 * width_ + 3;
    within_ = std::max(1.5, 0.5 * width_);
    widest_ = 1.35 * width_ + 0.75;
    longestGap_ = 4 * width_ + 16;
    longestCross_ = 8 * width_ + 30;
    straightRun_ = std::max(60.0, 12 * width_);
    axisLine_ = std::max(30.0, 8 * width_);
    courseLength_ = 3 * width_ + 6;
}

double LineWalker::PixelWeight(int x, int y) const {
    return image_.Contains(x, y) ? ink_.Weight(image_.At(x, y)) : 0.0;
}

double LineWalker::WeightAt(double x, double y) const {
    const double fx = std::floor(x), fy = std::floor(y);
    const int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
    const double ax = x - fx, ay = y - fy;
    const double top = (1 - ax) * PixelWeight(x0, y0) + ax * PixelWeight(x0 + 1, y0);
    const double bottom = (1 - ax) * PixelWeight(x0, y0 + 1) + ax * PixelWeight(x0 + 1, y0 + 1);
    return (1 - ay) * top + ay * bottom;
}

std::vector<Section> LineWalker::Sections(PicturePoint centre, PicturePoint normal,
                                          double halfSpan, double within) const {
    const int reach = static_cast<int>(std::ceil(halfSpan / kSampleSpacing));
    std::vector<double> v(static_cast<std::size_t>(2 * reach + 1));
    for (int k = -reach; k <= reach; ++k) {
        const PicturePoint p = Plus(centre, normal, k * kSampleSpacing);
        v[static_cast<std::size_t>(k + reach)] = WeightAt(p.x, p.y);
    }
    std::vector<Section> sections;
    for (const Run& run : RunsByDistance(v, reach)) {
        const int gap = std::max({0, run.first - reach, reach - run.last});
        if (gap * kSampleSpacing > within) break;
        sections.push_back(SectionOf(v, run, reach));
    }
    return sections;
}

Section LineWalker::Across(PicturePoint centre, PicturePoint normal, double halfSpan,
                           double within) const {
    const std::vector<Section> sections = Sections(centre, normal, halfSpan, within);
    return sections.empty() ? Section{} : sections.front();
}

bool LineWalker::Inside(PicturePoint p) const {
    return p.x >= 1 && p.y >= 1 && p.x <= image_.width - 2 && p.y <= image_.height - 2;
}

void LineWalker::Record(Walking& walk, PicturePoint centre) const {
    std::vector<PicturePoint>& points = walk.result.points;
    if (walk.crossed > 0) walk.strokeFirst = points.size();
    points.push_back(centre);
    // The direction over the last few steps, steadier than the last one alone.
    constexpr std::size_t kBack = 3;
    const PicturePoint anchor =
        points.size() > kBack ? points[points.size() - 1 - kBack] : walk.start;
    const PicturePoint chord{centre.x - anchor.x, centre.y - anchor.y};
    if (std::hypot(chord.x, chord.y) > 0.5 * step_) walk.direction = Unit(chord);
    walk.position = centre;
    walk.crossed = 0;
}

// One step ahead; false when the walk ends.
bool LineWalker::Step(Walking& walk) const {
    const PicturePoint ahead = Plus(walk.position, walk.direction, step_);
    if (!Inside(ahead)) return false;
    const PicturePoint normal = NormalOf(walk.direction);
    // Through a crossing the line may have curved away from the straight
    // course; the farther it went, the farther it may lie.
    const double within = within_ + 0.15 * walk.crossed;
    const Section section = Across(ahead, normal, halfSpan_ + 0.15 * walk.crossed, within);
    if (section.found && !section.open && section.inkWidth <= widest_) {
        const PicturePoint centre = Plus(ahead, normal, section.offset);
        // Ink of a grid line crossed is no centre of the curve, also where
        // their colours are alike.
        if (!OnAxisLine(centre, walk.direction)) {
            Record(walk, centre);
            return true;
        }
    }
    if (section.found) {
        // Straight through, on the course the line held before the crossing.
        if (walk.crossed == 0) walk.direction = SteadyDirection(walk);
        walk.position = Plus(walk.position, walk.direction, step_);
        walk.crossed += step_;
        return walk.crossed <= longestCross_;
    }
    return Bridge(walk);
}

// The line's course over its last `length` pixels, steadier than the last
// few steps, which the end of a dash or a crossing may bend.
PicturePoint LineWalker::CourseOf(const Walking& walk, double length) const {
    const std::vector<PicturePoint>& points = walk.result.points;
    if (points.empty()) return walk.direction;
    PicturePoint anchor = walk.start;
    double walked = 0;
    for (std::size_t i = points.size() - 1; i > 0; --i) {
        walked += std::hypot(points[i].x - points[i - 1].x, points[i].y - points[i - 1].y);
        if (walked >= length) {
            anchor = points[i - 1];
            break;
        }
    }
    const PicturePoint chord{points.back().x - anchor.x, points.back().y - anchor.y};
    return std::hypot(chord.x, chord.y) > step_ ? Unit(chord) : walk.direction;
}

// The direction to go on in where the line's ink runs out or grows: that of
// the last steps, unless the end of the stroke bent it off the line's course.
PicturePoint LineWalker::SteadyDirection(const Walking& walk) const {
    constexpr double kBent = 0.966;  // cos 15 degrees
    const PicturePoint recent = CourseOf(walk, 3 * step_);
    const PicturePoint course = CourseOf(walk, courseLength_);
    return recent.x * course.x + recent.y * course.y < kBent ? course : recent;
}

// Where the ink ahead runs out, the last centres lie in the end of the
// stroke (its cap), where a cut across finds the ink's end rather than its
// middle: they are given up, and the gap is looked across along the course
// the line held before them.
// Returns how far ahead of the new position the ink ended.
double LineWalker::LeaveStrokeEnd(Walking& walk) const {
    std::vector<PicturePoint>& points = walk.result.points;
    if (walk.crossed > 0 || points.size() < 8) return 0;
    const PicturePoint end = points.back();
    const double cap = std::max(1.0, 0.5 * width_);
    while (points.size() > std::max<std::size_t>(4, walk.strokeFirst + 2) &&
           std::hypot(points.back().x - end.x, points.back().y - end.y) < cap) {
        points.pop_back();
    }
    walk.position = points.back();
    walk.direction = SteadyDirection(walk);
    return std::max(0.0, (end.x - walk.position.x) * walk.direction.x +
                             (end.y - walk.position.y) * walk.direction.y);
}

// The nearest stretch of the line across the cut `gap` ahead, within a cone,
// and how far off the course it lies.
std::optional<LineWalker::Landing> LineWalker::LandingAt(const Walking& walk, double gap) const {
    const PicturePoint normal = NormalOf(walk.direction);
    const PicturePoint ahead = Plus(walk.position, walk.direction, gap);
    const double cone = 0.3 * gap;
    // The nearest stretch may be a grid line the curve runs into; the
    // curve may lie beside it.
    for (const Section& section : Sections(ahead, normal, halfSpan_ + cone, within_ + cone)) {
        if (section.open || section.inkWidth > widest_) continue;
        const PicturePoint centre = Plus(ahead, normal, section.offset);
        if (OnAxisLine(centre, walk.direction) || OnPassedLine(walk, centre) ||
            !RunsAlong(Plus(centre, walk.direction, 0.5 * width_ + 0.5), walk.direction)) {
            continue;
        }
        return Landing{centre, std::abs(section.offset)};
    }
    return std::nullopt;
}

// Across a gap in the line: the nearest stretch of it ahead, within a cone.
// Ink found well off the course (a grid line the curve met at a shallow
// angle, seen through the gap before the next dash) gives way to ink on the
// course a little farther on.
bool LineWalker::Bridge(Walking& walk) const {
    const double behind = LeaveStrokeEnd(walk);
    const double onCourse = std::max(2.0, width_);
    std::optional<Landing> found;
    double lookTo = behind + longestGap_ + walk.crossed;
    for (double gap = behind + 2 * step_; gap <= lookTo; gap += step_) {
        if (!Inside(Plus(walk.position, walk.direction, gap))) break;
        const std::optional<Landing> landing = LandingAt(walk, gap);
        if (!landing) continue;
        if (!found || landing->off <= onCourse) found = landing;
        if (found->off <= onCourse) break;
        lookTo = std::min(lookTo, gap + 2 * width_ + step_);
    }
    if (!found) return false;
    walk.strokeFirst = walk.result.points.size();
    walk.passing.reset();
    Record(walk, found->centre);
    return true;
}

// Whether the line at `p` runs roughly in `direction`: the cut across it is
// narrowest within 25 degrees of the cut across the direction. A tick mark or
// a glyph met beyond a gap runs another way.
bool LineWalker::RunsAlong(PicturePoint p, PicturePoint direction) const {
    constexpr int kDirections = 12;
    constexpr double kPi = 3.14159265358979323846;
    double narrowest = 1e300;
    PicturePoint along = direction;
    for (int k = 0; k < kDirections; ++k) {
        const double angle = kPi * k / kDirections;
        const PicturePoint normal{std::cos(angle), std::sin(angle)};
        const Section section = Across(p, normal, halfSpan_, within_);
        if (!section.found || section.open || section.inkWidth >= narrowest) continue;
        narrowest = section.inkWidth;
        along = NormalOf(normal);
    }
    return std::abs(along.x * direction.x + along.y * direction.y) >= 0.9;
}

// Whether ink at `p` belongs to a long straight line along a row or a column
// that a walk in `direction` would cross, not follow: a grid line, the frame.
// The line's centre must stay on one row (or column) all along, which a curve
// passing through its flat top does not.
bool LineWalker::OnAxisLine(PicturePoint p, PicturePoint direction) const {
    constexpr double kAcross = 0.2;  // sin 12 degrees
    if (std::abs(direction.y) > kAcross && StraightAlong(p, true)) return true;
    return std::abs(direction.x) > kAcross && StraightAlong(p, false);
}

bool LineWalker::StraightAlong(PicturePoint p, bool rows) const {
    constexpr int kReach = 2;
    const int x = static_cast<int>(std::lround(p.x));
    const int y = static_cast<int>(std::lround(p.y));
    const int half = static_cast<int>(axisLine_ / 2);
    std::vector<double> centres;
    for (const int side : {-1, 1}) {
        for (int k = side < 0 ? 0 : 1; k <= half; ++k) {
            double sum = 0, moment = 0;
            for (int d = -kReach; d <= kReach; ++d) {
                const double w =
                    rows ? PixelWeight(x + side * k, y + d) : PixelWeight(x + d, y + side * k);
                sum += w;
                moment += w * d;
            }
            if (sum < kCoreShare) break;
            centres.push_back(moment / sum);
        }
    }
    if (static_cast<double>(centres.size()) < axisLine_) return false;
    std::vector<double> sorted(centres);
    std::nth_element(sorted.begin(),
                     sorted.begin() + static_cast<std::ptrdiff_t>(sorted.size() / 2),
                     sorted.end());
    const double median = sorted[sorted.size() / 2];
    const auto onIt = std::count_if(centres.begin(), centres.end(),
                                    [median](double c) { return std::abs(c - median) <= 0.6; });
    return static_cast<double>(onIt) >= 0.8 * static_cast<double>(centres.size());
}

// Whether ink at `p` lies on the straight line the walk was cut back from.
bool LineWalker::OnPassedLine(const Walking& walk, PicturePoint p) const {
    if (!walk.passing) return false;
    const double across = walk.passing->rows ? p.y : p.x;
    return std::abs(across - walk.passing->at) <= std::max(1.5, width_);
}

// The index past the last of the points before points[first] that lay more
// than `clearance` off the straight line along a row (or a column) at `middle`.
std::size_t LineWalker::ClearOf(const std::vector<PicturePoint>& points, bool rows,
                                std::size_t first, double middle, double clearance) {
    std::size_t clear = first;
    while (clear > 0 &&
           std::abs((rows ? points[clear - 1].y : points[clear - 1].x) - middle) <= clearance) {
        --clear;
    }
    return clear;
}

// Whether the straight ink that points[first] on begin to follow along a row
// (or a column) at `middle` goes on behind them too, as a grid line or the
// frame does; the flat top of a curve does not. It is looked for behind where
// the walk last lay clear of it: a curve that runs into it at a shallow angle
// lies beside it before, and its ink would blur the look.
bool LineWalker::GoesOnBehind(const std::vector<PicturePoint>& points, bool rows,
                              std::size_t first, double middle) const {
    const auto along = [rows](const PicturePoint& p) { return rows ? p.x : p.y; };
    const double back = along(points.back()) > along(points[first]) ? -1 : 1;
    // Clear of it by more than the line's own width and the look's reach.
    const std::size_t clear = ClearOf(points, rows, first, middle, 2 * std::max(3.0, width_));
    const double from = along(points[clear > 0 ? clear - 1 : 0]);
    const double entry = along(points[first]);
    const double past = back > 0 ? std::max(from, entry) : std::min(from, entry);
    // Two looks, one after the other: a label or a crossing line may blur one.
    for (const double reach : {0.5, 1.5}) {
        const double behind = past + back * reach * axisLine_;
        if (StraightAlong(rows ? PicturePoint{behind, middle} : PicturePoint{middle, behind},
                          rows)) {
            return true;
        }
    }
    return false;
}

// The points cut before points[first], where the walk met a straight line
// along a row (or a column) at `middle`, with the curve's course into it: from
// where it last lay clear of it to where it met it.
void LineWalker::CutBefore(Walking& walk, bool rows, std::size_t first, double middle) const {
    std::vector<PicturePoint>& points = walk.result.points;
    const std::size_t clear = ClearOf(points, rows, first, middle, std::max(3.0, width_));
    points.resize(first);
    const PicturePoint from = clear > 0 ? points[clear - 1] : walk.start;
    const PicturePoint to = points.empty() ? walk.start : points.back();
    const PicturePoint chord{to.x - from.x, to.y - from.y};
    walk.passing = StraightStretch{
        rows, middle, std::hypot(chord.x, chord.y) > step_ ? Unit(chord) : SteadyDirection(walk)};
}

// The first of the last points that keep within a narrow band of one row (or
// column), and the band's middle.
std::size_t LineWalker::StraightTail(const std::vector<PicturePoint>& points, bool rows,
                                     double& middle) {
    constexpr double kBand = 0.6;
    const auto across = [rows](const PicturePoint& p) { return rows ? p.y : p.x; };
    std::size_t first = points.size() - 1;
    double lo = across(points[first]), hi = lo;
    while (first > 0) {
        const double c = across(points[first - 1]);
        if (std::max(hi, c) - std::min(lo, c) > kBand) break;
        lo = std::min(lo, c);
        hi = std::max(hi, c);
        --first;
    }
    middle = (lo + hi) / 2;
    return first;
}

// Whether the points end in a straight stretch along a row or a column that
// the line turned onto from a course of its own; if so they are cut before it.
bool LineWalker::TurnedOntoStraightLine(Walking& walk) const {
    std::vector<PicturePoint>& points = walk.result.points;
    const double priorDeviation = std::max(3.0, width_);
    for (const bool rows : {true, false}) {
        const auto across = [rows](const PicturePoint& p) { return rows ? p.y : p.x; };
        const auto along = [rows](const PicturePoint& p) { return rows ? p.x : p.y; };
        double middle = 0;
        const std::size_t first = StraightTail(points, rows, middle);
        if (std::abs(along(points.back()) - along(points[first])) < straightRun_) continue;
        // A curve that flattens into the stretch stays near it before it.
        if (!GoesOnBehind(points, rows, first, middle)) continue;
        bool turned = false;
        for (std::size_t i = first; i-- > 0;) {
            if (std::abs(along(points[i]) - along(points[first])) > 2 * straightRun_) break;
            if (std::abs(across(points[i]) - middle) > priorDeviation) turned = true;
        }
        if (turned) {
            CutBefore(walk, rows, first, middle);
            return true;
        }
    }
    return false;
}

// Back at the last centre before a straight line the walk turned onto,
// along the line's course before it: on to the curve's ink beyond.
bool LineWalker::PastStraightLine(Walking& walk) const {
    // Once past each: a walk cut back to where it was last resumed went nowhere.
    if (walk.result.points.size() <= walk.resumedAt) return false;
    // A walk that met the straight line right after its start (from a glyph,
    // a tick) is no curve going on beyond it.
    const PicturePoint& last = walk.result.points.back();
    if (std::hypot(last.x - walk.start.x, last.y - walk.start.y) < straightRun_) return false;
    walk.resumedAt = walk.result.points.size();
    walk.position = walk.result.points.back();
    // Where the curve meets the line at a shallow angle the two are one for a
    // while: the bridge reaches as far as a crossing is walked.
    walk.crossed = longestCross_ - longestGap_;
    walk.direction = walk.passing->course;
    const bool past = Bridge(walk);
    walk.crossed = 0;
    return past;
}

WalkResult LineWalker::Walk(PicturePoint start, PicturePoint direction) const {
    Walking walk{start, start, Unit(direction), {}, 0, 0, 0, std::nullopt};
    const double budget = 4.0 * (image_.width + image_.height) / step_;
    for (double steps = 0; steps < budget; ++steps) {
        const std::size_t before = walk.result.points.size();
        if (!Step(walk)) break;
        std::vector<PicturePoint>& points = walk.result.points;
        if (points.size() == before || points.size() % 4 != 0) continue;
        // A grid line or the frame the walk slid onto along a dash (or a
        // stretch of the curve) that lies on it: the curve goes on beyond it.
        if (TurnedOntoStraightLine(walk) && !PastStraightLine(walk)) break;
        if (points.size() > 20 &&
            std::hypot(points.back().x - start.x, points.back().y - start.y) < step_) {
            walk.result.closed = true;
            break;
        }
    }
    return walk.result;
}

void LineWalker::DropLoneEnds(std::vector<PicturePoint>& line) const {
    DropLoneEnd(line);
    std::reverse(line.begin(), line.end());
    DropLoneEnd(line);
    std::reverse(line.begin(), line.end());
}

void LineWalker::DropLoneEnd(std::vector<PicturePoint>& points) const {
    const double jump = std::max(2 * step_ + 1, 3 * width_ + 2);  // wider than a dash's gap
    std::size_t tail = points.size();
    double length = 0;
    while (tail > 1 && length < courseLength_) {
        const double d = std::hypot(points[tail - 1].x - points[tail - 2].x,
                                    points[tail - 1].y - points[tail - 2].y);
        if (d > jump) {
            points.resize(tail - 1);
            return;
        }
        length += d;
        --tail;
    }
}

}  // namespace kx::core
