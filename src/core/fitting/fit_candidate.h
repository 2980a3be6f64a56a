#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/fitting/equation_form.h"

namespace kx::core {

// One fitted equation form of a section.
struct FitCandidate {
    int16_t form = 0;
    Coefficients coefficient{};  // the double-precision solution, C1..C4
    std::array<float, 5> c{};    // the stored coefficients, C1..C4
    double meanDeviation = 0.0;  // mean |relative deviation| over the section
    double maxDeviation = 0.0;   // largest |relative deviation|
    bool failed = false;         // the rating failed arithmetically (see SectionFitter)
    // Rated for a choice only: its mean deviation was seen to exceed the reach
    // of a better candidate's before all points were taken, and its rating
    // was left there (see Rating::kForChoice).
    bool outranked = false;
    // The section has more distinct X than the form has coefficients, so its
    // deviation tells how well it follows the points: only such a form is
    // chosen (every form, where no form has that many).
    bool choosable = true;
};

std::string MeanDeviationText(const FitCandidate& candidate);
// The value of the mean deviation text, as a float: what the choice of a form
// compares.
float MeanDeviationValue(const FitCandidate& candidate);
std::string MaxDeviationText(const FitCandidate& candidate);
std::string DisplayText(const FitCandidate& candidate);
std::string ProgramText(const FitCandidate& candidate);

}  // namespace kx::core
