#include "core/plot/plot_contents.h"

#include <algorithm>
#include <array>

#include "core/data/numeric_text.h"
#include "core/data/sort_pairs.h"
#include "core/data/text_chars.h"

namespace kx::core {
namespace {

constexpr double kMarkRadiusShare = 0.25;
constexpr double kPrinterMarkWidth = 1.5;
constexpr int kPrinterCurveWidth = 2;

int PreparedLines(const DataSet& data) {
    return std::clamp<int>(data.lineCount, 0, kMaxLines);
}

// The line of rank k, or 0 when the order table does not name one.
int LineOfRank(const DataSet& data, int rank) {
    const int line = data.lineOrder[static_cast<std::size_t>(rank)];
    return line >= 1 && line <= kMaxLines ? line : 0;
}

int PreparedPoints(const DataSet& data, int line) {
    return std::clamp<int>(data.preparedCount[static_cast<std::size_t>(line)], 0, kMaxPoints);
}

// Calls visit(x, y) for the points of a line in point order until it returns true.
template <typename Visit>
void ForEachPoint(const DataSet& data, int line, Visit visit) {
    const auto& xs = data.xText[static_cast<std::size_t>(line)];
    const auto& ys = data.yText[static_cast<std::size_t>(line)];
    for (int j = 1; j <= PreparedPoints(data, line); ++j) {
        const auto point = static_cast<std::size_t>(j);
        if (visit(PreparedValue(xs[point]), PreparedValue(ys[point]))) return;
    }
}

}  // namespace

float PreparedValue(std::string_view text) {
    return AsFloat(ValueOfText(text));
}

void SortPreparedLines(DataSet& data) {
    std::array<float, kMaxPoints + 1> xs{};
    std::array<float, kMaxPoints + 1> ys{};
    for (int line = 1; line <= PreparedLines(data); ++line) {
        auto& xTexts = data.xText[static_cast<std::size_t>(line)];
        auto& yTexts = data.yText[static_cast<std::size_t>(line)];
        const int count = PreparedPoints(data, line);
        if (count == 0) continue;
        for (std::size_t j = 1; j <= static_cast<std::size_t>(count); ++j) {
            xs[j] = PreparedValue(xTexts[j]);
            ys[j] = PreparedValue(yTexts[j]);
        }
        SortPairs(xs, ys, count);
        for (std::size_t j = 1; j <= static_cast<std::size_t>(count); ++j) {
            xTexts[j] = SingleToText(xs[j]);
            yTexts[j] = SingleToText(ys[j]);
        }
    }
}

void DrawDataMarks(const DataSet& data, const PlotFrame& frame, PlotSurface& surface) {
    double width = surface.measureText("2", TextRole::kTitle).width;
    if (frame.toPrinter) width *= kPrinterMarkWidth;
    const double radius = width * kMarkRadiusShare;
    surface.setColor(kPlotBlack);
    for (int rank = 1; rank <= PreparedLines(data); ++rank) {
        const int line = LineOfRank(data, rank);
        if (line == 0) continue;
        ForEachPoint(data, line, [&](float x, float y) {
            if (InPlotWindow(frame, x, y)) {
                const DrawingPoint at = MapPoint(frame, x, y);
                surface.drawCircle(at.x, at.y, radius);
            }
            return false;
        });
    }
}

SectionCurve SectionInput(const DataSet& data, int line, const SectionFit& section) {
    SectionCurve input;
    const int count = PreparedPoints(data, line);
    if (section.firstIndex < 1 || section.lastIndex > count ||
        section.firstIndex > section.lastIndex) {
        return input;
    }
    input.form = section.form;
    input.c = section.coefficient;
    if (CoefficientCount(section.form) < 3) input.c[3] = input.c[4] = 0.0;
    const auto& xs = data.xText[static_cast<std::size_t>(line)];
    input.from = PreparedValue(xs[static_cast<std::size_t>(section.firstIndex)]);
    input.to = PreparedValue(xs[static_cast<std::size_t>(section.lastIndex)]);
    return input;
}

void DrawSectionCurve(const std::vector<CurveSample>& samples, const PlotFrame& frame,
                      PlotSurface& surface) {
    const auto inside = std::find_if(samples.begin(), samples.end(),
                                     [&](const CurveSample& s) { return InXRange(frame, s.x); });
    if (samples.end() - inside < 3) return;

    surface.setColor(kPlotBlue);
    surface.setLineWidth(frame.toPrinter ? kPrinterCurveWidth : 1);
    for (auto to = inside + 1; to != samples.end() && InXRange(frame, to->x); ++to) {
        const CurveSample& from = *(to - 1);
        if (!InYRange(frame, from.y) || !InYRange(frame, to->y)) continue;
        const DrawingPoint a = MapPoint(frame, from.x, from.y);
        const DrawingPoint b = MapPoint(frame, to->x, to->y);
        surface.drawLine(a.x, a.y, b.x, b.y);
    }
    surface.setLineWidth(1);
}

void DrawPlotContents(DataSet& data, const FitResults& results, bool fitCurrent,
                      const PlotFrame& frame, PlotSurface& surface, PlotObserver* observer) {
    SortPreparedLines(data);
    DrawDataMarks(data, frame, surface);
    if (!fitCurrent) return;

    std::vector<CurveSample> samples;
    samples.reserve(kMaxCurveSamples);
    for (int rank = 1; rank <= PreparedLines(data); ++rank) {
        const int line = LineOfRank(data, rank);
        if (line == 0) continue;
        data.activeLine = static_cast<int16_t>(line);
        const LineFit& fit = results.lineFit[static_cast<std::size_t>(line)];
        const int sections = std::clamp<int>(fit.sectionCount, 0, 3);
        for (int s = 1; s <= sections; ++s) {
            data.activeSection = static_cast<int16_t>(s);
            const SectionCurve input =
                SectionInput(data, line, fit.sections[static_cast<std::size_t>(s)]);
            EvaluateSection(input, frame.plotLogX, samples);
            if (observer != nullptr) observer->yieldEvents();
            DrawSectionCurve(samples, frame, surface);
        }
    }
}

void DrawParameterLabels(const DataSet& data, const PlotFrame& frame, PlotSurface& surface) {
    for (int rank = 1; rank <= PreparedLines(data); ++rank) {
        const int line = LineOfRank(data, rank);
        if (line == 0) continue;
        ForEachPoint(data, line, [&](float x, float y) {
            if (!InPlotWindow(frame, x, y)) return false;
            const DrawingPoint at = MapPoint(frame, x, y);
            surface.setColor(kPlotRed);
            surface.drawText(at.x, at.y,
                             Trimmed(data.parameterText[static_cast<std::size_t>(line)]),
                             TextRole::kParameter);
            surface.setColor(kPlotAfterRed);
            return true;
        });
    }
}

}  // namespace kx::core
