#include "core/plot/curve_samples.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace kx::core {
namespace {

std::vector<CurveSample> Samples(int form, Coefficients c, float from, float to, bool logAxis) {
    std::vector<CurveSample> samples;
    EvaluateSection({form, c, from, to}, logAxis, samples);
    return samples;
}

bool Ascending(const std::vector<CurveSample>& samples) {
    return std::is_sorted(samples.begin(), samples.end(),
                          [](const CurveSample& a, const CurveSample& b) { return a.x < b.x; });
}

TEST(EvaluateSection, LinearSamplingTakesEqualFloatSteps) {
    const auto samples = Samples(1, {0, 2, 1, 0, 0}, 0.0f, 299.0f, false);  // Y = 2X + 1
    ASSERT_EQ(samples.size(), 300u);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        EXPECT_EQ(samples[i].x, static_cast<float>(i));
        EXPECT_EQ(samples[i].y, 2.0f * static_cast<float>(i) + 1.0f);
    }
    // Steps that do not add up to `to` exactly give one sample less or more,
    // never one beyond it.
    const auto uneven = Samples(1, {0, 1, 0, 0, 0}, 0.1f, 0.7f, false);
    EXPECT_GE(uneven.size(), 299u);
    EXPECT_LE(uneven.size(), 300u);
    EXPECT_LE(uneven.back().x, 0.7f);
}

TEST(EvaluateSection, LogSamplingStartsOneRatioStepAfterFrom) {
    const auto samples = Samples(1, {0, 1, 0, 0, 0}, 1.0f, 100.0f, true);
    // k = 1..299 at most: X = from itself is not taken, and the last may round past 100.
    ASSERT_GE(samples.size(), 298u);
    ASSERT_LE(samples.size(), 299u);
    EXPECT_FLOAT_EQ(samples.front().x, static_cast<float>(std::pow(100.0, 1.0 / 299)));
    EXPECT_LE(samples.back().x, 100.0f);
    EXPECT_GT(samples.back().x, 98.0f);
    EXPECT_TRUE(Ascending(samples));
}

TEST(EvaluateSection, LogFormsSkipXAtOrBelowZero) {
    for (const int form : {4, 5, 6, 10, 11, 12}) {
        const auto samples = Samples(form, {0, 0.1, 0.1, 0.1, 0.1}, -1.0f, 1.0f, false);
        ASSERT_FALSE(samples.empty()) << form;
        EXPECT_GT(samples.front().x, 0.0f) << form;
        EXPECT_NEAR(samples.back().x, 1.0f, 0.01f) << form;
        EXPECT_NEAR(static_cast<double>(samples.size()), 150.0, 2.0) << form;
    }
}

TEST(EvaluateSection, ExponentLimitsDependOnTheSampling) {
    // Form 7 with v = X: on a linear axis only v < 30 is drawn, on a
    // logarithmic one v < 50, so v = 40 is reached there.
    const auto linear = Samples(7, {0, 1, 0, 0, 0}, 1.0f, 40.0f, false);
    ASSERT_FALSE(linear.empty());
    EXPECT_LT(linear.back().x, 30.0f);
    EXPECT_GT(linear.back().x, 29.8f);
    EXPECT_FLOAT_EQ(linear.back().y, std::exp(linear.back().x));

    const auto logarithmic = Samples(7, {0, 1, 0, 0, 0}, 1.0f, 40.0f, true);
    EXPECT_GT(logarithmic.back().x, 39.0f);
    // Below the limit too: v = -40 is left out on a linear axis only.
    EXPECT_TRUE(Samples(7, {0, 1, 0, 0, 0}, -40.0f, -35.0f, false).empty());
    EXPECT_EQ(Samples(10, {0, -1, -36, 0, 0}, 1.0f, 10.0f, true).size(),
              Samples(1, {0, 1, 0, 0, 0}, 1.0f, 10.0f, true).size());
}

TEST(EvaluateSection, InverseFormsStepOverXZero) {
    // From -299 in steps of 1 the walk lands exactly on 0.
    for (const int form : {13, 14, 15, 19, 20, 21}) {
        const auto samples = Samples(form, {0, 1, 1, 1, 1}, -299.0f, 0.0f, false);
        EXPECT_EQ(samples.size(), 299u) << form;
        EXPECT_EQ(samples.back().x, -1.0f) << form;
        const auto after = Samples(form, {0, 1, 1, 1, 1}, 0.0f, 299.0f, false);
        EXPECT_EQ(after.size(), 299u) << form;
        EXPECT_EQ(after.front().x, 1.0f) << form;
    }
}

