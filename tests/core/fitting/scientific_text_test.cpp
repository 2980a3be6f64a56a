#include "core/fitting/scientific_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "core/data/numeric_text.h"

namespace kx::core {
namespace {

struct Case {
    double value;
    const char* text;
    friend void PrintTo(const Case& c, std::ostream* os) { *os << c.value; }
};

class ScientificTextTest : public ::testing::TestWithParam<Case> {};

TEST_P(ScientificTextTest, WritesTwelveCharacters) {
    EXPECT_EQ(ScientificText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ScientificTextTest,
    ::testing::Values(Case{1234.5, " 1.23450E+03"}, Case{-0.00123, "-1.23000E-03"},
                      Case{5, " 5.00000E+00"}, Case{0.00076, " 7.60000E-04"},
                      Case{0, "-0.00000E-50"}, Case{-2.5, "-2.50000E+00"},
                      Case{0.5, " 5.00000E-01"}, Case{2, " 2.00000E+00"},
                      // Digits beyond the fifth decimal are cut, not rounded.
                      Case{1.2345699, " 1.23456E+00"}, Case{9.999999, " 9.99999E+00"},
                      Case{-987654.321, "-9.87654E+05"}, Case{1, " 1.00000E+00"},
                      Case{10, " 1.00000E+01"}, Case{0.1, " 1.00000E-01"},
                      Case{1e15, " 1.00000E+15"}, Case{3.4028234663852886e38, " 3.40282E+38"},
                      // Magnitudes beyond 50 scaling steps keep their real exponent.
                      Case{2e60, " 2.00000E+60"}, Case{1e200, " 1.00000E+200"}));

TEST(ScientificText, NonFiniteValuesNeverReachTheText) {
    EXPECT_EQ(ScientificText(std::numeric_limits<double>::quiet_NaN()), "-0.00000E-50");
    EXPECT_EQ(ScientificText(std::numeric_limits<double>::infinity()), " 1.79769E+308");
    EXPECT_EQ(ScientificText(-std::numeric_limits<double>::infinity()), "-1.79769E+308");
}

TEST(ScientificText, TinyValuesAreScaledToTheirExponent) {
    const std::string text = ScientificText(3e-60);
    EXPECT_TRUE(text == " 3.00000E-60" || text == " 2.99999E-60") << text;
}

TEST(ScientificValue, EqualsTheValueOfTheText) {
    std::mt19937 random(3);
    std::uniform_real_distribution<double> exponent(-40.0, 40.0);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    for (int i = 0; i < 20000; ++i) {
        double value = mantissa(random) * std::pow(10.0, std::floor(exponent(random)));
        if (i % 3 == 0) value = -value;
        if (i % 7 == 0) value = std::round(value * 1e5) / 1e5;  // many exact decimals
        const double fromText = ValueOfText(ScientificText(value));
        ASSERT_EQ(ScientificValue(value), fromText) << ScientificText(value);
        EXPECT_LE(std::fabs(fromText - value), 1e-5 * std::fabs(value));
        EXPECT_LE(std::fabs(fromText), std::fabs(value) * (1 + 1e-15));  // cut, never rounded up
    }
    EXPECT_EQ(ScientificValue(0.0), 0.0);
    EXPECT_EQ(ScientificValue(1e-60), ValueOfText(ScientificText(1e-60)));
}

}  // namespace
}  // namespace kx::core
