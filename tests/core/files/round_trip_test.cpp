// Whatever the writers save, the reader gives back: lines, point texts,
// counts and parameters (as the reader's Str$ form of the value).
#include <gtest/gtest.h>

#include "core/data/numeric_text.h"
#include "core/data/preparation.h"
#include "core/files/data_file.h"
#include "core/files/save_file.h"
#include "support/data_sets.h"
#include "temp_folder.h"

namespace kx::core {
namespace {

using test::SavedAndRead;
using test::SingleRows;
using test::WithLines;

TEST(DataFileRoundTrip, AllLinesComeBackAsTheyWereCollected) {
    const DataSet data = WithLines({{"10", SingleRows(3, 1, 0.5)},
                                    {"0.50", "1, 2\r\n 3 ,4\r\n5,6\r\n"},
                                    {"-25", SingleRows(100, 0.001, 0.37)},
                                    {"1.5D3", SingleRows(3, -4, 2)},
                                    {"7", SingleRows(40, 1e-6, 3e-6)},
                                    // Numeric characters in no number's order:
                                    // the system takes the leading number.
                                    {"1-2", SingleRows(4, 2, 1)}});
    const DataSet back = SavedAndRead(AllLinesDataText(data));
    for (int line = 1; line <= 6; ++line) {
        EXPECT_EQ(back.pointText[line], data.pointText[line]) << line;
        EXPECT_EQ(back.pointCount[line], data.pointCount[line]) << line;
        EXPECT_EQ(back.parameterText[line],
                  SingleToText(static_cast<float>(ValueOfText(data.parameterText[line]))));
    }
    EXPECT_EQ(back.parameterText[2], ".5");
    EXPECT_EQ(back.parameterText[4], "1500");
    EXPECT_EQ(back.parameterText[6], "1");
    for (int line = 7; line <= kMaxLines; ++line) {
        EXPECT_EQ(back.pointText[line], "");
        EXPECT_EQ(back.parameterText[line], std::to_string(line));
    }

    // The prepared forms agree as well.
    DataSet preparedBefore = data;
    DataSet preparedAfter = back;
    ASSERT_EQ(PrepareDataSet(preparedBefore), kPrepared);
    ASSERT_EQ(PrepareDataSet(preparedAfter), kPrepared);
    EXPECT_EQ(preparedAfter.xText, preparedBefore.xText);
    EXPECT_EQ(preparedAfter.yText, preparedBefore.yText);
    EXPECT_EQ(preparedAfter.lineOrder, preparedBefore.lineOrder);
    EXPECT_EQ(preparedAfter.parameterValue, preparedBefore.parameterValue);
    EXPECT_EQ(preparedAfter.progressTotal, preparedBefore.progressTotal);
}

TEST(DataFileRoundTrip, LinesAfterAnEmptyLineMoveUp) {
    const DataSet data =
        WithLines({{"10", SingleRows(3, 1, 1)}, {"20", ""}, {"30", SingleRows(4, 2, 1)}});
    const DataSet back = SavedAndRead(AllLinesDataText(data));
    EXPECT_EQ(back.pointText[2], data.pointText[3]);
    EXPECT_EQ(back.parameterText[2], "30");
    EXPECT_EQ(back.pointText[3], "");
}

TEST(DataFileRoundTrip, TheSelectedLineComesBackAsLineOne) {
    const DataSet data =
        WithLines({{"10", SingleRows(3, 1, 1)}, {"20", SingleRows(5, 0.5, 0.25)}});
    const DataSet back = SavedAndRead(SelectedLineDataText(data, 2, "20"));
    EXPECT_EQ(back.pointText[1], data.pointText[2]);
    EXPECT_EQ(back.pointCount[1], 5);
    EXPECT_EQ(back.parameterText[1], "20");
    EXPECT_EQ(back.pointText[2], "");
}

TEST(DataFileRoundTrip, TheSampleFamilyIsWrittenBackByteForByte) {
    const DataFileRead read = ReadDataFile(KX_SAMPLE_FILE);
    ASSERT_EQ(read.outcome, DataFileOutcome::kLoaded);
    ASSERT_GE(read.lines.size(), 4u);
    DataSet data;
    ApplyDataFileRead(data, read);
    for (std::size_t line = 1; line <= read.lines.size(); ++line) {
        EXPECT_GE(data.pointCount[line], 15);
        EXPECT_LE(data.pointCount[line], 40);
        EXPECT_EQ(data.pointCount[line], CountPoints(data.pointText[line]));
    }
    test::TempFolder folder;
    const std::string path = folder.file("copy.dat");
    ASSERT_EQ(SaveText(path, AllLinesDataText(data)).status, SaveStatus::kSaved);
    EXPECT_EQ(test::FileBytes(path), test::FileBytes(KX_SAMPLE_FILE));
}

TEST(DataFileRoundTrip, ALineOfMoreThanAHundredPointsKeepsItsFirstHundred) {
    // 120 clicks count 120; a pasted box of 130 lines counts 100 commas.
    DataSet data = WithLines({{"1", ""}, {"2", ""}, {"3", SingleRows(3, 1, 1)}});
    for (int i = 1; i <= 120; ++i) AppendPoint(data, 1, std::to_string(i), "1");
    std::string pasted;
    for (int i = 1; i <= 130; ++i) pasted += std::to_string(i) + ",2\r\n";
    SetPointText(data, 2, pasted);
    ASSERT_EQ(data.pointCount[1], 120);
    ASSERT_EQ(data.pointCount[2], 100);

    const DataSet back = SavedAndRead(AllLinesDataText(data));
    for (int line = 1; line <= 2; ++line) {
        EXPECT_EQ(back.pointCount[line], 100);
        EXPECT_EQ(CountPoints(back.pointText[line]), 100);
        const std::string& text = back.pointText[line];
        EXPECT_EQ(text.substr(text.size() - 7), "100," + std::to_string(line) + "\r\n");
    }
    EXPECT_EQ(back.pointText[3], data.pointText[3]);
}

}  // namespace
}  // namespace kx::core
