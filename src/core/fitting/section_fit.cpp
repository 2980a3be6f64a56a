#include "core/fitting/section_fit.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstring>
#include <limits>

#include "core/fitting/solve_linear.h"

namespace kx::core {
namespace {

constexpr double kFailedDeviation = std::numeric_limits<float>::max();
constexpr double kNoReach = std::numeric_limits<double>::infinity();

// Stores a candidate's rating. A failed one (NaN fails both tests, so every
// arithmetic failure ends up here) keeps the largest float deviation and is
// never chosen.
void SetDeviations(FitCandidate& c, double mean, double largest) {
    const bool failed = !(mean <= kFailedDeviation) || !(largest <= kFailedDeviation);
    c.failed = failed;
    c.outranked = false;
    c.meanDeviation = failed ? kFailedDeviation : mean;
    c.maxDeviation = failed ? kFailedDeviation : largest;
}

enum class Back { kPlain, kExp, kReciprocal };

struct SystemView {
    const double* u;
    const double* v;
    const double* observed;
    Back back;
    // Every transformed observation of the section is clear of 0: the
    // deviation is relative to the observed value at each point.
    bool clear = false;
};

SystemView ViewOf(const PointTable& t, int system) {
    switch (system) {
        case 1: return {t.x.data(), t.y.data(), t.y.data(), Back::kPlain};
        case 2: return {t.lnX.data(), t.y.data(), t.y.data(), Back::kPlain};
        case 3: return {t.x.data(), t.lnY.data(), t.expLnY.data(), Back::kExp};
        case 4: return {t.lnX.data(), t.lnY.data(), t.expLnY.data(), Back::kExp};
        case 5: return {t.invX.data(), t.y.data(), t.y.data(), Back::kPlain};
        case 6: return {t.x.data(), t.invY.data(), t.invInvY.data(), Back::kReciprocal};
        default: return {t.invX.data(), t.invY.data(), t.invInvY.data(), Back::kReciprocal};
    }
}

// Systems 1, 3 and 6 fit against X, 2 and 4 against Ln X, 5 and 7 against
// 1 / X: the sides of the normal equations.
constexpr int kSideSystems[3][3] = {{1, 3, 6}, {2, 4, 0}, {5, 7, 0}};

struct SectionFlags {
    bool xZero = false, yZero = false, xNotPositive = false, yNotPositive = false;
    // Some Y, or some 1 / Y, is 0 or nearly so.
    bool yNearZero = false, invYNearZero = false;
};

bool NearZero(double v) {
    return !(std::fabs(v) > 1e-20);
}

// The view of a system on the section's points.
SystemView SectionView(const PointTable& table, int system, const SectionFlags& flags) {
    SystemView view = ViewOf(table, system);
    view.clear = view.v == table.y.data()      ? !flags.yNearZero
                 : view.v == table.invY.data() ? !flags.invYNearZero
                                               : false;
    return view;
}

bool SystemSkipped(int system, const SectionFlags& f) {
    switch (system) {
        case 2: return f.xNotPositive;
        case 3: return f.yNotPositive;
        case 4: return f.xNotPositive || f.yNotPositive;
        case 5: return f.xZero;
        case 6: return f.yZero;
        case 7: return f.xZero || f.yZero;
        default: return false;
    }
}

bool FitsFloat(double value) {
    return std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max();
}

// The computed value in plain units of the transformed value p.
template <Back kBack>
double BackOf(double p) {
    if constexpr (kBack == Back::kExp) {
        return std::exp(p);
    } else if constexpr (kBack == Back::kReciprocal) {
        return 1.0 / p;
    } else {
        return p;
    }
}

// |relative deviation| of a computed value from the point's observed one. The
// deviation is relative to the observed value in plain units, or to the
// computed one where the transformed observation is 0 or nearly so.
template <Back kBack>
double RelativeDeviation(double computed, double observed, double v) {
    const double deviation = computed - observed;
    double relative;
    if (std::fabs(v) > 1e-20) {
        // The observed value in plain units is v, exp(v) or 1 / v, which
        // the table already holds.
        relative = deviation / observed;
    } else if constexpr (kBack == Back::kPlain) {
        relative = computed == 0.0 ? deviation / 1e-30 : deviation / computed;
    } else if constexpr (kBack == Back::kExp) {
        relative = deviation / std::exp(computed);
    } else {
        relative = computed == 0.0 ? deviation * 1e30 : deviation / (1.0 / computed);
    }
    return std::fabs(relative);
}

// Two points side by side. Each lane takes the very operations the scalar
// code does, in the same order, so its results are the same to the last bit;
// the divisions that bound the rating run two at a time.
using Pair = double __attribute__((vector_size(16)));
using PairBits = long long __attribute__((vector_size(16)));

Pair PairAt(const double* values, int i) {
    Pair pair;
    std::memcpy(&pair, values + i, sizeof pair);
    return pair;
}

Pair Magnitude(Pair value) {
    const PairBits noSign = {0x7fffffffffffffffLL, 0x7fffffffffffffffLL};
    return reinterpret_cast<Pair>(reinterpret_cast<PairBits>(value) & noSign);
}

// The running sums and largest values of one system's three degrees.
template <bool kLargest>
struct DegreeRatings {
    double sum[3] = {0.0, 0.0, 0.0};
    double largest[3] = {0.0, 0.0, 0.0};
    void add(int d, double magnitude) {
        sum[d] += magnitude;
        if constexpr (kLargest) {
            if (magnitude >= largest[d]) largest[d] = magnitude;
        }
    }
};

#if defined(__x86_64__) && defined(__GNUC__)
#define KX_FOUR_LANES 1
// Four points side by side, where the processor has the wider registers
// (checked once): the same operations per lane as the pairs, and the sums
// taken lane by lane in point order. Rates points i.. up to `stop` four at a
// time and returns the first point left.
using Four = double __attribute__((vector_size(32)));

template <bool kReciprocal, bool kLargest>
__attribute__((target("avx"))) int RateFours(const double* uValues, const double* observedValues,
                                             int i, int stop, const double* c1, const double* c2,
                                             const double* c3, DegreeRatings<kLargest>& ratings) {
    const Four a1 = {c1[1], c1[1], c1[1], c1[1]}, b1 = {c1[2], c1[2], c1[2], c1[2]};
    const Four a2 = {c2[1], c2[1], c2[1], c2[1]}, b2 = {c2[2], c2[2], c2[2], c2[2]},
               d2 = {c2[3], c2[3], c2[3], c2[3]};
    const Four a3 = {c3[1], c3[1], c3[1], c3[1]}, b3 = {c3[2], c3[2], c3[2], c3[2]},
               d3 = {c3[3], c3[3], c3[3], c3[3]}, e3 = {c3[4], c3[4], c3[4], c3[4]};
    const Four one = {1.0, 1.0, 1.0, 1.0};
    using FourBits = long long __attribute__((vector_size(32)));
    const FourBits noSign = {0x7fffffffffffffffLL, 0x7fffffffffffffffLL, 0x7fffffffffffffffLL,
                             0x7fffffffffffffffLL};
    for (; i + 3 < stop; i += 4) {
        Four u, observed;
        std::memcpy(&u, uValues + i, sizeof u);
        std::memcpy(&observed, observedValues + i, sizeof observed);
        Four computed[3] = {a1 * u + b1, (a2 * u + b2) * u + d2,
                            ((a3 * u + b3) * u + d3) * u + e3};
        for (Four& c : computed) {
            if constexpr (kReciprocal) c = one / c;
            c = reinterpret_cast<Four>(reinterpret_cast<FourBits>((c - observed) / observed) &
                                       noSign);
        }
        for (int lane = 0; lane < 4; ++lane) {
            for (int d = 0; d < 3; ++d) ratings.add(d, computed[d][lane]);
        }
    }
    return i;
}

bool HasFourLanes() {
    static const bool has = __builtin_cpu_supports("avx");
    return has;
}
#endif

// Points rated between two looks at the reach of a choice; a multiple of
// four, so that the points keep their places in the lanes.
constexpr int kPointsBetweenLooks = 8;

// The sum of deviations beyond which a candidate's mean deviation is certain
// to end above `reach` and not below 1E-30 (the sums only grow); the margin
// covers the rounding of the mean and of this product.
double SumBeyondReach(double reach, int n) {
    return std::max(reach, 1e-30) * n * (1.0 + 1e-12);
}

// Every rated candidate's sum is beyond `limit` (a NaN sum never is).
bool AllBeyond(const double* sum, const bool* rate, double limit) {
    bool any = false;
    for (int d = 0; d < 3; ++d) {
        if (!rate[d]) continue;
        if (!(sum[d] > limit)) return false;
        any = true;
    }
    return any;
}

// Rates points i.. up to `stop` two at a time and returns the first point
// left.
template <bool kReciprocal, bool kLargest>
int RatePairs(const double* uValues, const double* observedValues, int i, int stop,
              const double* c1, const double* c2, const double* c3,
              DegreeRatings<kLargest>& ratings) {
    const Pair a1 = {c1[1], c1[1]}, b1 = {c1[2], c1[2]};
    const Pair a2 = {c2[1], c2[1]}, b2 = {c2[2], c2[2]}, d2 = {c2[3], c2[3]};
    const Pair a3 = {c3[1], c3[1]}, b3 = {c3[2], c3[2]}, d3 = {c3[3], c3[3]}, e3 = {c3[4], c3[4]};
    const Pair one = {1.0, 1.0};
    for (; i + 1 < stop; i += 2) {
        const Pair u = PairAt(uValues, i);
        const Pair observed = PairAt(observedValues, i);
        Pair computed[3] = {a1 * u + b1, (a2 * u + b2) * u + d2,
                            ((a3 * u + b3) * u + d3) * u + e3};
        for (Pair& c : computed) {
            if constexpr (kReciprocal) c = one / c;
            c = Magnitude((c - observed) / observed);
        }
        for (int lane = 0; lane < 2; ++lane) {
            for (int d = 0; d < 3; ++d) ratings.add(d, computed[d][lane]);
        }
    }
    return i;
}

// Rates points i.. up to `stop` side by side, where every observation is
// clear of 0: four at a time where the processor can, then two at a time.
// Returns the first point left.
template <bool kReciprocal, bool kLargest>
int RateSideBySide(const SystemView& view, int i, int stop, const double* c1, const double* c2,
                   const double* c3, DegreeRatings<kLargest>& ratings) {
#ifdef KX_FOUR_LANES
    if (HasFourLanes()) {
        i = RateFours<kReciprocal>(view.u, view.observed, i, stop, c1, c2, c3, ratings);
    }
#endif
    return RatePairs<kReciprocal>(view.u, view.observed, i, stop, c1, c2, c3, ratings);
}

// Rates points i.. up to `stop` one at a time, with the fallbacks of a
// deviation near 0; returns `stop`.
template <Back kBack, bool kLargest>
int RateOneByOne(const SystemView& view, int i, int stop, const double* c1, const double* c2,
                 const double* c3, DegreeRatings<kLargest>& ratings) {
    for (; i < stop; ++i) {
        const double u = view.u[i];
        const double observed = view.observed[i];
        const double v = view.v[i];
        const double p1 = c1[1] * u + c1[2];
        const double p2 = (c2[1] * u + c2[2]) * u + c2[3];
        const double p3 = ((c3[1] * u + c3[2]) * u + c3[3]) * u + c3[4];
        ratings.add(0, RelativeDeviation<kBack>(BackOf<kBack>(p1), observed, v));
        ratings.add(1, RelativeDeviation<kBack>(BackOf<kBack>(p2), observed, v));
        ratings.add(2, RelativeDeviation<kBack>(BackOf<kBack>(p3), observed, v));
    }
    return i;
}

// The rated candidates of a system a choice has left behind.
void MarkOutranked(const bool* rate, FitCandidate* out) {
    for (int d = 0; d < 3; ++d) {
        if (!rate[d]) continue;
        SetDeviations(out[d], kFailedDeviation, kFailedDeviation);
        out[d].outranked = true;
    }
}

// Some rated candidate's sum of deviations is beyond a float.
bool AnySumBeyondFloat(const double* sum, const bool* rate) {
    for (int d = 0; d < 3; ++d) {
        if (rate[d] && sum[d] > kFailedDeviation) return true;
    }
    return false;
}

template <bool kLargest>
void StoreRatings(const DegreeRatings<kLargest>& ratings, int n, const bool* rate,
                  FitCandidate* out) {
    for (int d = 0; d < 3; ++d) {
        if (rate[d]) SetDeviations(out[d], ratings.sum[d] / n, ratings.largest[d]);
    }
}

// Mean and max |relative deviation| over the section of the three polynomials
// (degrees 1, 2, 3) of one system, rated side by side: each candidate's sums
// run in point order as they would alone, and the three chains overlap. Where
// no transformed observation is near 0 and no exponential is needed, several
// points are computed at once.
// Only the candidates marked in `rate` are rated: the others keep theirs.
// Without kLargest no largest deviation is kept; once all rated candidates
// are seen above `reach` the rating stops and they are outranked.
template <Back kBack, bool kLargest>
void RateDegrees(const SystemView& view, int first, int n, const bool* rate, double reach,
                 FitCandidate* out) {
    const double* c1 = out[0].coefficient.data();
    const double* c2 = out[1].coefficient.data();
    const double* c3 = out[2].coefficient.data();
    DegreeRatings<kLargest> ratings;
    int i = first;
    const int end = first + n;
    const bool sideBySide = kBack != Back::kExp && view.clear;
    const double limit = SumBeyondReach(reach, n);
    while (i < end) {
        const int stop = std::min(end, i + kPointsBetweenLooks);
        if constexpr (kBack != Back::kExp) {
            if (sideBySide) {
                i = RateSideBySide<kBack == Back::kReciprocal>(view, i, stop, c1, c2, c3, ratings);
            }
        }
        i = RateOneByOne<kBack>(view, i, stop, c1, c2, c3, ratings);
        if (i < end && AllBeyond(ratings.sum, rate, limit)) {
            MarkOutranked(rate, out);
            return;
        }
    }
    if constexpr (!kLargest) {
        // No term exceeds the sum: only a sum beyond a float can hide a single
        // deviation beyond one, which fails the rating. Rated again in full.
        if (AnySumBeyondFloat(ratings.sum, rate)) {
            return RateDegrees<kBack, true>(view, first, n, rate, reach, out);
        }
    }
    StoreRatings(ratings, n, rate, out);
}

template <bool kLargest>
void RateDegrees(const SystemView& view, int first, int n, const bool* rate, double reach,
                 FitCandidate* out) {
    switch (view.back) {
        case Back::kPlain:
            return RateDegrees<Back::kPlain, kLargest>(view, first, n, rate, reach, out);
        case Back::kExp:
            return RateDegrees<Back::kExp, kLargest>(view, first, n, rate, reach, out);
        default: return RateDegrees<Back::kReciprocal, kLargest>(view, first, n, rate, reach, out);
    }
}

// The points of a section and what is fitted to them: the systems its points
// allow and the settings keep, and where each one's three candidates go in
// the list (form order).
struct SectionPlan {
    const PointTable* table = nullptr;
    int first = 0;
    int n = 0;
    SectionFlags flags;
    std::array<bool, kSystemCount + 1> fitted{};
    std::array<std::size_t, kSystemCount + 1> place{};
    std::size_t count = 0;
    // By system and degree: the coefficients fit a float, and the candidate
    // is to be rated.
    std::array<std::array<bool, 3>, kSystemCount + 1> storable{};
    // The highest degree the section can judge (see ChoosableDegree).
    int choosableDegree = 3;
};

// A polynomial of degree d has d + 1 coefficients: through d + 1 distinct X
// it passes exactly whatever the points, and only a further point tells how
// well it follows them. So the highest degree a section may choose is its
// number of distinct X less two; below degree 1 (X repeated) every degree is
// taken as before, since no candidate could be judged.
int ChoosableDegree(const PointTable& table, int first, int n) {
    constexpr int kNeeded = 5;  // distinct X that let a cubic be judged
    std::array<double, kNeeded> seen{};
    int distinct = 0;
    for (int i = first; i < first + n && distinct < kNeeded; ++i) {
        const double x = table.x[static_cast<std::size_t>(i)];
        if (std::find(seen.begin(), seen.begin() + distinct, x) == seen.begin() + distinct)
            seen[static_cast<std::size_t>(distinct++)] = x;
    }
    const int degree = distinct - 2;
    return degree < 1 ? 3 : degree;
}

SectionFlags FlagsOf(const PointTable& table, int first, int n) {
    SectionFlags flags;
    for (int i = first; i < first + n; ++i) {
        flags.xZero |= table.x[i] == 0.0;
        flags.yZero |= table.y[i] == 0.0;
        flags.xNotPositive |= table.x[i] <= 0.0;
        flags.yNotPositive |= table.y[i] <= 0.0;
        flags.yNearZero |= NearZero(table.y[i]);
        flags.invYNearZero |= NearZero(table.invY[i]);
    }
    return flags;
}

SectionPlan PlanSection(const PointTable& table, int first, int n, const CalcSettings& settings) {
    SectionPlan plan;
    plan.table = &table;
    plan.first = first;
    plan.n = n;
    plan.flags = FlagsOf(table, first, n);
    plan.choosableDegree = ChoosableDegree(table, first, n);
    for (int system = 1; system <= kSystemCount; ++system) {
        plan.fitted[system] =
            settings.excludedSystem[system] != 1 && !SystemSkipped(system, plan.flags);
        plan.place[system] = plan.count;
        if (plan.fitted[system]) plan.count += 3;
    }
    return plan;
}

// The systems of a side that the section fits, in order; returns their number.
int FittedSystemsOfSide(const SectionPlan& plan, int side, int (&systems)[3]) {
    int m = 0;
    for (int system : kSideSystems[side]) {
        if (system != 0 && plan.fitted[system]) systems[m++] = system;
    }
    return m;
}

// Reduces the left-hand sides of a side's normal equations, degrees 1..3, from
// its sums of u^1..u^6 (the sum of u^0 is the point count).
void ReduceNormalEquations(int n, const double* powerSums,
                           std::array<LinearElimination, 4>& elimination) {
    double s[7] = {static_cast<double>(n)};
    std::copy(powerSums + 1, powerSums + 7, s + 1);
    for (int degree = 1; degree <= 3; ++degree) {
        // Row r, column c holds the sum of u^(2 * degree + 2 - r - c).
        const int size = degree + 1;
        double a[17];
        for (int r = 1; r <= size; ++r) {
            for (int col = 1; col <= size; ++col) {
                a[(col - 1) * size + r] = s[2 * size - r - col];
            }
        }
        elimination[degree].Reduce(size, a);
    }
}

// Makes the solution x[1..degree + 1] the candidate of a system and degree;
// false when a float cannot hold its coefficients.
bool TakeCoefficients(FitCandidate& candidate, int system, int degree, const double* x) {
    const int size = degree + 1;
    candidate.form = static_cast<int16_t>(FormNumber(system, degree));
    candidate.coefficient = {0, 0, 0, 0, 0};
    candidate.c = {0, 0, 0, 0, 0};
    bool fits = true;
    for (int r = 1; r <= size; ++r) {
        candidate.coefficient[r] = x[r];
        fits = fits && FitsFloat(candidate.coefficient[r]);
    }
    if (fits) {
        for (int r = 1; r <= size; ++r) {
            candidate.c[r] = static_cast<float>(candidate.coefficient[r]);
        }
    } else {
        // Coefficients a float cannot hold fail like an overflowing rating:
        // the form keeps its place in the list but is never chosen.
        SetDeviations(candidate, kFailedDeviation, kFailedDeviation);
    }
    return fits;
}

// Solves the normal equations of the systems of one side, from the side's sums
// of u^1..u^6 and, by system, the sums of u^0..u^3 v. The systems share the
// left-hand side, which is reduced once per degree, and their right-hand sides
// are solved together.
void FitSide(SectionPlan& plan, int side, const double* powerSums, const double (*systemSums)[4],
             FitObserver* observer, FitCandidate* list) {
    int systems[3];
    const int m = FittedSystemsOfSide(plan, side, systems);
    if (m == 0) return;
    std::array<LinearElimination, 4> elimination;  // by degree
    ReduceNormalEquations(plan.n, powerSums, elimination);
    for (int degree = 1; degree <= 3; ++degree) {
        // The right side of row r holds the sum of u^(size - r) v.
        const int size = degree + 1;
        double b[3][5];
        double x[3][5];
        for (int k = 0; k < m; ++k) {
            for (int r = 1; r <= size; ++r) b[k][r] = systemSums[systems[k]][size - r];
        }
        elimination[degree].SolveEach(m, b, x);
        for (int k = 0; k < m; ++k) {
            if (degree == 3 && observer) observer->cubicSolved();
            FitCandidate& candidate = list[plan.place[systems[k]] + degree - 1];
            plan.storable[systems[k]][degree - 1] =
                TakeCoefficients(candidate, systems[k], degree, x[k]);
        }
    }
}

template <bool kLargest>
void RateSystem(const SectionPlan& plan, int system, double reach, FitCandidate* list) {
    RateDegrees<kLargest>(SectionView(*plan.table, system, plan.flags), plan.first, plan.n,
                          plan.storable[system].data(), reach, &list[plan.place[system]]);
}

// The smallest mean deviation so far once a system's candidates are rated:
// those that failed or were outranked have none, and a degree the section
// cannot judge is no measure for the others.
double SmallestMean(const FitCandidate* rated, double smallest, int choosableDegree) {
    for (int d = 0; d < choosableDegree; ++d) {
        if (!rated[d].failed && !rated[d].outranked)
            smallest = std::min(smallest, rated[d].meanDeviation);
    }
    return smallest;
}

// Rates a system for a choice, held to the reach of the smallest mean
// deviation so far; returns the smallest after it.
double RateForChoice(const SectionPlan& plan, int system, double smallest, FitCandidate* list) {
    RateSystem<false>(plan, system, ChoiceReach(smallest), list);
    return SmallestMean(&list[plan.place[system]], smallest, plan.choosableDegree);
}

}  // namespace

double ChoiceReach(double smallest) {
    return smallest * 1.0001;
}

void SectionFitter::Fit(const PointTable& table, int first, int n, const CalcSettings& settings,
                        FitObserver* observer, Rating rating, int firstSystem) {
    assert(n >= 1 && first >= 1 && first + n - 1 <= table.count);
    if (observer) observer->yieldEvents();
    SectionPlan plan = PlanSection(table, first, n, settings);
    count_ = plan.count;
    const RunningSums& sums = SumsOf(table, first, first + n - 1);
    for (int side = 0; side < 3; ++side) {
        FitSide(plan, side, sums.s[side], sums.t, observer, list_.data());
    }
    for (std::size_t i = 0; i < count_; ++i) {
        list_[i].choosable = DegreeOfForm(list_[i].form) <= plan.choosableDegree;
    }

    if (rating == Rating::kFull) {
        for (int system = 1; system <= kSystemCount; ++system) {
            if (plan.fitted[system]) RateSystem<true>(plan, system, kNoReach, list_.data());
        }
        return;
    }
    // For a choice each system is held to the reach of the smallest mean
    // deviation rated before it; the likeliest winner goes first.
    double smallest = kNoReach;
    const bool hinted =
        firstSystem >= 1 && firstSystem <= kSystemCount && plan.fitted[firstSystem];
    if (hinted) smallest = RateForChoice(plan, firstSystem, smallest, list_.data());
    for (int system = 1; system <= kSystemCount; ++system) {
        if (plan.fitted[system] && !(hinted && system == firstSystem)) {
            smallest = RateForChoice(plan, system, smallest, list_.data());
        }
    }
}

const SectionFitter::RunningSums& SectionFitter::SumsOf(const PointTable& table, int first,
                                                        int last) {
    if (&table != sumsTable_ || table.revision != sumsRevision_) {
        for (RunningSums& r : sums_) r.last = -1;
        sumsTable_ = &table;
        sumsRevision_ = table.revision;
    }
    RunningSums& r = sums_[first];
    if (r.last < first - 1 || r.last > last) {
        r = RunningSums{};
        r.last = first - 1;
    }
    const double* const u[3] = {table.x.data(), table.lnX.data(), table.invX.data()};
    std::array<const double*, kSystemCount + 1> v{};
    for (int system = 1; system <= kSystemCount; ++system) v[system] = ViewOf(table, system).v;
    for (int i = r.last + 1; i <= last; ++i) {
        for (int side = 0; side < 3; ++side) {
            // Powers are products: the same values as the power function up
            // to the last bit, at a fraction of its cost in this loop. One
            // pass of sums serves all three degrees.
            const double x = u[side][i];
            const double x2 = x * x;
            const double x3 = x2 * x;
            double* s = r.s[side];
            s[1] += x;
            s[2] += x2;
            s[3] += x3;
            s[4] += x2 * x2;
            s[5] += x3 * x2;
            s[6] += x3 * x3;
            for (int system : kSideSystems[side]) {
                if (system == 0) continue;
                const double y = v[system][i];
                double* t = r.t[system];
                t[0] += y;
                t[1] += x * y;
                t[2] += x2 * y;
                t[3] += x2 * x * y;
            }
        }
    }
    r.last = last;
    return r;
}

std::vector<FitCandidate> FitSection(const LineTexts& xTexts, const LineTexts& yTexts, int n,
                                     const CalcSettings& settings, FitObserver* observer) {
    PointTable table;
    LoadPointTable(table, xTexts, yTexts, n);
    SectionFitter fitter;
    fitter.Fit(table, 1, n, settings, observer);
    return {fitter.candidates().begin(), fitter.candidates().end()};
}

}  // namespace kx::core
