#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "core/data/data_set.h"
#include "core/fitting/calc_settings.h"
#include "core/fitting/equation_form.h"
#include "core/fitting/fit_candidate.h"
#include "core/fitting/fit_observer.h"
#include "core/fitting/point_table.h"

namespace kx::core {

// The largest mean deviation that can still win or tie against `smallest`:
// deviations are compared by their six-digit texts, so a candidate more than a
// hair (0.01 %) above the smallest can do neither.
double ChoiceReach(double smallest);

// How far a section fit rates its candidates.
enum class Rating {
    // Every candidate's mean and largest deviation in full.
    kFull,
    // What the choice of a form needs: the mean deviation of every candidate
    // that can still come within 0.01 % of the smallest (or below 1E-30), and
    // whether a rating failed. A system whose three candidates are all seen
    // above that reach part way is left there, outranked; no largest deviation
    // is kept.
    kForChoice,
};

// Fits one section with every applicable form. The working arrays are reused
// from call to call and nothing is allocated per point.
class SectionFitter {
public:
    // Fits the n points first..first+n-1 of the table (n >= 1). Candidates come
    // in form order; skipped and excluded systems contribute none. A candidate
    // whose rating fails arithmetically (an overflowing exponential, a zero
    // reciprocal, coefficients a float cannot hold) is rated with the largest
    // float deviation, so it is never chosen. For a choice, `firstSystem`
    // (1..7) names the system likeliest to win, which is rated first; the
    // choice the candidates lead to is the same whatever it names.
    void Fit(const PointTable& table, int first, int n, const CalcSettings& settings,
             FitObserver* observer = nullptr, Rating rating = Rating::kFull, int firstSystem = 0);

    std::span<const FitCandidate> candidates() const { return {list_.data(), count_}; }

private:
    // The sums of the normal equations over the points first..last of a
    // table: by side (X, Ln X, 1 / X) the sums of u^1..u^6, by system those
    // of u^0..u^3 v. A section that grows from the same first point extends
    // them: the very additions, in the same order, as summing it afresh.
    struct RunningSums {
        int last = -1;  // the last point summed; -1: none
        double s[3][7];
        double t[kSystemCount + 1][4];
    };
    const RunningSums& SumsOf(const PointTable& table, int first, int last);

    std::array<FitCandidate, kFormCount> list_{};
    std::size_t count_ = 0;
    std::array<RunningSums, kMaxPoints + 1> sums_{};  // by first point
    const PointTable* sumsTable_ = nullptr;
    std::uint64_t sumsRevision_ = 0;
};

// The section fit on texts, as one call: converts points 1..n of the texts and
// returns the candidates.
std::vector<FitCandidate> FitSection(const LineTexts& xTexts, const LineTexts& yTexts, int n,
                                     const CalcSettings& settings,
                                     FitObserver* observer = nullptr);

}  // namespace kx::core
