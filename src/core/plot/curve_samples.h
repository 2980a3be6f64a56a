#pragma once

#include <vector>

#include "core/fitting/equation_form.h"

// Sampling of one fitted section for its curve.
namespace kx::core {

inline constexpr int kMaxCurveSamples = 500;

struct CurveSample {
    float x = 0.0f;
    float y = 0.0f;
};

// What a section's curve is drawn from: its form, C1..C4 (C3 and C4 are 0 for
// the two-coefficient forms) and the X of its first and last point.
struct SectionCurve {
    int form = 0;
    Coefficients c{};
    float from = 0.0f;
    float to = 0.0f;
};

enum class SampleOutcome {
    kValid,    // y holds the value
    kSkipped,  // the form has no value here; sampling goes on
    kFailed,   // an arithmetic failure; the section's curve ends here
};

// Y of a form at x, computed in double from the 32-bit x. Logarithmic sampling
// allows exponents up to 50 instead of 30 for the forms in ln Y. The forms in
// ln X have no value for x <= 0 and those in 1/X none at x = 0; a zero
// denominator of the forms in 1/Y is taken as 1E-30; a result beyond a float
// fails, except for the forms Y = P(1/X), whose failing samples are skipped.
SampleOutcome EvaluateForm(int form, const Coefficients& c, float x, bool logSampling, float& y);

// The samples of a section, in ascending X: 299 equal float steps from `from`
// while X <= to, or on a logarithmic X axis (when from > 0) the points
// from x exp(k r), k = 1, 2, .., r = ln(to / from) / 299, up to `to`. Invalid
// samples are left out; a failure ends the section with what was gathered, and
// so does a 501st sample. A section whose first and last X are equal gives its
// one sample; a step lost in the float's precision ends the walk.
void EvaluateSection(const SectionCurve& section, bool logAxis, std::vector<CurveSample>& samples);

}  // namespace kx::core
