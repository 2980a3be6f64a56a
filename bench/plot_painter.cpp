// The analysis plot through the painter: one full screen pass of a fitted
// family of 10 lines with three sections each onto a picture of the plot
// window's size, letting pending events run once per section as the window
// does; and the same plot written as a PDF, SVG and PNG file.
#include <QCoreApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "core/fitting/fit_family.h"
#include "core/plot/analysis_plot.h"
#include "render/plot_export.h"
#include "render/plot_gui.h"
#include "render/plot_painter.h"
#include "three_section_family.h"

namespace {

using namespace kx;

// The picture of the plot window at its start size.
constexpr int kPictureWidth = 630;
constexpr int kPictureHeight = 609;

struct Family {
    Family() : data(ThreeSectionFamily(10)) { core::FitFamily(data, {}, results); }
    int Sections() const {
        int sections = 0;
        for (int line = 1; line <= 10; ++line) sections += results.lineFit[line].sectionCount;
        return sections;
    }
    core::DataSet data;
    core::FitResults results;
};

// Pending events run at every yield, as in the plot window.
struct EventRounds : core::PlotObserver {
    long yields = 0;
    void yieldEvents() override {
        ++yields;
        QCoreApplication::processEvents();
    }
};

void BM_ScreenPass(benchmark::State& state) {
    Family family;
    core::PlotSettings settings;
    settings.logX = settings.logY = state.range(0) != 0;
    QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    EventRounds rounds;
    for (auto _ : state) {
        QPainter painter(&image);
        render::PainterSurface surface = render::ImageSurface(painter, image);
        const core::PlotPass pass = core::DrawAnalysisPlot(family.data, family.results, true,
                                                           settings, false, surface, &rounds);
        benchmark::DoNotOptimize(pass.frame.kx);
    }
    state.counters["sections"] = family.Sections();
    state.counters["yields/pass"] =
        static_cast<double>(rounds.yields) / static_cast<double>(state.iterations());
}

void BM_Export(benchmark::State& state, const char* name) {
    Family family;
    const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
    for (auto _ : state) {
        const render::PlotFileResult result = render::ExportAnalysisPlot(
            path.string(), family.data, family.results, {{}, true, true});
        if (!result.ok()) state.SkipWithError("the file was not written");
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}

BENCHMARK(BM_ScreenPass)->ArgName("log")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, pdf, "kx_bench_plot.pdf")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, svg, "kx_bench_plot.svg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, png, "kx_bench_plot.png")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    const render::PlotGui gui("bench_plot_painter");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