TEST(EvaluateSection, FailuresEndTheSectionExceptForPlainInverseForms) {
    // 1E36 X^3 leaves the float range above X = 6.98: the curve ends there.
    const auto cubic = Samples(3, {0, 1e36, 0, 0, 0}, 1.0f, 300.0f, false);
    ASSERT_FALSE(cubic.empty());
    EXPECT_LT(cubic.back().x, 7.0f);
    EXPECT_EQ(cubic.front().x, 1.0f);
    // 1E40 / X fits a float only beyond X = 29.4: the samples before are skipped.
    const auto inverse = Samples(13, {0, 1e40, 0, 0, 0}, 1.0f, 300.0f, false);
    ASSERT_FALSE(inverse.empty());
    EXPECT_GT(inverse.front().x, 29.3f);
    EXPECT_EQ(inverse.back().x, 300.0f);
    // A zero denominator counts as 1E-30.
    const auto flat = Samples(16, {0, 0, 0, 0, 0}, 1.0f, 2.0f, false);
    ASSERT_FALSE(flat.empty());
    EXPECT_FLOAT_EQ(flat.front().y, 1e30f);
    // No form, no curve.
    EXPECT_TRUE(Samples(0, {0, 1, 1, 1, 1}, 1.0f, 2.0f, false).empty());
}

TEST(EvaluateSection, DegenerateRangesEnd) {
    // Equal first and last X: one sample instead of an endless walk.
    for (const bool logAxis : {false, true}) {
        const auto single = Samples(1, {0, 1, 0, 0, 0}, 5.0f, 5.0f, logAxis);
        ASSERT_EQ(single.size(), 1u);
        EXPECT_EQ(single[0].x, 5.0f);
    }
    // A step lost below the float's precision, a range running backwards,
    // and ends beyond a float.
    EXPECT_LE(Samples(1, {0, 1, 0, 0, 0}, 1e7f, 1e7f + 1.0f, false).size(), 2u);
    EXPECT_LE(Samples(1, {0, 1, 0, 0, 0}, 1e7f, 1e7f + 1.0f, true).size(),
              static_cast<std::size_t>(kMaxCurveSamples));
    EXPECT_TRUE(Samples(1, {0, 1, 0, 0, 0}, 2.0f, 1.0f, false).empty());
    EXPECT_TRUE(Samples(1, {0, 1, 0, 0, 0}, -INFINITY, 1.0f, false).empty());
    const auto wide = Samples(1, {0, 1, 0, 0, 0}, -3e38f, 3e38f, false);
    EXPECT_LE(wide.size(), 1u);
}

TEST(EvaluateForm, EachSystemTransformsXAndY) {
    // C1..C4 = 1, 2, 3, 4 at X = 2: P(u) is u + 2, u^2 + 2u + 3, u^3 + 2u^2 + 3u + 4.
    const auto p = [](int degree, double u) {
        return degree == 1   ? u + 2
               : degree == 2 ? u * u + 2 * u + 3
                             : u * u * u + 2 * u * u + 3 * u + 4;
    };
    const double ln2 = std::log(2.0);
    for (int degree = 1; degree <= 3; ++degree) {
        const double expected[8] = {0,
                                    p(degree, 2),
                                    p(degree, ln2),
                                    std::exp(p(degree, 2)),
                                    std::exp(p(degree, ln2)),
                                    p(degree, 0.5),
                                    1 / p(degree, 2),
                                    1 / p(degree, 0.5)};
        for (int system = 1; system <= 7; ++system) {
            const int form = FormNumber(system, degree);
            float y = 0.0f;
            ASSERT_EQ(EvaluateForm(form, {0, 1, 2, 3, 4}, 2.0f, true, y), SampleOutcome::kValid)
                << form;
            EXPECT_FLOAT_EQ(y, static_cast<float>(expected[system])) << form;
        }
    }
}

}  // namespace
}  // namespace kx::core
