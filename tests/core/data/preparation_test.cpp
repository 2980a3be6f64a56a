#include "core/data/preparation.h"

#include <gtest/gtest.h>

#include "support/data_sets.h"

namespace kx::core {
namespace {

using test::Typed;
using test::WithLines;

TEST(PrepareDataSet, BuildsTheOrderedPreparedForm) {
    DataSet data =
        WithLines({{" 20 ", " 1.5 , 2\r\n2,3\r\n3,4"}, {"10", "1,1\r\n2,2\r\n3,3\r\n"}});
    EXPECT_EQ(PrepareDataSet(data), kPrepared);
    EXPECT_EQ(data.lineCount, 2);
    EXPECT_EQ(data.lastLine, 2);
    EXPECT_EQ(data.parameterText[1], "20");
    EXPECT_EQ(data.lineOrder[1], 2);
    EXPECT_EQ(data.lineOrder[2], 1);
    EXPECT_EQ(data.xText[1][1], "1.5");
    EXPECT_EQ(data.yText[1][1], "2");
    EXPECT_EQ(data.yText[1][3], "4");
    EXPECT_EQ(data.preparedCount[1], 3);
    EXPECT_EQ(data.firstPoint[2], 1);
    EXPECT_EQ(data.pointText[1], " 1.5 , 2\r\n2,3\r\n3,4\r\n");  // CR LF appended and kept
    EXPECT_EQ(data.progressTotal, 2);
}

TEST(PrepareDataSet, ASelectedLineIsPreparedAcrossAGap) {
    DataSet data = WithLines(
        {{"1", "1,2\r\n2,3\r\n3,4\r\n"}, {"2", ""}, {"3", "5,6\r\n6,7\r\n7,8\r\n8,9\r\n"}});
    data.selectedLine = 3;
    EXPECT_EQ(PrepareDataSet(data), kPrepared);
    EXPECT_EQ(data.lineCount, 3);
    EXPECT_EQ(data.lastLine, 3);
    EXPECT_EQ(data.xText[3][4], "8");
    EXPECT_EQ(data.xText[1][1], "");
    EXPECT_EQ(data.preparedCount[1], 0);
}

TEST(ProgressShare, CountsTheFitsOfALine) {
    EXPECT_EQ(ProgressShare(3), 1);
    EXPECT_EQ(ProgressShare(10), 17);
    EXPECT_EQ(ProgressShare(31), 98);
    EXPECT_EQ(ProgressShare(100), 209);
}

KeyboardPages PagesFor(const DataSet& data, int lines) {
    KeyboardPages pages;
    for (int line = 1; line <= kMaxLines; ++line) {
        pages[line].parameterText = std::to_string(line * 10);
        pages[line].countText = line <= lines ? std::to_string(data.pointCount[line]) : "0";
    }
    return pages;
}

TEST(KeyboardEntry, SplitsPastedAndTypedPairs) {
    DataSet data = Typed({"1.5\t20\t99\r\n2\t30\r\n3\t40", "1.5  20\r\n2,30,7\r\n3 40\r\n"});
    EXPECT_EQ(PrepareKeyboardEntry(data, PagesFor(data, 2)), kKeyboardPrepared);
    EXPECT_EQ(data.xText[1][1], "1.5");
    EXPECT_EQ(data.yText[1][1], "20");
    EXPECT_EQ(data.yText[2][2], "30");
    EXPECT_EQ(data.yText[2][3], "40");
    EXPECT_EQ(data.lineCount, 2);
    EXPECT_EQ(data.parameterText[2], "20");
    EXPECT_EQ(data.lineOrder[1], 1);
    EXPECT_EQ(data.xText[5][1], "0");
}

// One box each: the message, and the first pair where the box is taken. A
// comma wins over a tab, a tab over blanks.
TEST(KeyboardEntry, ReportsEveryRefusalByItsMessage) {
    const std::string pairs = "\r\n1,1\r\n2,2\r\n";  // two more after the first line
    struct Case {
        std::string box;
        int16_t message;
        const char* x;
        const char* y;
    };
    const Case cases[] = {
        {"1.5 20 30\r\n2 3\r\n4 5", kKeyboardBadY, "", ""},
        {"1.5;20\r\n2,3\r\n4,5", kKeyboardNoSeparator, "", ""},
        {"1.5,\r\n2,3\r\n4,5", kKeyboardBlankValue, "", ""},
        {"x1,2\r\n2,3\r\n4,5", kKeyboardBadX, "", ""},
        {"1,2\r\n2,3", kKeyboardTooFewPairs, "", ""},
        {"", kKeyboardNothingParsed, "", ""},
        {"1.5\t20,30" + pairs, kKeyboardBadX, "", ""},
        {"1.5,20\t30" + pairs, kKeyboardBadY, "", ""},
        {"1.5 ,  20" + pairs, kKeyboardPrepared, "1.5", "20"},
        {"  -2.5E-1   3d2  " + pairs, kKeyboardPrepared, "-2.5E-1", "3d2"},
        {"1\t\t2" + pairs, kKeyboardBlankValue, "", ""},  // an empty second column
        {"7 8  9" + pairs, kKeyboardBadY, "", ""},        // later runs of blanks stay
    };
    for (const Case& c : cases) {
        DataSet data = Typed({c.box});
        EXPECT_EQ(PrepareKeyboardEntry(data, PagesFor(data, 1)), c.message) << c.box;
        if (c.message == kKeyboardPrepared) {
            EXPECT_EQ(data.xText[1][1], c.x) << c.box;
            EXPECT_EQ(data.yText[1][1], c.y) << c.box;
        }
    }
    DataSet gap = Typed({"1,2\r\n2,3\r\n4,5", "", "1,2\r\n2,3\r\n4,5"});
    EXPECT_EQ(PrepareKeyboardEntry(gap, PagesFor(gap, 3)), kKeyboardGap);
}

TEST(KeyboardEntry, PairsAfterAnEmptyLineAreNotRead) {
    DataSet data;
    data.pointText[1] = "1,2\r\n2,3\r\n3,4\r\n\r\n5,6\r\n";
    data.pointCount[1] = 3;
    EXPECT_EQ(PrepareKeyboardEntry(data, PagesFor(data, 1)), kKeyboardPrepared);
    EXPECT_EQ(data.preparedCount[1], 3);
    EXPECT_EQ(data.xText[1][4], "0");
}

TEST(KeyboardEntry, BoxesAreNormalisedAndCounted) {
    EXPECT_EQ(NormaliseKeyboardBox("1,2").text, "1,2\r\n");
    EXPECT_EQ(NormaliseKeyboardBox("1,2").count, 1);
    EXPECT_EQ(NormaliseKeyboardBox("\r\n\r\n").text, "");
    EXPECT_EQ(NormaliseKeyboardBox("\n").count, 0);
    const KeyboardBox box = NormaliseKeyboardBox("1,2\r\n\r\n3,4");
    EXPECT_EQ(box.text, "1,2\r\n3,4\r\n");
    EXPECT_EQ(box.count, 2);
    std::string many;
    for (int i = 0; i < 120; ++i) many += "1,2\r\n";
    EXPECT_EQ(CountKeyboardPairs(many), 100);
}

TEST(PrepareDataSet, PointsClickedBeyondAHundredAreNotPrepared) {
    // Canvas clicks count past 100; the prepared tables hold 100 points a line.
    for (int16_t selected : {0, 1}) {
        DataSet data = WithLines({{"5", ""}});
        for (int i = 1; i <= 150; ++i) {
            AppendPoint(data, 1, std::to_string(i), std::to_string(2 * i));
        }
        ASSERT_EQ(data.pointCount[1], 150);
        data.selectedLine = selected;
        EXPECT_EQ(PrepareDataSet(data), kPrepared);
        EXPECT_EQ(data.preparedCount[1], 100);
        EXPECT_EQ(data.xText[1][100], "100");
        EXPECT_EQ(data.yText[1][100], "200");
        EXPECT_EQ(data.progressTotal, ProgressShare(100));
    }
}

TEST(PrepareDataSet, EmptyAndShortLinesEndTheFamilyOrAreGaps) {
    // A line emptied in its box counts as without data: line 3 behind it is a gap.
    DataSet gap = WithLines(
        {{"1", "1,2\r\n2,3\r\n3,4\r\n"}, {"2", "1,2\r\n"}, {"3", "1,2\r\n2,3\r\n3,4\r\n"}});
    SetPointText(gap, 2, "");
    EXPECT_EQ(PrepareDataSet(gap), kGapInLines);

    // Three characters and no points is still "without data".
    DataSet shortText =
        WithLines({{"1", "1,2\r\n2,3\r\n3,4\r\n"}, {"2", "12\r"}, {"3", "1,2\r\n2,3\r\n3,4\r\n"}});
    EXPECT_EQ(PrepareDataSet(shortText), kGapInLines);

    // A longer text without a comma is not a gap but ends the family there.
    DataSet noComma =
        WithLines({{"1", "1,2\r\n2,3\r\n3,4\r\n"}, {"2", "abcd"}, {"3", "1,2\r\n2,3\r\n3,4\r\n"}});
    EXPECT_EQ(PrepareDataSet(noComma), kPrepared);
    EXPECT_EQ(noComma.lineCount, 1);
    EXPECT_EQ(noComma.pointText[2], "abcd\r\n");  // the CR LF is appended and kept

    DataSet trailing = WithLines({{"1", "1,2\r\n2,3\r\n3,4\r\n"}, {"2", "4,5\r\n5,6\r\n6,7\r\n"}});
    EXPECT_EQ(PrepareDataSet(trailing), kPrepared);
    EXPECT_EQ(trailing.lineCount, 2);
    EXPECT_EQ(trailing.pointText[3], "\r\n");
}

TEST(PrepareDataSet, ASelectedLineWithoutPointsIsTooFew) {
    DataSet data =
        WithLines({{"1", "1,2\r\n2,3\r\n3,4\r\n"}, {"2", "1,2\r\n2,3\r\n3,4\r\n"}, {"3", ""}});
    data.selectedLine = 3;
    EXPECT_EQ(PrepareDataSet(data), kTooFewPoints);
    EXPECT_EQ(data.lineCount, 2);

    DataSet first = WithLines({{"1", ""}, {"2", "1,2\r\n2,3\r\n3,4\r\n"}});
    first.selectedLine = 2;
    EXPECT_EQ(PrepareDataSet(first), kNoData);
}

TEST(PrepareDataSet, AllParametersAreTrimmedBeforeABadOneIsReported) {
    DataSet data =
        WithLines({{"10 K", "1,2\r\n2,3\r\n3,4\r\n"}, {" 20 ", "1,2\r\n2,3\r\n3,4\r\n"}});
    EXPECT_EQ(PrepareDataSet(data), kParameterNotNumeric);
    EXPECT_EQ(data.parameterText[1], "10 K");
    EXPECT_EQ(data.parameterText[2], "20");
    EXPECT_FLOAT_EQ(data.parameterValue[2], 20.0f);
}

TEST(KeyboardEntry, AShortLineStillLetsTheLaterPagesBeRead) {
    DataSet data = Typed({"1,2\r\n2,3", "1,2\r\n2,3\r\n3,4"});
    KeyboardPages pages = PagesFor(data, 2);
    pages[2].parameterText = " 5 ";
    EXPECT_EQ(PrepareKeyboardEntry(data, pages), kKeyboardTooFewPairs);
    EXPECT_EQ(data.lineCount, 2);
    EXPECT_EQ(data.parameterText[2], " 5 ");  // the keyboard window does not trim
    EXPECT_EQ(data.lineOrder[1], 2);

    std::string many;
    for (int i = 1; i <= 130; ++i) many += std::to_string(i) + " " + std::to_string(i) + "\r\n";
    DataSet full = Typed({many});
    EXPECT_EQ(PrepareKeyboardEntry(full, PagesFor(full, 1)), kKeyboardPrepared);
    EXPECT_EQ(full.preparedCount[1], 100);
    EXPECT_EQ(full.xText[1][100], "100");
}

}  // namespace
}  // namespace kx::core
