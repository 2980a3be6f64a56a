#include <gtest/gtest.h>

#include <iterator>

#include "core/data/preparation.h"
#include "support/data_sets.h"

namespace kx::core {
namespace {

using test::PagesOf;
using test::Typed;
using test::WithLines;
using test::WithParameters;

const char* const kPoints = "1,2\r\n2,3\r\n3,5\r\n";

// Lines whose parameters a 32-bit float cannot tell apart cannot be
// interpolated between: the generated program would divide by their
// difference. Values apart only beyond the seven digits a stored value is
// written with become one value when the family is saved and loaded again.
TEST(PrepareDataSet, ParametersEqualOnceStoredAreRefusedNamingTheLine) {
    struct Case {
        std::vector<const char*> parameters;
        int16_t line;
        int16_t sameAs;
    };
    const Case cases[] = {
        {{"5", "5"}, 2, 1},
        {{"1", "1.0000001", "1.0000002"}, 2, 1},
        {{"7", "5", "7.0", "9"}, 3, 1},
        {{"3", "2", "1", "2E0"}, 4, 2},
        {{"0", "-0"}, 2, 1},
        {{"1", "1.000001", "1.000002"}, 0, 0},
        {{"5"}, 0, 0},
    };
    for (const Case& c : cases) {
        DataSet data = WithParameters(c.parameters, kPoints);
        EXPECT_EQ(PrepareDataSet(data), c.line == 0 ? kPrepared : kParameterNotNumeric)
            << c.parameters.back();
        EXPECT_EQ(data.refusal.line, c.line) << c.parameters.back();
        EXPECT_EQ(data.refusal.sameParameterAs, c.sameAs) << c.parameters.back();
    }
}

// A save writes the collected texts, which hold both lines whatever their
// parameters; only the fitting needs them apart.
TEST(PrepareDataSet, EqualParametersMayStillBeSaved) {
    DataSet all = WithParameters({"5", "5"}, kPoints);
    all.prepareForSave = 1;
    EXPECT_EQ(PrepareDataSet(all), kPrepared);
    DataSet one = WithParameters({"5", "5"}, kPoints);
    one.prepareForSave = 1;
    one.selectedLine = 2;
    EXPECT_EQ(PrepareDataSet(one), kPrepared);
    EXPECT_EQ(one.refusal.line, 0);
}

TEST(PrepareDataSet, EveryRefusalNamesItsStateAndLine) {
    const std::string good = kPoints;
    const std::string three = "1,2\r\n2,3\r\n3,4\r\n";
    struct Case {
        std::vector<std::pair<std::string, std::string>> lines;
        int16_t state;
        int16_t line;
    };
    const Case cases[] = {
        {{{"1", ""}}, kNoData, 1},
        {{{"1", three}, {"2", ""}, {"3", three}}, kGapInLines, 2},
        {{{"1", good}, {"2", good}, {"3", ""}, {"4", good}}, kGapInLines, 3},
        {{{"1", "1,2\r\n1.5;2\r\n3,4,\r\n"}}, kMissingXOrY, 1},
        {{{"1", "1,2\r\n ,2\r\n3,4\r\n"}}, kMissingXOrY, 1},
        {{{"1", good}, {"2", "1,2\r\n1.5;2\r\n3,4\r\n"}}, kMissingXOrY, 2},
        {{{"1", "1,2\r\n1.5, 2a\r\n3,4\r\n"}}, kNotNumeric, 1},
        {{{"1", "1,2\r\n1e39,2\r\n3,4\r\n"}}, kNotNumeric, 1},
        {{{"1", good}, {"2", good}, {"3", "1,2\r\n1.5, 2a\r\n3,4\r\n"}}, kNotNumeric, 3},
        {{{"1", "1,2\r\n2,3\r\n"}}, kTooFewPoints, 1},
        {{{"1", good}, {"2", "1,2\r\n2,3\r\n"}, {"3", "1,2\r\n"}}, kTooFewPoints, 2},
        {{{"10 K", three}}, kParameterNotNumeric, 1},
        {{{"1", good}, {"10 K", good}, {"x", good}}, kParameterNotNumeric, 2},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(::testing::Message() << "case " << i);
        const Case& c = cases[i];
        DataSet data = WithLines(c.lines);
        EXPECT_EQ(PrepareDataSet(data), c.state);
        EXPECT_EQ(data.refusal.line, c.line);
        EXPECT_EQ(data.refusal.sameParameterAs, 0);
    }
    // A success clears what an earlier refusal named.
    DataSet data = WithParameters({"5", "5"}, kPoints);
    ASSERT_EQ(PrepareDataSet(data), kParameterNotNumeric);
    data.parameterText[2] = "6";
    EXPECT_EQ(PrepareDataSet(data), kPrepared);
    EXPECT_EQ(data.refusal.line, 0);
}

TEST(KeyboardEntry, ParametersAFloatCannotHoldOrTellApartAreRefused) {
    struct Case {
        std::vector<std::string> parameters;
        int16_t message;
        int16_t line;
        int16_t sameAs;
    };
    const Case cases[] = {
        {{"2", "1", "2.00000001"}, kKeyboardBadParameter, 3, 1},
        {{"1", "1e39"}, kKeyboardBadParameter, 2, 0},
        {{"1", "2", "3"}, kKeyboardPrepared, 0, 0},
    };
    for (const Case& c : cases) {
        DataSet data = Typed(std::vector<std::string>(c.parameters.size(), kPoints));
        const KeyboardPages pages = PagesOf(data, c.parameters);
        EXPECT_EQ(PrepareKeyboardEntry(data, pages), c.message) << c.parameters.back();
        EXPECT_EQ(data.refusal.line, c.line) << c.parameters.back();
        EXPECT_EQ(data.refusal.sameParameterAs, c.sameAs) << c.parameters.back();
    }
    // Too few pairs is told first: its line is the one to mend.
    DataSet data = Typed({kPoints, "1,2\r\n"});
    const KeyboardPages pages = PagesOf(data, {"5", "5"});
    EXPECT_EQ(PrepareKeyboardEntry(data, pages), kKeyboardTooFewPairs);
    EXPECT_EQ(data.refusal.line, 2);
}

}  // namespace
}  // namespace kx::core
