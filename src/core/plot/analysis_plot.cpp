#include "core/plot/analysis_plot.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/data/numeric_text.h"
#include "core/plot/plot_contents.h"

namespace kx::core {
namespace {

constexpr DrawingWindow kLayoutWindow{-100.0, -680.0, 750.0, 790.0};
constexpr double kPaperMargin = 0.1;  // of the layout's width, added left and below
constexpr double kTick = 8.0;         // t0
constexpr double kMinorTick = 1.3 * kTick;
constexpr double kMajorTickInside = 1.3 * 1.3 * kTick;
constexpr double kXNameDepth = 2.1;  // in label heights below the axis
constexpr double kTitleX = 2.0;
constexpr double kTitleY = -650.0;
constexpr int kPrinterAxisWidth = 3;
constexpr const char* kTitle = "解析グラフのプロット";

// The value of an X box when it replaces the data's limit: a number other than
// 0 that a float can hold.
std::optional<float> BoxLimit(const std::string& text) {
    const double value = ValueOfText(text);
    if (value == 0.0 || !FitsSingle(value)) return std::nullopt;
    return static_cast<float>(value);
}

void ApplyXBoxes(const PlotSettings& settings, PointBounds& range) {
    if (const auto value = BoxLimit(settings.xMinText)) range.xMin = *value;
    if (const auto value = BoxLimit(settings.xMaxText)) range.xMax = *value;
}

void DrawAxes(bool toPrinter, PlotSurface& surface) {
    surface.setColor(kPlotBlue);
    surface.setLineWidth(toPrinter ? kPrinterAxisWidth : 1);
    surface.drawLine(0.0, 0.0, kAxisLength, 0.0);
    surface.drawLine(0.0, 0.0, 0.0, -kAxisLength);
    surface.setLineWidth(1);
}

// Tick lines run across their axis: `from` and `to` count outwards from the
// axis, so negative values lie inside the box (above the X axis, right of the
// Y axis).
template <bool kYAxis>
void DrawTickLines(const std::vector<AxisTick>& ticks, PlotSurface& surface) {
    const auto line = [&](double at, double from, double to) {
        if (kYAxis) {
            surface.drawLine(-from, -at, -to, -at);
        } else {
            surface.drawLine(at, from, at, to);
        }
    };
    for (const AxisTick& tick : ticks) {
        switch (tick.kind) {
            case TickKind::kOrigin: break;
            case TickKind::kMinor: line(tick.position, 0.0, -kMinorTick); break;
            case TickKind::kMajor:
                line(tick.position, kTick, -kMajorTickInside);
                if (tick.grid) line(tick.position, 0.0, -kAxisLength);
                break;
        }
    }
}

void DrawLabels(const PlotPass& pass, PlotSurface& surface) {
    surface.setColor(kPlotBlack);
    const TextSize digit = surface.measureText("2", TextRole::kTickLabel);
    for (const AxisTick& tick : pass.xTicks) {
        if (tick.label.empty()) continue;
        const TextSize size = surface.measureText(tick.label, TextRole::kTickLabel);
        surface.drawText(tick.position - size.width / 2.0, digit.height, tick.label,
                         TextRole::kTickLabel);
    }
    // Y labels end where the major ticks end outside the box, so that no tick
    // runs into a label's last digit.
    double widest = 0.0;
    for (const AxisTick& tick : pass.yTicks) {
        if (tick.label.empty()) continue;
        const TextSize size = surface.measureText(tick.label, TextRole::kTickLabel);
        surface.drawText(-kTick - size.width, -tick.position - digit.height / 2.0, tick.label,
                         TextRole::kTickLabel);
        widest = std::max(widest, size.width);
    }

    const TextSize x = surface.measureText("X", TextRole::kAxisName);
    surface.drawText(kAxisLength / 2.0 - x.width / 2.0, kXNameDepth * digit.height, "X",
                     TextRole::kAxisName);
    const TextSize y = surface.measureText("Y", TextRole::kAxisName);
    surface.drawText(-kTick - widest - digit.width / 2.0 - y.width,
                     -kAxisLength / 2.0 - y.height / 2.0, "Y", TextRole::kAxisName);
    surface.drawText(kTitleX, kTitleY, kTitle, TextRole::kTitle);
}

// Float steps the X range must span at the larger limit's magnitude: a tick
// every step of a nice division, minor ones included, stays a float of its own.
constexpr double kResolvedSteps = 64.0;

// Whether floats resolve the range low..high: a range of a few steps (among
// the denormal floats, say) would give ticks and labels of values the axis
// does not hold.
bool FloatResolvesRange(float low, float high) {
    const float larger = std::max(std::fabs(low), std::fabs(high));
    const double step = static_cast<double>(larger) - std::nextafter(larger, 0.0f);
    return static_cast<double>(high) - low >= kResolvedSteps * step;
}

}  // namespace

PointBounds PlotDataRange(const DataSet& data) {
    PointBounds range;
    for (int line = 1; line <= std::clamp<int>(data.lineCount, 0, kMaxLines); ++line) {
        const auto l = static_cast<std::size_t>(line);
        const int count = std::clamp<int>(data.preparedCount[l], 0, kMaxPoints);
        for (std::size_t j = 1; j <= static_cast<std::size_t>(count); ++j) {
            const float x = PreparedValue(data.xText[l][j]);
            const float y = PreparedValue(data.yText[l][j]);
            range.xMin = std::min(range.xMin, x);
            range.xMax = std::max(range.xMax, x);
            range.yMin = std::min(range.yMin, y);
            range.yMax = std::max(range.yMax, y);
        }
    }
    return range;
}

PointBounds PlotOpeningRange(const DataSet& data, const PlotSettings& settings) {
    PointBounds range = PlotDataRange(data);
    ApplyXBoxes(settings, range);
    return range;
}

bool PlotRequestAccepted(const PlotSettings& settings) {
    const double xMin = ValueOfText(settings.xMinText);
    const double xMax = ValueOfText(settings.xMaxText);
    if (!(xMax > xMin)) return false;
    if (FitsSingle(xMin) && FitsSingle(xMax) &&
        !FloatResolvesRange(static_cast<float>(xMin), static_cast<float>(xMax))) {
        return false;
    }
    return !settings.logX || (xMin > 0.0 && xMax > 0.0);
}

bool PlotLogXRefused(const PlotSettings& settings) {
    const double xMin = ValueOfText(settings.xMinText);
    const double xMax = ValueOfText(settings.xMaxText);
    return settings.logX && xMax > xMin && !(xMin > 0.0 && xMax > 0.0);
}

DrawingWindow PlotDrawingWindow(bool toPrinter, PageSize page) {
    const double aspect = page.width / page.height;
    if (!toPrinter || !(page.width > 0.0) || !(page.height > 0.0) || !std::isfinite(aspect)) {
        return kLayoutWindow;
    }
    const double margin = kPaperMargin * kLayoutWindow.width;
    double width = kLayoutWindow.width + margin;
    double height = kLayoutWindow.height + margin;
    if (width / height > aspect) {
        height = width / aspect;
    } else {
        width = height * aspect;
    }
    return {kLayoutWindow.left - (width - kLayoutWindow.width), kLayoutWindow.top, width, height};
}

PlotPass LayOutPlot(const DataSet& data, const PlotSettings& settings, bool toPrinter,
                    PageSize page) {
    PointBounds range = PlotDataRange(data);
    // Without any point the axes still get a range of their own.
    if (range.xMin > range.xMax) {
        range.xMin = 0.0f;
        range.xMax = 1.0f;
    }
    if (range.yMin > range.yMax) {
        range.yMin = 0.0f;
        range.yMax = 1.0f;
    }
    ApplyXBoxes(settings, range);

    PlotPass pass;
    pass.xScale = AdjustAxis(range.xMin, range.xMax, settings.logX, AxisKind::kX);
    pass.yScale = AdjustAxis(range.yMin, range.yMax, settings.logY, AxisKind::kY);
    PlotFrame& frame = pass.frame;
    frame.xMin = pass.xScale.low;
    frame.xMax = pass.xScale.high;
    frame.yMin = pass.yScale.low;
    frame.yMax = pass.yScale.high;
    frame.plotLogX = pass.xScale.log;
    frame.plotLogY = pass.yScale.log;
    frame.kx = pass.xScale.linearScale;
    frame.ky = pass.yScale.linearScale;
    frame.lx = pass.xScale.logScale;
    frame.ly = pass.yScale.logScale;
    frame.toPrinter = toPrinter;
    frame.xFrom = range.xMin;
    frame.xTo = range.xMax;
    pass.xTicks = AxisTicks(pass.xScale);
    pass.yTicks = AxisTicks(pass.yScale);
    pass.window = PlotDrawingWindow(toPrinter, page);
    return pass;
}

void DrawPlotFrame(const PlotPass& pass, PlotSurface& surface) {
    DrawAxes(pass.frame.toPrinter, surface);
    surface.setColor(kPlotGrey);
    DrawTickLines<false>(pass.xTicks, surface);
    DrawTickLines<true>(pass.yTicks, surface);
    DrawLabels(pass, surface);
}

PlotPass DrawAnalysisPlot(DataSet& data, const FitResults& results, bool fitCurrent,
                          const PlotSettings& settings, bool toPrinter, PlotSurface& surface,
                          PlotObserver* observer) {
    const PlotPass pass = LayOutPlot(data, settings, toPrinter, surface.pageSize());
    surface.setDrawingWindow(pass.window);
    if (!toPrinter) surface.clear();
    DrawPlotFrame(pass, surface);
    DrawPlotContents(data, results, fitCurrent, pass.frame, surface, observer);
    return pass;
}

}  // namespace kx::core
