// Writes samples/family.dat: the forward characteristics of a silicon
// rectifier diode at five junction temperatures, as read off a datasheet
// graph (current in mA on a logarithmic X axis, forward voltage in V).
// The points carry a small reading scatter and four significant digits,
// like points clicked on a scanned graph.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/data/data_set.h"
#include "core/data/numeric_text.h"
#include "core/files/data_file.h"
#include "core/files/save_file.h"

namespace {

// Shockley diode with series resistance; the saturation current follows the
// usual temperature law.
double ForwardVoltage(double currentMilliamps, double celsius) {
    constexpr double kBoltzmannOverQ = 8.617333e-5;  // V/K
    constexpr double kReference = 300.15;            // K
    constexpr double kIdeality = 1.8;
    constexpr double kGap = 1.11;                      // eV
    constexpr double kSaturationAtReference = 2.5e-9;  // A
    constexpr double kSeriesOhms = 0.5;
    const double kelvin = celsius + 273.15;
    const double thermal = kBoltzmannOverQ * kelvin;
    const double saturation = kSaturationAtReference *
                              std::pow(kelvin / kReference, 3.0 / kIdeality) *
                              std::exp((kelvin / kReference - 1.0) * kGap / (kIdeality * thermal));
    const double amps = currentMilliamps * 1e-3;
    return kIdeality * thermal * std::log(amps / saturation + 1.0) + amps * kSeriesOhms;
}

double FourDigits(double value) {
    const double scale = std::pow(10.0, 3 - std::floor(std::log10(std::fabs(value))));
    return std::nearbyint(value * scale) / scale;
}

// A fixed pseudo-random scatter in [-1, 1], the same on every run.
double Scatter(std::uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return static_cast<double>(state >> 8) / static_cast<double>(1u << 23) - 1.0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_family OUTPUT\n");
        return 2;
    }
    struct Curve {
        const char* celsius;
        int points;
    };
    const Curve curves[] = {{"-25", 18}, {"0", 22}, {"25", 26}, {"75", 31}, {"125", 36}};

    kx::core::DataSet data;
    for (int line = 1; line <= kx::core::kMaxLines; ++line) kx::core::ResetLine(data, line);
    std::uint32_t state = 20261208u;
    int line = 1;
    for (const Curve& curve : curves) {
        const double celsius = kx::core::ValueOfText(curve.celsius);
        data.parameterText[line] = curve.celsius;
        for (int p = 0; p < curve.points; ++p) {
            // 0.05 mA to 200 mA, evenly spaced in log(I), read with a scatter
            // of about half a percent of a decade on X and 1 mV on Y.
            const double decades = std::log10(200.0 / 0.05) * p / (curve.points - 1);
            const double current = 0.05 * std::pow(10.0, decades + 0.004 * Scatter(state));
            const double voltage = ForwardVoltage(current, celsius) + 0.001 * Scatter(state);
            kx::core::AppendPoint(data, line,
                                  kx::core::SingleToText(static_cast<float>(FourDigits(current))),
                                  kx::core::SingleToText(static_cast<float>(FourDigits(voltage))));
        }
        ++line;
    }
    const kx::core::SaveOutcome saved =
        kx::core::SaveText(argv[1], kx::core::AllLinesDataText(data));
    if (saved.status != kx::core::SaveStatus::kSaved) {
        std::fprintf(stderr, "make_family: %s: 書込めません。\n", argv[1]);
        return 1;
    }
    return 0;
}
