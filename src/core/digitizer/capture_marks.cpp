#include "core/digitizer/capture_marks.h"

#include "core/data/numeric_text.h"
#include "core/data/text_chars.h"
#include "core/digitizer/axis_inverse.h"
#include "core/digitizer/point_lines.h"

namespace kx::core {

void CaptureMarks::Record(int line, std::string_view record, double x, double y) {
    lines_[static_cast<std::size_t>(line)].push_back({std::string(record), true, x, y});
}

void CaptureMarks::Follow(int line, std::string_view pointText) {
    LineMarks& old = lines_[static_cast<std::size_t>(line)];
    LineMarks next;
    std::size_t from = 0;
    for (std::string_view record : PointLines(pointText)) {
        MarkedPoint point{std::string(record), false, 0, 0};
        for (std::size_t k = from; k < old.size(); ++k) {
            if (old[k].captured && old[k].record == record) {
                point = old[k];
                from = k + 1;
                break;
            }
        }
        next.push_back(std::move(point));
    }
    old = std::move(next);
}

void CaptureMarks::Clear() {
    for (LineMarks& line : lines_) line.clear();
}

std::vector<MarkPosition> MarkPositions(CaptureMarks& marks, const DataSet& data,
                                        const AxisCalibration& cal, bool usable) {
    std::vector<MarkPosition> positions;
    for (int line = 1; line <= kMaxLines; ++line) {
        marks.Follow(line, data.pointText[static_cast<std::size_t>(line)]);
        const LineMarks& points = marks.Of(line);
        for (std::size_t k = 0; k < points.size(); ++k) {
            const MarkedPoint& point = points[k];
            const int index = static_cast<int>(k);
            if (point.captured) {
                positions.push_back({line, index, point.x, point.y});
                continue;
            }
            if (!usable) continue;
            const std::size_t comma = point.record.find(',');
            const std::string x = Trimmed(point.record.substr(0, comma));
            const std::string y = Trimmed(point.record.substr(comma + 1));
            if (!IsNumericText(x) || !IsNumericText(y) || x.empty() || y.empty()) continue;
            if (const auto at = ValueToCanvas(cal, ValueOfText(x), ValueOfText(y))) {
                positions.push_back({line, index, at->x, at->y});
            }
        }
    }
    return positions;
}

}  // namespace kx::core
