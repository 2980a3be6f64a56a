// The speed of tracing one curve from its seed on large scans: a 3000 x 2000
// picture with 4-pixel lines and a 6000 x 8000 page with 6-pixel lines, both
// saved as JPEG, each curve of the chart in turn.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <memory>

#include "core/trace/curve_trace.h"
#include "trace_charts.h"

namespace {

void TraceOneCurve(benchmark::State& state, const char* chart) {
    static int argc = 1;
    static char name[] = "bench_trace_speed";
    static char* argv[] = {name, nullptr};
    static const auto app = std::make_unique<QGuiApplication>(argc, argv);
    const kx::test::TraceCase c = kx::test::MakeTraceCase(chart);
    const kx::test::RgbPicture picture(c.picture);
    const kx::test::TracedCurve& t = c.traced[static_cast<std::size_t>(state.range(0))];
    const kx::core::PicturePoint seed = c.chart.OnCurve(t.curve, t.seedX);
    std::size_t points = 0;
    for (auto _ : state) {
        const kx::core::TraceResult traced = kx::core::TraceCurve(picture.view, seed, {});
        points = traced.centreLine.size();
        benchmark::DoNotOptimize(traced.points.data());
    }
    state.counters["centre_points"] = static_cast<double>(points);
}

}  // namespace

BENCHMARK_CAPTURE(TraceOneCurve, scan_3000x2000, "3000 x 2000 scan, 4-pixel lines")
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(TraceOneCurve, page_6000x8000, "6000 x 8000 scan, 6-pixel lines")
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
