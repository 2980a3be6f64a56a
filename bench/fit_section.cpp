// The section fit on noisy positive data, where all 21 forms are fitted.
// Reports the time per call and per point-form (time / (21 x n)).
#include <benchmark/benchmark.h>

#include "core/fitting/section_fit.h"
#include "noisy_family.h"

namespace {

using namespace kx::core;

// The driver's path: points read once per line, each section fitted from them.
void BM_FitSection(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const DataSet data = NoisyFamily(1, n);
    PointTable table;
    LoadPointTable(table, data.xText[1], data.yText[1], n);
    SectionFitter fitter;
    const CalcSettings settings;
    for (auto _ : state) {
        fitter.Fit(table, 1, n, settings);
        benchmark::DoNotOptimize(fitter.candidates().data());
    }
    if (fitter.candidates().size() != 21) state.SkipWithError("not all forms were fitted");
    state.counters["point_forms"] = benchmark::Counter(
        21.0 * n, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The whole operation on texts: conversion of the texts included.
void BM_FitSectionFromTexts(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const DataSet data = NoisyFamily(1, n);
    const CalcSettings settings;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FitSection(data.xText[1], data.yText[1], n, settings));
    }
    state.counters["point_forms"] = benchmark::Counter(
        21.0 * n, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_FitSection)->Arg(10)->Arg(30)->Arg(100);
BENCHMARK(BM_FitSectionFromTexts)->Arg(10)->Arg(30)->Arg(100);

}  // namespace

BENCHMARK_MAIN();
