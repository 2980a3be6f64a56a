#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/data/data_set.h"
#include "core/digitizer/axis_calibration.h"

// The marks of the captured points: for every point of every line the canvas
// position it was captured at. They are held beside the point texts, not in
// the picture, and follow the texts: an edited or typed point has no
// captured position and is marked where its values lie under the
// calibration, a deleted point loses its mark.
namespace kx::core {

struct MarkedPoint {
    std::string record;  // the point's text line, "X,Y"
    bool captured = false;
    double x = 0;  // canvas position of the capture
    double y = 0;
    bool operator==(const MarkedPoint&) const = default;
};
using LineMarks = std::vector<MarkedPoint>;  // one per point of the line, in text order

struct MarkPosition {
    int line = 0;   // 1..10
    int point = 0;  // 0.. in the line's text
    double x = 0;
    double y = 0;
};

class CaptureMarks {
public:
    // The point just appended to `line` as `record` was captured at (x, y).
    void Record(int line, std::string_view record, double x, double y);
    // Lines up the marks of `line` with its point text: a point keeps the
    // position of the first not yet used mark with its record further on in
    // the order; the other marks go.
    void Follow(int line, std::string_view pointText);
    const LineMarks& Of(int line) const { return lines_[static_cast<std::size_t>(line)]; }
    void Replace(int line, LineMarks marks) {
        lines_[static_cast<std::size_t>(line)] = std::move(marks);
    }
    void Clear();

private:
    std::array<LineMarks, kMaxLines + 1> lines_{};
};

// Where every point of the ten lines is marked, after following their texts:
// its captured position, otherwise (with `usable` calibration) the position
// of its values; a point with neither has no mark.
std::vector<MarkPosition> MarkPositions(CaptureMarks& marks, const DataSet& data,
                                        const AxisCalibration& cal, bool usable);

}  // namespace kx::core
