// One full drawing pass of the analysis plot (frame, ticks, labels, marks and
// curves) of a fitted family of 10 lines with three sections each, against a
// surface that records every call and against one that drops them.
#include <benchmark/benchmark.h>

#include <string>

#include "core/fitting/fit_family.h"
#include "core/plot/analysis_plot.h"
#include "core/plot/recording_surface.h"
#include "three_section_family.h"

namespace {

using namespace kx::core;

class NullSurface : public PlotSurface {
public:
    void setDrawingWindow(const DrawingWindow&) override {}
    void clear() override {}
    void setColor(Rgb) override {}
    void setLineWidth(int) override {}
    void drawLine(double x1, double y1, double x2, double y2) override {
        benchmark::DoNotOptimize(x1 + y1 + x2 + y2);
    }
    void drawCircle(double, double, double) override {}
    void drawText(double, double, std::string_view, TextRole) override {}
    TextSize measureText(std::string_view text, TextRole role) const override {
        return {0.8 * FontSize(role) * static_cast<double>(text.size()), 1.5 * FontSize(role)};
    }
    PageSize pageSize() const override { return {750, 790}; }
};

template <typename Surface>
void BM_PlotPass(benchmark::State& state) {
    DataSet data = ThreeSectionFamily(10);
    FitResults results;
    FitFamily(data, CalcSettings{}, results);
    int sections = 0;
    for (int line = 1; line <= 10; ++line) sections += results.lineFit[line].sectionCount;

    PlotSettings settings;
    settings.logX = settings.logY = state.range(0) != 0;
    const bool toPrinter = state.range(1) != 0;
    Surface surface;
    std::size_t calls = 0;
    for (auto _ : state) {
        const PlotPass pass = DrawAnalysisPlot(data, results, true, settings, toPrinter, surface);
        benchmark::DoNotOptimize(pass.frame.kx);
        if constexpr (std::is_same_v<Surface, RecordingSurface>) {
            calls = surface.calls().size();
            surface.forget();
        }
    }
    state.counters["sections"] = sections;
    state.counters["calls"] = static_cast<double>(calls);
}

BENCHMARK(BM_PlotPass<RecordingSurface>)
    ->ArgNames({"log", "printer"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlotPass<NullSurface>)
    ->ArgNames({"log", "printer"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
