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

// The family the arguments name (lines, points), prepared.
DataSet BenchFamily(const benchmark::State& state) {
    return NoisyFamily(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
}

// A cut-off no section reaches.
CalcSettings FullSearch() {
    CalcSettings settings;
    settings.cutoffPrecision = 1e-9f;
    return settings;
}

// Times run(data, results), each time on a fresh copy of the prepared family
// (the driver rewrites its point texts).
template <typename Run>
void TimeRuns(benchmark::State& state, const DataSet& prepared, FitResults& results, Run run) {
    DataSet data = prepared;
    for (auto _ : state) {
        state.PauseTiming();
        data = prepared;
        state.ResumeTiming();
        run(data, results);
        benchmark::DoNotOptimize(&results.fittingLog);
    }
}

void BM_FitFamily(benchmark::State& state) {
    const DataSet prepared = BenchFamily(state);
    const CalcSettings settings = FullSearch();
    FitResults results;

    DataSet data = prepared;
    WorkCounter work;
    FitAndGenerate(data, settings, results, &work);

    TimeRuns(state, prepared, results, [&settings](DataSet& d, FitResults& r) {
        FitAndGenerate(d, settings, r);
        benchmark::DoNotOptimize(r.program.data());
    });
    state.counters["sections"] = static_cast<double>(work.sections);
    state.counters["log_lines"] = static_cast<double>(results.fittingLog.size());
    state.counters["point_forms"] =
        benchmark::Counter(work.pointForms, benchmark::Counter::kIsIterationInvariantRate |
                                                benchmark::Counter::kInvert);
}

BENCHMARK(BM_FitFamily)->Args({10, 100})->Args({10, 30})->Unit(benchmark::kMillisecond);

// The fitting driver alone.
void BM_FitOnly(benchmark::State& state) {
    const CalcSettings settings = FullSearch();
    FitResults results;
    TimeRuns(state, BenchFamily(state), results,
             [&settings](DataSet& d, FitResults& r) { FitFamily(d, settings, r); });
}

BENCHMARK(BM_FitOnly)->Args({10, 100})->Args({10, 30})->Unit(benchmark::kMillisecond);

// The program generator alone, on the results of one fit.
void BM_GenerateProgram(benchmark::State& state) {
    DataSet data = BenchFamily(state);
    FitResults fitted;
    FitFamily(data, FullSearch(), fitted);
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
