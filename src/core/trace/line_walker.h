#pragma once

#include <optional>
#include <vector>

#include "core/trace/line_colour.h"
#include "core/trace/rgb_image.h"

// Walking along a line of one colour, a step at a time: ahead of the last
// centre the line is cut across, and the centre of its ink there (weighted by
// each sample's share of ink) is the next point. Where the cut finds more ink
// than the line holds (another curve crossing, a grid line of the same
// colour, a marker) the walk keeps its direction until the line is alone
// again; where it finds none (a dash ends, a grid line is drawn over the
// curve) it looks farther ahead in a narrow cone. A long straight stretch
// along a row or a column that the line turned onto is a grid line or the
// frame: the walk ends before it.
namespace kx::core {

// A cut across the line.
struct Section {
    bool found = false;   // ink near the cut's middle
    bool open = false;    // the ink runs to the end of the cut: no line's width
    double offset = 0;    // of the ink's centre from the middle, along the normal
    double inkWidth = 0;  // the ink's width, summed over its shares
};

struct WalkResult {
    std::vector<PicturePoint> points;  // the centres passed, the start not included
    bool closed = false;               // the walk came back to its start
};

class LineWalker {
public:
    LineWalker(const RgbImage& image, const InkModel& ink);

    // The line's width sets the step, the cuts and the gaps bridged.
    void SetLineWidth(double width);

    double PixelWeight(int x, int y) const;
    // The weight between pixel centres, interpolated.
    double WeightAt(double x, double y) const;
    // The cut through `centre` along the unit `normal`, `halfSpan` to either
    // side; ink counts only when it comes within `within` of the middle.
    Section Across(PicturePoint centre, PicturePoint normal, double halfSpan, double within) const;
    // Every stretch of ink of that cut within `within` of its middle, nearest first.
    std::vector<Section> Sections(PicturePoint centre, PicturePoint normal, double halfSpan,
                                  double within) const;

    WalkResult Walk(PicturePoint start, PicturePoint direction) const;
    // A line does not end in a lone centre or two beyond a jump (a speck of
    // noise or of another line met past the curve's end): they are given up.
    void DropLoneEnds(std::vector<PicturePoint>& line) const;

private:
    struct StraightStretch {
        bool rows = true;     // along a row (else a column)
        double at = 0;        // its row or column
        PicturePoint course;  // of the curve into it
    };
    struct Walking;
    struct Landing {
        PicturePoint centre;
        double off = 0;  // from the course
    };
    std::optional<Landing> LandingAt(const Walking& walk, double gap) const;
    bool Inside(PicturePoint p) const;
    bool Step(Walking& walk) const;
    bool Bridge(Walking& walk) const;
    PicturePoint CourseOf(const Walking& walk, double length) const;
    PicturePoint SteadyDirection(const Walking& walk) const;
    double LeaveStrokeEnd(Walking& walk) const;
    bool PastStraightLine(Walking& walk) const;
    void DropLoneEnd(std::vector<PicturePoint>& points) const;
    void Record(Walking& walk, PicturePoint centre) const;
    bool TurnedOntoStraightLine(Walking& walk) const;
    bool OnPassedLine(const Walking& walk, PicturePoint p) const;
    static std::size_t ClearOf(const std::vector<PicturePoint>& points, bool rows,
                               std::size_t first, double middle, double clearance);
    bool GoesOnBehind(const std::vector<PicturePoint>& points, bool rows, std::size_t first,
                      double middle) const;
    void CutBefore(Walking& walk, bool rows, std::size_t first, double middle) const;
    static std::size_t StraightTail(const std::vector<PicturePoint>& points, bool rows,
                                    double& middle);
    bool OnAxisLine(PicturePoint p, PicturePoint direction) const;
    bool StraightAlong(PicturePoint p, bool rows) const;
    bool RunsAlong(PicturePoint p, PicturePoint direction) const;

    const RgbImage& image_;
    const InkModel& ink_;
    double width_ = 1;
    double step_ = 1;
    double halfSpan_ = 4;
    double within_ = 1.5;
    double widest_ = 2;         // ink beyond this is more than the line
    double longestGap_ = 20;    // bridged
    double longestCross_ = 40;  // walked straight through
    double straightRun_ = 60;   // along a row or column, taken for a grid line
    double axisLine_ = 30;      // ink along a row or column, a grid line met
    double courseLength_ = 14;  // the stretch the line's course is taken over
};

}  // namespace kx::core
