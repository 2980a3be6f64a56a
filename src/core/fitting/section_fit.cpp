#include "core/fitting/section_fit.h"

#include <cassert>
#include <cmath>
#include <limits>

#include "core/data/numeric_text.h"
#include "core/fitting/scientific_text.h"
#include "core/fitting/solve_linear.h"

namespace kx::core {
namespace {

constexpr double kFailedDeviation = std::numeric_limits<float>::max();

// Stores a candidate's rating. A failed one (NaN fails both tests, so every
// arithmetic failure ends up here) keeps the largest float deviation and is
// never chosen.
void SetDeviations(FitCandidate& c, double mean, double largest) {
    const bool failed = !(mean <= kFailedDeviation) || !(largest <= kFailedDeviation);
    c.failed = failed;
    c.meanDeviation = failed ? kFailedDeviation : mean;
    c.maxDeviation = failed ? kFailedDeviation : largest;
    c.meanDeviationValue = static_cast<float>(ScientificValue(c.meanDeviation));
}

enum class Back { kPlain, kExp, kReciprocal };

struct SystemView {
    const double* u;
    const double* v;
    const double* observed;
    Back back;
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

// The transformed X a system fits against: 0 for X, 1 for Ln X, 2 for 1 / X.
int SideOf(int system) {
    switch (system) {
        case 2:
        case 4: return 1;
        case 5:
        case 7: return 2;
        default: return 0;
    }
}

struct SectionFlags {
    bool xZero = false, yZero = false, xNotPositive = false, yNotPositive = false;
};

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

// Mean and max |relative deviation| of the polynomial c over the section.
// The deviation is relative to the observed value in plain units, or to the
// computed one where the transformed observation is 0 or nearly so.
template <Back kBack, int kDegree>
void RateAs(const SystemView& view, int first, int n, FitCandidate& out) {
    const double* c = out.coefficient.data();
    double sum = 0.0;
    double largest = 0.0;
    for (int i = first; i < first + n; ++i) {
        const double u = view.u[i];
        double p = c[1];
        for (int k = 2; k <= kDegree + 1; ++k) p = p * u + c[k];
        double computed = p;
        if constexpr (kBack == Back::kExp) {
            computed = std::exp(p);
        } else if constexpr (kBack == Back::kReciprocal) {
            computed = 1.0 / p;
        }
        const double observed = view.observed[i];
        const double deviation = computed - observed;
        double relative;
        if (std::fabs(view.v[i]) > 1e-20) {
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
        const double magnitude = std::fabs(relative);
        sum += magnitude;
        if (magnitude >= largest) largest = magnitude;
    }
    SetDeviations(out, sum / n, largest);
}

template <Back kBack>
void RateAs(const SystemView& view, int first, int n, int degree, FitCandidate& out) {
    switch (degree) {
        case 1: return RateAs<kBack, 1>(view, first, n, out);
        case 2: return RateAs<kBack, 2>(view, first, n, out);
        default: return RateAs<kBack, 3>(view, first, n, out);
    }
}

void Rate(const SystemView& view, int first, int n, int degree, FitCandidate& out) {
    switch (view.back) {
        case Back::kPlain: return RateAs<Back::kPlain>(view, first, n, degree, out);
        case Back::kExp: return RateAs<Back::kExp>(view, first, n, degree, out);
        default: return RateAs<Back::kReciprocal>(view, first, n, degree, out);
    }
}

}  // namespace

void SetTablePoint(PointTable& t, int i, double x, double y) {
    t.x[i] = x;
    t.y[i] = y;
    t.lnX[i] = x > 0.0 ? std::log(x) : 0.0;
    t.lnY[i] = y > 0.0 ? std::log(y) : 0.0;
    t.invX[i] = x != 0.0 ? 1.0 / x : 0.0;
    t.invY[i] = y != 0.0 ? 1.0 / y : 0.0;
    t.expLnY[i] = y > 0.0 ? std::exp(t.lnY[i]) : 0.0;
    t.invInvY[i] = y != 0.0 ? 1.0 / t.invY[i] : 0.0;
}

void LoadPointTable(PointTable& table, const LineTexts& xTexts, const LineTexts& yTexts,
                    int count) {
    assert(count >= 0 && count <= kMaxPoints);
    table.count = count;
    for (int i = 1; i <= count; ++i) {
        SetTablePoint(table, i, ValueOfText(xTexts[i]), ValueOfText(yTexts[i]));
    }
}

std::string MeanDeviationText(const FitCandidate& c) {
    return ScientificText(c.meanDeviation);
}
std::string MaxDeviationText(const FitCandidate& c) {
    return ScientificText(c.maxDeviation);
}
std::string DisplayText(const FitCandidate& c) {
    return DisplayText(c.form, c.coefficient);
}
std::string ProgramText(const FitCandidate& c) {
    return ProgramText(c.form, c.coefficient);
}

void SectionFitter::Fit(const PointTable& table, int first, int n, const CalcSettings& settings,
                        FitObserver* observer) {
    assert(n >= 1 && first >= 1 && first + n - 1 <= table.count);
    if (observer) observer->yieldEvents();
    count_ = 0;

    SectionFlags flags;
    for (int i = first; i < first + n; ++i) {
        flags.xZero |= table.x[i] == 0.0;
        flags.yZero |= table.y[i] == 0.0;
        flags.xNotPositive |= table.x[i] <= 0.0;
        flags.yNotPositive |= table.y[i] <= 0.0;
    }

    // Systems 1, 3 and 6 fit against X, 2 and 4 against Ln X, 5 and 7 against
    // 1 / X: their normal equations share the left-hand side, which is
    // reduced once per degree for all of them.
    struct SharedSide {
        bool reduced = false;
        std::array<LinearElimination, 4> elimination;  // by degree
    };
    std::array<SharedSide, 3> shared;

    for (int system = 1; system <= kSystemCount; ++system) {
        if (settings.excludedSystem[system] == 1 || SystemSkipped(system, flags)) continue;
        const SystemView view = ViewOf(table, system);

        SharedSide& side = shared[SideOf(system)];
        if (!side.reduced) {
            // Powers are products: the same values as the power function up
            // to the last bit, at a fraction of its cost in this loop. One
            // pass of sums serves all three degrees.
            double s[7] = {static_cast<double>(n), 0, 0, 0, 0, 0, 0};
            for (int i = first; i < first + n; ++i) {
                const double u = view.u[i];
                const double u2 = u * u;
                const double u3 = u2 * u;
                s[1] += u;
                s[2] += u2;
                s[3] += u3;
                s[4] += u2 * u2;
                s[5] += u3 * u2;
                s[6] += u3 * u3;
            }
            for (int degree = 1; degree <= 3; ++degree) {
                // Row r, column c holds the sum of u^(2 * degree + 2 - r - c).
                const int size = degree + 1;
                long double a[17];
                for (int r = 1; r <= size; ++r) {
                    for (int col = 1; col <= size; ++col) {
                        a[(col - 1) * size + r] = s[2 * size - r - col];
                    }
                }
                side.elimination[degree].Reduce(size, a);
            }
            side.reduced = true;
        }

        double t[4] = {0, 0, 0, 0};
        for (int i = first; i < first + n; ++i) {
            const double u = view.u[i];
            const double v = view.v[i];
            const double u2 = u * u;
            t[0] += v;
            t[1] += u * v;
            t[2] += u2 * v;
            t[3] += u2 * u * v;
        }

        for (int degree = 1; degree <= 3; ++degree) {
            // The right side of row r holds the sum of u^(size - r) v.
            const int size = degree + 1;
            long double b[5];
            for (int r = 1; r <= size; ++r) b[r] = t[size - r];
            side.elimination[degree].Solve(b);
            if (degree == 3 && observer) observer->cubicSolved();

            FitCandidate& candidate = list_[count_];
            candidate.form = static_cast<int16_t>(FormNumber(system, degree));
            candidate.coefficient = {0, 0, 0, 0, 0};
            candidate.c = {0, 0, 0, 0, 0};
            bool storable = true;
            for (int k = 1; k <= size; ++k) {
                candidate.coefficient[k] = static_cast<double>(b[k]);
                storable = storable && FitsFloat(candidate.coefficient[k]);
            }
            if (storable) {
                for (int k = 1; k <= size; ++k) {
                    candidate.c[k] = static_cast<float>(candidate.coefficient[k]);
                }
                Rate(view, first, n, degree, candidate);
            } else {
                // Coefficients a float cannot hold fail like an overflowing
                // rating: the form keeps its place in the list but is never chosen.
                SetDeviations(candidate, kFailedDeviation, kFailedDeviation);
            }
            ++count_;
        }
    }
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
