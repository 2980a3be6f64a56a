// A whole calculation run (fitting driver and program generator) on noisy
// families, with a cut-off small enough that every stage runs in full.
// Reports the time per run and per point-form: time / the sum over all fitted
// sections of (candidates x points). The two halves of the run are measured on
// their own as well, to show where the time goes.
#include <benchmark/benchmark.h>

#include "core/codegen/calc_program.h"
#include "core/fitting/fit_family.h"
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

// The fitting driver alone.
void BM_FitOnly(benchmark::State& state) {
    const DataSet prepared =
        NoisyFamily(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    CalcSettings settings;
    settings.cutoffPrecision = 1e-9f;
    FitResults results;
    DataSet data = prepared;
    for (auto _ : state) {
        state.PauseTiming();
        data = prepared;
        state.ResumeTiming();
        FitFamily(data, settings, results);
        benchmark::DoNotOptimize(results.fittingLog.data());
    }
}

BENCHMARK(BM_FitOnly)->Args({10, 100})->Args({10, 30})->Unit(benchmark::kMillisecond);

// The program generator alone, on the results of one fit.
void BM_GenerateProgram(benchmark::State& state) {
    DataSet data = NoisyFamily(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    CalcSettings settings;
    settings.cutoffPrecision = 1e-9f;
    FitResults fitted;
    FitFamily(data, settings, fitted);
    FitResults results;
    for (auto _ : state) {
        state.PauseTiming();
        results = fitted;
        state.ResumeTiming();
        GenerateCalcProgram(data, results);
        benchmark::DoNotOptimize(results.program.data());
    }
    state.counters["program_lines"] = static_cast<double>(results.program.size());
}

BENCHMARK(BM_GenerateProgram)->Args({10, 100})->Args({10, 30})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
