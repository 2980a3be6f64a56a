// The calculation button of the program-generation window against the core
// calculation alone, on a noisy 10 x 100 family: what the window adds (event
// rounds, the gauge, filling the four lists) to the fitting run.
//
// BM_CoreRun runs first, before the toolkit exists. BM_CoreBesideToolkit
// repeats it once the application object exists, without clearing the vector
// state the toolkit leaves behind: the penalty the window avoids.
#include <QAbstractItemView>
#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include "core/codegen/calc_program.h"
#include "noisy_family.h"
#include "ui/results/results_names.h"
#include "ui/window/desktop.h"

namespace {

using namespace kx;

QApplication& App() {
    static int argc = 1;
    static char name[] = "bench_program_window_run";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// A left click on a button, as the window system delivers it.
void Click(QWidget* button) {
    const QPointF pos = QRectF(button->rect()).center();
    const QPointF global = button->mapToGlobal(pos);
    QMouseEvent press(QEvent::MouseButtonPress, pos, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, pos, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(button, &press);
    QApplication::sendEvent(button, &release);
}

void CoreRun(benchmark::State& state) {
    const core::DataSet prepared =
        NoisyFamily(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    core::CalcSettings settings;  // as the window sets them when it opens
    core::FitResults results;
    core::DataSet data;
    for (auto _ : state) {
        state.PauseTiming();
        data = prepared;
        state.ResumeTiming();
        core::FitAndGenerate(data, settings, results);
        benchmark::DoNotOptimize(&results.fittingLog);
    }
    state.counters["log_lines"] = static_cast<double>(results.fittingLog.size());
}

void BM_CoreRun(benchmark::State& state) {
    CoreRun(state);
}

void BM_CoreBesideToolkit(benchmark::State& state) {
    App();
    CoreRun(state);
}

void BM_WindowRun(benchmark::State& state) {
    App();
    const core::DataSet prepared =
        NoisyFamily(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    ui::Workspace workspace;
    ui::Desktop desktop(workspace);
    ui::ProgramWindow& window = desktop.program();
    workspace.data = prepared;
    window.OpenFrom(nullptr);
    window.HideAreaHints();  // the area hints are gone, as after 20 seconds
    QApplication::processEvents();
    auto* button = window.findChild<QPushButton*>(ui::names::program::kCalculateButton);
    const QAbstractItemModel* log =
        window.findChild<QAbstractItemView*>(ui::names::program::kList[1])->model();
    int runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        workspace.data = prepared;
        workspace.results.completed = false;
        state.ResumeTiming();
        Click(button);
        runs += workspace.results.completed ? 1 : 0;
    }
    if (runs != static_cast<int>(state.iterations()) || log->rowCount() == 0) {
        state.SkipWithError("a run did not complete");
    }
    state.counters["log_lines"] = log->rowCount();
    state.counters["event_rounds"] = window.observer().eventRounds();
}

BENCHMARK(BM_CoreRun)->Args({10, 100})->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_WindowRun)->Args({10, 100})->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_CoreBesideToolkit)->Args({10, 100})->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
