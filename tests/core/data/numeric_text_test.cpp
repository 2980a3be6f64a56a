#include "core/data/numeric_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "core/data/text_chars.h"
#include "support/finite_text.h"

namespace kx::core {
namespace {

struct ValueCase {
    const char* text;
    double value;
    friend void PrintTo(const ValueCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }
};

class ValueOfTextTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ValueOfTextTest, ReadsTheLeadingNumber) {
    EXPECT_DOUBLE_EQ(ValueOfText(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ValueOfTextTest,
    ::testing::Values(ValueCase{"1.5D3", 1500}, ValueCase{"2e-3", 0.002}, ValueCase{"1-2", 1},
                      ValueCase{"-", 0}, ValueCase{" 12", 12}, ValueCase{"", 0},
                      ValueCase{"1 2", 12}, ValueCase{"1\t2\n3", 123}, ValueCase{"-.5", -0.5},
                      ValueCase{"+7.", 7}, ValueCase{"1.2.3", 1.2}, ValueCase{"1e", 1},
                      ValueCase{"1e+", 1}, ValueCase{"3d2x", 300}, ValueCase{"abc", 0},
                      ValueCase{"1,5", 1}, ValueCase{"12.5\r\n", 12.5}, ValueCase{"1E 2", 100},
                      ValueCase{"0.000000000000000000001e21", 1}, ValueCase{"7.6D-4", 0.00076}));

TEST(ValueOfText, NumbersBeyondADoubleBecomeInfinityOrZero) {
    EXPECT_EQ(ValueOfText("1e999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ValueOfText("-1e999"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(ValueOfText("1e-999"), 0.0);
    EXPECT_EQ(ValueOfText("0.00001e-400"), 0.0);
    EXPECT_EQ(ValueOfText("123456789e99999999999999"), std::numeric_limits<double>::infinity());
    EXPECT_FALSE(FitsSingle(ValueOfText("1e39")));
    EXPECT_TRUE(FitsSingle(ValueOfText("3e38")));
}

TEST(IsNumericText, TestsCharactersOnly) {
    for (const char* good : {"1.0E+05", "-3d2", "", "  42  ", "++--", "1.5D3"}) {
        EXPECT_TRUE(IsNumericText(good)) << good;
    }
    for (const char* bad : {"1,5", "1 5", "abc", "10 K", "1.5;2", "1\t5", "x"}) {
        EXPECT_FALSE(IsNumericText(bad)) << bad;
    }
}

struct TextCase {
    float value;
    const char* shortText;
    const char* plainText;
    friend void PrintTo(const TextCase& c, std::ostream* os) { *os << c.value; }
};

class SingleTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(SingleTextTest, WritesTheShortAndPlainForms) {
    EXPECT_EQ(SingleToText(GetParam().value), GetParam().shortText);
    EXPECT_EQ(SingleToPlainText(GetParam().value), GetParam().plainText);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SingleTextTest,
    ::testing::Values(TextCase{1.5f, "1.5", "1.5"}, TextCase{0.001f, ".001", "0.001"},
                      TextCase{-0.25f, "-.25", "-0.25"}, TextCase{-20.0f, "-20", "-20"},
                      TextCase{1500.0f, "1500", "1500"}, TextCase{1e15f, "1E+15", "1E+15"},
                      TextCase{0.5f, ".5", "0.5"}, TextCase{0.0f, "0", "0"},
                      TextCase{-0.0f, "0", "0"}, TextCase{1234567.0f, "1234567", "1234567"},
                      TextCase{12345678.0f, "1.234568E+07", "1.234568E+07"},
                      TextCase{1e-5f, "1E-05", "1E-05"}, TextCase{0.0001f, ".0001", "0.0001"},
                      TextCase{2.25f, "2.25", "2.25"}, TextCase{123.457f, "123.457", "123.457"},
                      TextCase{-1.5e-7f, "-1.5E-07", "-1.5E-07"}));

TEST(SingleToText, NeverWritesInfinityOrNan) {
    for (float v :
         {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
          std::numeric_limits<float>::quiet_NaN()}) {
        EXPECT_TRUE(test::FiniteText(SingleToText(v)));
    }
}

TEST(SingleToText, ReadsBackWithinSevenDigits) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> exponent(-30.0, 30.0);
    for (int i = 0; i < 2000; ++i) {
        const float value =
            static_cast<float>(std::pow(10.0, exponent(random)) * (i % 2 == 0 ? 1 : -1));
        const double back = ValueOfText(SingleToText(value));
        EXPECT_NEAR(back / value, 1.0, 5e-7) << SingleToText(value);
        EXPECT_LE(SingleToText(value).size(), 13u);
    }
}

TEST(StrText, PutsABlankBeforeNonNegativeValues) {
    EXPECT_EQ(StrText(0.5f), " .5");
    EXPECT_EQ(StrText(-2.5f), "-2.5");
    EXPECT_EQ(StrText(0.0f), " 0");
    EXPECT_EQ(StrText(12), " 12");
    EXPECT_EQ(StrText(-3), "-3");
}

TEST(RoundHalfEven, GoesToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(1234.5), 1234);
    EXPECT_EQ(RoundHalfEven(1235.5), 1236);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(2.6), 3);
}

TEST(TextChars, CountsCharactersNotBytes) {
    const std::string text = "ﾊﾟﾗﾒｰﾀ=25";
    EXPECT_EQ(CharCount(text), 9u);
    EXPECT_EQ(LeftChars(text, 7), "ﾊﾟﾗﾒｰﾀ=");
    EXPECT_EQ(RightChars("誤差=1", 2), "=1");
    EXPECT_EQ(RightAligned("3", 2), " 3");
    EXPECT_EQ(RightAligned("100", 2), "00");
    EXPECT_EQ(LeftAligned("ab", 4), "ab  ");
    EXPECT_EQ(TrimBlanks("  a b\t "), "a b\t");
    EXPECT_EQ(SplitCrLfLines("1,2\r\n3,4\r\n").size(), 2u);
    EXPECT_EQ(SplitCrLfLines("1,2\r\n\r\n3").size(), 3u);
    EXPECT_TRUE(SplitCrLfLines("").empty());
}

}  // namespace
}  // namespace kx::core
