// The numeric-text rules on arbitrary bytes: they never fail, never write
// "inf" or "nan", and what they write reads back as what they were given.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "core/data/numeric_text.h"
#include "core/fitting/scientific_text.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool HasNonFiniteWord(const std::string& text) {
    return text.find("inf") != std::string::npos || text.find("nan") != std::string::npos;
}

void CheckFloat(float value) {
    const std::string text = kx::core::SingleToText(value);
    Check(!HasNonFiniteWord(text) && !text.empty() && text.size() <= 14);
    Check(kx::core::IsNumericText(text));
    if (std::isfinite(value)) {
        const double back = kx::core::ValueOfText(text);
        Check(value == 0.0f ? back == 0.0 : std::fabs(back / value - 1.0) < 1e-6);
    }
    const std::string plain = kx::core::SingleToPlainText(value);
    Check(kx::core::ValueOfText(plain) == kx::core::ValueOfText(text));
}

void CheckScientific(double value) {
    const std::string text = kx::core::ScientificText(value);
    Check(!HasNonFiniteWord(text) && (text.size() == 12 || text.size() == 13));
    const double fromText = kx::core::ValueOfText(text);
    const double direct = kx::core::ScientificValue(value);
    Check(fromText == direct || (std::isnan(fromText) && std::isnan(direct)));
    if (std::isfinite(value) && value != 0.0 && std::fabs(value) > 1e-300) {
        Check(std::fabs(fromText / value - 1.0) < 2e-5);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    kx::core::IsNumericText(text);
    const double value = kx::core::ValueOfText(text);
    Check(!std::isnan(value));
    if (kx::core::FitsSingle(value)) CheckFloat(static_cast<float>(value));
    CheckScientific(value);
    if (size >= sizeof(float)) {
        float bits;
        std::memcpy(&bits, data, sizeof bits);
        CheckFloat(bits);
    }
    if (size >= sizeof(double)) {
        double bits;
        std::memcpy(&bits, data, sizeof bits);
        CheckScientific(bits);
    }
    return 0;
}
