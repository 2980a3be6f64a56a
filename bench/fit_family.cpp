// A whole calculation run (fitting driver and program generator) on noisy
// families, with a cut-off small enough that every stage runs in full.
// Reports the time per run and per point-form: time / the sum over all fitted
// sections of (candidates x points).
#include <benchmark/benchmark.h>

#include "core/codegen/calc_program.h"
#include "noisy_family.h"

namespace {

using namespace kx::core;

struct WorkCounter : FitObserver {
    double pointForms = 0;
    long sections = 0;
    void sectionFitted(int points, int candidates) override {
        pointForms += static_cast<double>(points) * candidates;
        ++sections;
    }
};

void BM_FitFamily(benchmark::State& state) {
    const DataSet prepared =
        NoisyFamily(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    CalcSettings settings;
    settings.cutoffPrecision = 1e-9f;
    FitResults results;

    DataSet data = prepared;
    WorkCounter work;
    FitAndGenerate(data, settings, results, &work);

    for (auto _ : state) {
        state.PauseTiming();
        data = prepared;
        state.ResumeTiming();
        FitAndGenerate(data, settings, results);
        benchmark::DoNotOptimize(results.program.data());
    }
    state.counters["sections"] = static_cast<double>(work.sections);
    state.counters["log_lines"] = static_cast<double>(results.fittingLog.size());
    state.counters["point_forms"] =
        benchmark::Counter(work.pointForms, benchmark::Counter::kIsIterationInvariantRate |
                                                benchmark::Counter::kInvert);
}

BENCHMARK(BM_FitFamily)->Args({10, 100})->Args({10, 30})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
