#include "core/plot/curve_samples.h"

#include <cmath>

#include "core/data/numeric_text.h"
#include "core/plot/plot_frame.h"

namespace kx::core {
namespace {

constexpr int kSampleSteps = 299;
constexpr int kMostSampleSteps = kMaxCurveSamples;  // bounds every walk, whatever its step
constexpr double kLinearExponentLimit = 30.0;
constexpr double kLogExponentLimit = 50.0;
constexpr double kZeroDenominator = 1e-30;

enum System { kPlain = 1, kLogX, kLogY, kLogXLogY, kInverseX, kInverseY, kInverseXInverseY };

// The form's polynomial, C1 at the highest power.
double Polynomial(int degree, const Coefficients& c, double u) {
    switch (degree) {
        case 1: return c[1] * u + c[2];
        case 2: return c[1] * u * u + c[2] * u + c[3];
        default: return c[1] * u * u * u + c[2] * u * u + c[3] * u + c[4];
    }
}

// The value of a form of a logarithmic Y system (Ln X against Ln Y with
// `logX`): an exponent beyond `limit` leaves the point out of the curve.
SampleOutcome ExponentialValue(int degree, const Coefficients& c, double u, bool logX,
                               double limit, double& value) {
    if (logX && u <= 0.0) return SampleOutcome::kSkipped;
    const double v = Polynomial(degree, c, logX ? std::log(u) : u);
    if (!std::isfinite(v)) return SampleOutcome::kFailed;
    if (!(-limit < v && v < limit)) return SampleOutcome::kSkipped;
    value = std::exp(v);
    return SampleOutcome::kValid;
}

// The value of a form of a reciprocal Y system (1 / X against 1 / Y with
// `inverseX`).
SampleOutcome ReciprocalValue(int degree, const Coefficients& c, double u, bool inverseX,
                              double& value) {
    // At X = 0 the curve has no value of its own; the rest of the section has.
    if (inverseX && u == 0.0) return SampleOutcome::kSkipped;
    double w = Polynomial(degree, c, inverseX ? 1.0 / u : u);
    if (w == 0.0) w = kZeroDenominator;
    value = 1.0 / w;
    return SampleOutcome::kValid;
}

// The value of a form at u in plain units, before the check that a float
// holds it.
SampleOutcome FormValue(int form, const Coefficients& c, double u, double limit, double& value) {
    const int degree = DegreeOfForm(form);
    switch (SystemOfForm(form)) {
        case kPlain: value = Polynomial(degree, c, u); return SampleOutcome::kValid;
        case kLogX:
            if (u <= 0.0) return SampleOutcome::kSkipped;
            value = Polynomial(degree, c, std::log(u));
            return SampleOutcome::kValid;
        case kLogY: return ExponentialValue(degree, c, u, false, limit, value);
        case kLogXLogY: return ExponentialValue(degree, c, u, true, limit, value);
        case kInverseX:
            if (u == 0.0) return SampleOutcome::kSkipped;
            value = Polynomial(degree, c, 1.0 / u);
            return FitsSingle(value) ? SampleOutcome::kValid : SampleOutcome::kSkipped;
        case kInverseY: return ReciprocalValue(degree, c, u, false, value);
        default: return ReciprocalValue(degree, c, u, true, value);
    }
}

}  // namespace

SampleOutcome EvaluateForm(int form, const Coefficients& c, float x, bool logSampling, float& y) {
    if (form < 1 || form > kFormCount) return SampleOutcome::kFailed;
    const double limit = logSampling ? kLogExponentLimit : kLinearExponentLimit;
    double value = 0.0;
    if (const SampleOutcome outcome = FormValue(form, c, x, limit, value);
        outcome != SampleOutcome::kValid) {
        return outcome;
    }
    if (!FitsSingle(value)) return SampleOutcome::kFailed;
    y = static_cast<float>(value);
    return SampleOutcome::kValid;
}

void EvaluateSection(const SectionCurve& section, bool logAxis,
                     std::vector<CurveSample>& samples) {
    samples.clear();
    const float from = section.from;
    const float to = section.to;
    if (!std::isfinite(from) || !std::isfinite(to) || from > to) return;
    const bool logSampling = logAxis && from > 0.0f;

    // False when the section's evaluation ends.
    const auto take = [&](float x) {
        float y = 0.0f;
        switch (EvaluateForm(section.form, section.c, x, logSampling, y)) {
            case SampleOutcome::kValid:
                if (samples.size() == kMaxCurveSamples) return false;
                samples.push_back({x, y});
                return true;
            case SampleOutcome::kSkipped: return true;
            case SampleOutcome::kFailed: return false;
        }
        return false;
    };

    if (from == to) {
        take(from);
        return;
    }
    if (logSampling) {
        const auto r = static_cast<float>(std::log(static_cast<double>(to) / from) / kSampleSteps);
        for (int k = 1; k <= kMostSampleSteps; ++k) {
            const float x = AsFloat(from * std::exp(k * static_cast<double>(r)));
            if (x > to || !take(x)) return;
        }
        return;
    }
    const float step = (to - from) / static_cast<float>(kSampleSteps);
    float x = from;
    for (int k = 0; k <= kMostSampleSteps && x <= to; ++k) {
        if (!take(x)) return;
        const float next = x + step;
        if (!(next > x)) return;
        x = next;
    }
}

}  // namespace kx::core
