#include "core/fitting/fit_candidate.h"

#include "core/fitting/scientific_text.h"

namespace kx::core {

std::string MeanDeviationText(const FitCandidate& c) {
    return ScientificText(c.meanDeviation);
}
float MeanDeviationValue(const FitCandidate& c) {
    return static_cast<float>(ScientificValue(c.meanDeviation));
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

}  // namespace kx::core
