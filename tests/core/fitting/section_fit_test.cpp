#include "core/fitting/section_fit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <set>
#include <span>
#include <vector>

#include "support/finite_text.h"
#include "support/near.h"

namespace kx::core {
namespace {

struct Section {
    LineTexts x, y;
    int n = 0;
};

Section Points(std::initializer_list<std::pair<const char*, const char*>> points) {
    Section s;
    for (const auto& [x, y] : points) {
        ++s.n;
        s.x[s.n] = x;
        s.y[s.n] = y;
    }
    return s;
}

Section FromFunction(int n, double (*f)(double), double x0, double dx) {
    Section s;
    s.n = n;
    for (int i = 1; i <= n; ++i) {
        const double x = x0 + dx * (i - 1);
        s.x[i] = std::to_string(x);
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.17g", f(x));
        s.y[i] = buffer;
    }
    return s;
}

std::vector<int> Forms(const std::vector<FitCandidate>& candidates) {
    std::vector<int> forms;
    for (const FitCandidate& c : candidates) forms.push_back(c.form);
    return forms;
}

const FitCandidate* Find(const std::vector<FitCandidate>& candidates, int form) {
    for (const FitCandidate& c : candidates) {
        if (c.form == form) return &c;
    }
    return nullptr;
}

TEST(FitSection, AnExactLineHasNoDeviation) {
    const Section s = Points({{"1", "3"}, {"2", "5"}, {"3", "7"}});
    const std::vector<FitCandidate> candidates = FitSection(s.x, s.y, s.n, CalcSettings{});
    ASSERT_EQ(candidates.size(), 21u);
    const FitCandidate& line = candidates[0];
    EXPECT_EQ(line.form, 1);
    EXPECT_REL_NEAR(line.coefficient[1], 2, 1e-12);
    EXPECT_REL_NEAR(line.coefficient[2], 1, 1e-12);
    EXPECT_EQ(line.c[1], 2.0f);
    EXPECT_EQ(line.c[3], 0.0f);
    EXPECT_LT(line.meanDeviation, 1e-15);
    EXPECT_LT(line.maxDeviation, 1e-15);
    EXPECT_EQ(MeanDeviationValue(line), 0.0f);
    if (line.meanDeviation == 0.0) {
        EXPECT_EQ(MeanDeviationText(line), "-0.00000E-50");
    }
    EXPECT_EQ(DisplayText(line).substr(0, 17), "Y =  2.00000E+00 ");
}

TEST(FitSection, SkipsSystemsByTheSignsOfTheSection) {
    const CalcSettings settings;
    const Section withZeroX = Points({{"0", "1"}, {"1", "2"}, {"2", "5"}, {"3", "7"}});
    EXPECT_EQ(Forms(FitSection(withZeroX.x, withZeroX.y, withZeroX.n, settings)),
              (std::vector<int>{1, 2, 3, 7, 8, 9, 16, 17, 18}));
    const Section negativeY = Points({{"1", "-1"}, {"2", "2"}, {"3", "5"}, {"4", "7"}});
    EXPECT_EQ(Forms(FitSection(negativeY.x, negativeY.y, negativeY.n, settings)),
              (std::vector<int>{1, 2, 3, 4, 5, 6, 13, 14, 15, 16, 17, 18, 19, 20, 21}));
    const Section zeroY = Points({{"1", "0"}, {"2", "2"}, {"3", "5"}, {"4", "7"}});
    EXPECT_EQ(Forms(FitSection(zeroY.x, zeroY.y, zeroY.n, settings)),
              (std::vector<int>{1, 2, 3, 4, 5, 6, 13, 14, 15}));
    // A text that is not a number reads as its leading number, here 0.
    const Section textX = Points({{"abc", "1"}, {"1", "2"}, {"2", "5"}});
    EXPECT_EQ(Find(FitSection(textX.x, textX.y, textX.n, settings), 4), nullptr);
}

TEST(FitSection, ExcludedSystemsAreLeftOut) {
    const Section s = Points({{"1", "3"}, {"2", "5"}, {"3", "8"}, {"4", "9"}});
    CalcSettings settings;
    settings.excludedSystem[1] = 1;
    settings.excludedSystem[4] = 1;
    EXPECT_EQ(Forms(FitSection(s.x, s.y, s.n, settings)),
              (std::vector<int>{4, 5, 6, 7, 8, 9, 13, 14, 15, 16, 17, 18, 19, 20, 21}));
    for (int system = 1; system <= 7; ++system) settings.excludedSystem[system] = 1;
    EXPECT_TRUE(FitSection(s.x, s.y, s.n, settings).empty());
}

TEST(FitSection, RecoversKnownCurvesInTheirOwnSystems) {
    // Data made from an exact curve of a form: that form reproduces it.
    struct Curve {
        double (*f)(double);
        int form;
        Coefficients expected;
    };
    const Curve curves[] = {
        {[](double x) { return 0.5 * x * x * x - 2 * x * x + 3 * x - 4; }, 3, {0, 0.5, -2, 3, -4}},
        {[](double x) { return 1.5 * std::log(x) + 2; }, 4, {0, 1.5, 2}},
        {[](double x) { return std::exp(-0.3 * x + 1); }, 7, {0, -0.3, 1}},
        {[](double x) { return 3 * std::pow(x, 1.7); }, 10, {0, 1.7, std::log(3.0)}},
        {[](double x) { return 4 / x + 1; }, 13, {0, 4, 1}},
        {[](double x) { return 1 / (0.2 * x + 1); }, 16, {0, 0.2, 1}},
        {[](double x) { return 1 / (2 / x + 0.5); }, 19, {0, 2, 0.5}},
    };
    for (const Curve& curve : curves) {
        const Section s = FromFunction(12, curve.f, 0.5, 0.75);
        const std::vector<FitCandidate> candidates = FitSection(s.x, s.y, s.n, CalcSettings{});
        const FitCandidate* c = Find(candidates, curve.form);
        ASSERT_NE(c, nullptr) << curve.form;
        for (int k = 1; k <= CoefficientCount(curve.form); ++k) {
            EXPECT_NEAR(c->coefficient[k], curve.expected[k], 1e-6) << "form " << curve.form;
        }
        EXPECT_LT(c->meanDeviation, 1e-9) << curve.form;
    }
}

TEST(FitSection, ZeroObservationsUseTheComputedReference) {
    // Y = 0 at x = 1 with the line y = x - 1 exact: the reference of that
    // point is the computed value 0, so its deviation is divided by 1e-30 and
    // stays 0.
    const Section exact = Points({{"1", "0"}, {"2", "1"}, {"3", "2"}});
    const FitCandidate line = FitSection(exact.x, exact.y, exact.n, CalcSettings{})[0];
    EXPECT_LT(line.maxDeviation, 1e-9);
    // Off the line, the zero point's deviation is relative to the computed value.
    const Section off = Points({{"1", "0"}, {"2", "2"}, {"3", "2"}});
    const FitCandidate rough = FitSection(off.x, off.y, off.n, CalcSettings{})[0];
    const double yc1 = rough.coefficient[1] * 1 + rough.coefficient[2];
    EXPECT_GE(rough.maxDeviation, std::fabs(yc1 - 0) / std::fabs(yc1) - 1e-12);
}

TEST(FitSection, TooFewPointsLeaveThePartlyReducedSolution) {
    const Section two = Points({{"1", "2"}, {"2", "3"}});
    const std::vector<FitCandidate> candidates = FitSection(two.x, two.y, two.n, CalcSettings{});
    const FitCandidate* cubic = Find(candidates, 3);
    ASSERT_NE(cubic, nullptr);
    for (int k = 1; k <= 4; ++k) EXPECT_TRUE(std::isfinite(cubic->coefficient[k]));
    const FitCandidate* line = Find(candidates, 1);
    EXPECT_NEAR(line->coefficient[1], 1, 1e-12);
    EXPECT_LT(line->meanDeviation, 1e-12);
}

TEST(FitSection, ArithmeticFailuresAreRatedAndNeverReachTheTexts) {
    // A relative deviation or a coefficient beyond the float range is rated
    // with the largest float deviation.
    const Section wild =
        Points({{"1", "2e-20"}, {"2", "1e20"}, {"3", "2e-20"}, {"4", "1e20"}, {"5", "3e-20"}});
    const Section huge = Points({{"1e100", "1"}, {"2e100", "2"}, {"3e100", "4"}});
    for (const Section* s : {&wild, &huge}) {
        const std::vector<FitCandidate> candidates = FitSection(s->x, s->y, s->n, CalcSettings{});
        ASSERT_FALSE(candidates.empty());
        for (const FitCandidate& c : candidates) {
            EXPECT_TRUE(std::isfinite(c.meanDeviation) && std::isfinite(c.maxDeviation));
            EXPECT_LE(c.meanDeviation, std::numeric_limits<float>::max());
            EXPECT_TRUE(std::isfinite(MeanDeviationValue(c)));
            for (const std::string& text :
                 {DisplayText(c), ProgramText(c), MeanDeviationText(c), MaxDeviationText(c)}) {
                EXPECT_TRUE(test::FiniteText(text));
            }
        }
    }
    const std::vector<FitCandidate> rated = FitSection(wild.x, wild.y, wild.n, CalcSettings{});
    EXPECT_EQ(Find(rated, 1)->meanDeviation, std::numeric_limits<float>::max());
    EXPECT_EQ(MeanDeviationText(*Find(rated, 1)), " 3.40282E+38");
    // (1e100)^4 and ^6 overflow the sums of the quadratic and the cubic of
    // system 1: they keep their places in the list, rated as failed.
    const std::vector<FitCandidate> all = FitSection(huge.x, huge.y, huge.n, CalcSettings{});
    ASSERT_EQ(all.size(), 21u);
    for (int form = 1; form <= 21; ++form) EXPECT_EQ(all[form - 1].form, form);
    EXPECT_EQ(all[2].meanDeviation, std::numeric_limits<float>::max());
    EXPECT_EQ(all[2].c, (std::array<float, 5>{}));
    EXPECT_LT(all[0].meanDeviation, 1.0);
}

TEST(SectionFitter, FitsARunOfATableAsItsOwnSection) {
    const Section s = FromFunction(
        20, [](double x) { return x < 10 ? x : 21 - x; }, 1, 1);
    PointTable table;
    LoadPointTable(table, s.x, s.y, s.n);
    SectionFitter fitter;
    fitter.Fit(table, 12, 6, CalcSettings{});
    const FitCandidate& line = fitter.candidates()[0];
    EXPECT_NEAR(line.coefficient[1], -1, 1e-9);
    EXPECT_NEAR(line.coefficient[2], 21, 1e-9);

    struct Counter : FitObserver {
        int yields = 0, cubics = 0;
        void yieldEvents() override { ++yields; }
        void cubicSolved() override { ++cubics; }
    } counter;
    fitter.Fit(table, 1, 20, CalcSettings{}, &counter);
    EXPECT_EQ(counter.yields, 1);
    EXPECT_EQ(counter.cubics, 7);
}

// A fitter that fitted other sections of the table, or other tables, before
// gives what a new one gives. Rated for a choice, a section gives the same
// candidates and the same choice as rated in full, whichever system goes
// first: every candidate it rates has the very deviation and failure of the
// full rating, and every one it leaves outranked is, in full, failed or
// beyond the reach of the smallest deviation.
TEST(SectionFitter, ARatingForAChoiceKeepsTheChoice) {
    std::mt19937 random(20261208);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    PointTable table;
    SectionFitter full, choice;
    int outranked = 0, sections = 0;
    for (int round = 0; round < 600; ++round) {
        // Smooth curves with noise, some with zero or negative values, some
        // spanning many decades so that single deviations overflow a float.
        const int count = 3 + static_cast<int>(unit(random) * 98);
        const int shape = round % 6;
        const double noise = std::pow(10.0, -1 - 5 * unit(random));
        const double scale = std::pow(10.0, -3 + 6 * unit(random));
        for (int i = 1; i <= count; ++i) {
            const double x = shape == 5 ? i - count / 2 : 0.5 + i * (0.1 + unit(random) * 0.02);
            double y = shape == 0   ? scale * (x * x - 3 * x + 1)
                       : shape == 1 ? scale * std::exp(0.2 * x)
                       : shape == 2 ? scale / (x + 0.3)
                       : shape == 3 ? scale * std::log(x + 1)
                       : shape == 4 ? std::pow(10.0, -20 + 40 * unit(random))
                                    : scale * x;
            y *= 1 + noise * (unit(random) - 0.5);
            SetTablePoint(table, i, x, y);
        }
        table.count = count;
        const int first = 1 + static_cast<int>(unit(random) * (count - 1) / 2);
        const int n = count - first + 1;
        const int firstSystem = static_cast<int>(unit(random) * 8);  // 0: none
        // The choice fitter has summed a shorter section from the same point,
        // and the last round's table, before: its sums are extended.
        choice.Fit(table, first, (n + 1) / 2, CalcSettings{}, nullptr, Rating::kForChoice);
        auto fresh = std::make_unique<SectionFitter>();
        fresh->Fit(table, first, n, CalcSettings{});
        full.Fit(table, first, n, CalcSettings{});
        choice.Fit(table, first, n, CalcSettings{}, nullptr, Rating::kForChoice, firstSystem);
        ++sections;
        for (std::size_t i = 0; i < full.candidates().size(); ++i) {
            EXPECT_EQ(fresh->candidates()[i].coefficient, full.candidates()[i].coefficient);
            EXPECT_EQ(fresh->candidates()[i].meanDeviation, full.candidates()[i].meanDeviation);
        }

        const std::span<const FitCandidate> a = full.candidates(), b = choice.candidates();
        ASSERT_EQ(a.size(), b.size());
        double smallest = std::numeric_limits<double>::infinity();
        for (const FitCandidate& c : a) {
            if (!c.failed) smallest = std::min(smallest, c.meanDeviation);
        }
        for (std::size_t i = 0; i < a.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "round " << round << " form " << a[i].form);
            EXPECT_EQ(a[i].form, b[i].form);
            EXPECT_EQ(a[i].coefficient, b[i].coefficient);
            EXPECT_EQ(a[i].c, b[i].c);
            EXPECT_FALSE(a[i].outranked);
            if (b[i].outranked) {
                ++outranked;
                EXPECT_FALSE(b[i].failed);
                EXPECT_TRUE(a[i].failed || (a[i].meanDeviation > ChoiceReach(smallest) &&
                                            a[i].meanDeviation >= 1e-30));
            } else {
                EXPECT_EQ(a[i].failed, b[i].failed);
                if (!a[i].failed) {
                    EXPECT_EQ(a[i].meanDeviation, b[i].meanDeviation);
                }
            }
        }
    }
    EXPECT_GT(outranked, sections);  // candidates were left part way

    // A rating fails on a single deviation beyond a float while the mean
    // stays within one; the choice, keeping no largest deviation, sees it too.
    for (int i = 1; i <= 10; ++i) SetTablePoint(table, i, i, i == 5 ? 4e-19 : 1e20 * i);
    table.count = 10;
    full.Fit(table, 1, 10, CalcSettings{});
    choice.Fit(table, 1, 10, CalcSettings{}, nullptr, Rating::kForChoice);
    const Coefficients& line = full.candidates()[0].coefficient;
    double sum = 0, largest = 0;
    for (int i = 1; i <= 10; ++i) {
        const double y = table.y[i];
        const double deviation = std::fabs((line[1] * i + line[2] - y) / y);
        sum += deviation;
        largest = std::max(largest, deviation);
    }
    ASSERT_LE(sum / 10, std::numeric_limits<float>::max());
    ASSERT_GT(largest, std::numeric_limits<float>::max());
    EXPECT_TRUE(full.candidates()[0].failed);
    EXPECT_TRUE(choice.candidates()[0].failed);
}

}  // namespace
}  // namespace kx::core
