// The fit's logarithm is the same to the last bit on Linux and on Windows: the
// correctly rounded one.
#include "core/fitting/elementary.h"

#include <gtest/gtest.h>
#include <quadmath.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <limits>
#include <random>
#include <string>

#include "core/data/numeric_text.h"

namespace kx::core {
namespace {

// The correctly rounded value's bits where the MinGW-w64 runtime's log is one
// unit off: a point of the noisy test family (its log moved a printed
// coefficient there) and a deviation of its fit, as a float, whose grade Gr
// the listing prints.
TEST(Log, IsCorrectlyRoundedWhereTheWindowsRuntimeMissesIt) {
    EXPECT_EQ(std::bit_cast<std::uint64_t>(Log(334.642)), 0x401740932473ee55u);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(Log(static_cast<double>(0.00931539f))),
              0xc012b45040e5f499u);
    EXPECT_EQ(RoundedLog(1.0), 0.0);
    EXPECT_EQ(RoundedLog(0.0), -std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(RoundedLog(-1.0)));
    EXPECT_EQ(RoundedLog(std::numeric_limits<double>::infinity()),
              std::numeric_limits<double>::infinity());
    // A subnormal keeps its place: log(2^-1074) = -1074 ln 2.
    EXPECT_EQ(RoundedLog(std::numeric_limits<double>::denorm_min()), -744.4400719213812);
}

// Against GCC's quadruple precision rounded once: the values of the data files'
// form (k / 1000), values near 1, where the logarithm is small, and magnitudes
// over the whole range of doubles, subnormals among them.
TEST(Log, RoundedLogIsTheQuadruplePrecisionValueRoundedOnce) {
    const auto expectSame = [](double x) {
        const double quadruple = static_cast<double>(logq(static_cast<__float128>(x)));
        ASSERT_EQ(std::bit_cast<std::uint64_t>(RoundedLog(x)),
                  std::bit_cast<std::uint64_t>(quadruple))
            << std::hexfloat << x;
    };
    for (int k = 1; k <= 200000; ++k) expectSame(k / 1000.0);
    for (int k = 1; k <= 20000; ++k) {
        expectSame(1.0 + k * 1e-13);
        expectSame(1.0 - k * 1e-13);
    }
    std::mt19937_64 random(27);
    std::uniform_real_distribution<double> mantissa(0.5, 1.0);
    std::uniform_int_distribution<int> exponent(-1074, 1024);
    for (int i = 0; i < 100000; ++i) expectSame(std::ldexp(mantissa(random), exponent(random)));
    expectSame(std::numeric_limits<double>::max());
    expectSame(std::numeric_limits<double>::min());
    expectSame(std::nextafter(1.0, 2.0));
    expectSame(std::nextafter(1.0, 0.0));
}

// Every value of the sample and the test families: the platform's logarithm is
// the correctly rounded one, on which the listings of the two builds agree.
TEST(Log, OfEveryPointOfTheFamiliesIsTheCorrectlyRoundedOne) {
    int values = 0;
    for (const char* path :
         {KX_SAMPLE_FILE, KX_GOLDEN_DATA_DIR "/noisy_10x100.dat",
          KX_GOLDEN_DATA_DIR "/noisy_10x30.dat", KX_GOLDEN_DATA_DIR "/three_sections.dat",
          KX_GOLDEN_DATA_DIR "/awkward.dat"}) {
        std::ifstream file(path, std::ios::binary);
        ASSERT_TRUE(file) << path;
        for (std::string line; std::getline(file, line);) {
            const std::size_t comma = line.find(',');
            if (comma == std::string::npos || line.find(',', comma + 1) != std::string::npos) {
                continue;  // a block's header
            }
            for (const std::string& text : {line.substr(0, comma), line.substr(comma + 1)}) {
                const double value = ValueOfText(text);
                if (!(value > 0.0)) continue;
                ++values;
                EXPECT_EQ(std::bit_cast<std::uint64_t>(Log(value)),
                          std::bit_cast<std::uint64_t>(RoundedLog(value)))
                    << path << ": " << text;
            }
        }
    }
    EXPECT_GT(values, 2000);
}

}  // namespace
}  // namespace kx::core
