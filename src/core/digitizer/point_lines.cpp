#include "core/digitizer/point_lines.h"

#include "core/data/text_chars.h"

namespace kx::core {
namespace {

bool IsPointLine(std::string_view line) {
    return line.find(',') != std::string_view::npos;
}

// Where point `point` starts in the text and how far its line reaches,
// CR LF included; npos when there is no such point.
std::pair<std::size_t, std::size_t> PointSpan(std::string_view text, int point) {
    std::size_t start = 0;
    int seen = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        const std::size_t lineEnd = end == std::string_view::npos ? text.size() : end;
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 2;
        if (IsPointLine(text.substr(start, lineEnd - start))) {
            if (seen == point) return {start, next - start};
            ++seen;
        }
        start = next;
    }
    return {std::string_view::npos, 0};
}

}  // namespace

std::vector<std::string_view> PointLines(std::string_view pointText) {
    std::vector<std::string_view> points;
    for (std::string_view line : SplitCrLfLines(pointText)) {
        if (IsPointLine(line)) points.push_back(line);
    }
    return points;
}

std::string WithoutPoint(std::string_view pointText, int point) {
    std::string text(pointText);
    const auto [start, length] = PointSpan(pointText, point);
    if (start != std::string_view::npos) text.erase(start, length);
    return text;
}

std::string WithPointReplaced(std::string_view pointText, int point, std::string_view record) {
    std::string text(pointText);
    const auto [start, length] = PointSpan(pointText, point);
    if (start == std::string_view::npos) return text;
    const bool crLf = text.compare(start + length - std::min<std::size_t>(length, 2),
                                   std::min<std::size_t>(length, 2), "\r\n") == 0;
    text.replace(start, length - (crLf ? 2 : 0), record);
    return text;
}

}  // namespace kx::core
