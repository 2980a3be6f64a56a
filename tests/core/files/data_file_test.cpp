#include "core/files/data_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/files/save_file.h"
#include "support/data_sets.h"
#include "temp_folder.h"
#ifndef _WIN32
#include <unistd.h>

#include "other_user.h"
#endif

namespace kx::core {
namespace {

using test::FileBytes;
using test::PutFile;
using test::TempFolder;

using test::WithLines;

TEST(DataFileWriter, WritesABlockPerLineWithOneCrLfAfterEveryRecord) {
    const DataSet data = WithLines(
        {{"10", "1.5,2.5\r\n2.5,3.5\r\n"}, {"20", "10.5,2.25\r\n20.5,4.75\r\n30,7"}, {"30", ""}});
    EXPECT_EQ(AllLinesDataText(data),
              "10, 1 , 2\r\n1.5,2.5\r\n2.5,3.5\r\n"
              "20, 1 , 3\r\n10.5,2.25\r\n20.5,4.75\r\n30,7\r\n");
}

TEST(DataFileWriter, SkipsOnlyLinesTheReaderWouldRefuse) {
    // "1,2" and "3,4" are 10 characters with their CR LF and are kept: two
    // points make a block the reader takes. One point, or none, does not.
    DataSet data = WithLines({{"1", "1.5,2.5\r\n"},
                              {"2", "1,2\r\n3,4\r\n"},
                              {"3", "   "},
                              {"4", "no points here\r\n"},
                              {"5", " 7,8\r\n9,10\r\n "}});
    EXPECT_EQ(AllLinesDataText(data),
              "2, 1 , 2\r\n1,2\r\n3,4\r\n5, 1 , 2\r\n 7,8\r\n9,10\r\n \r\n");
}

TEST(DataFileWriter, TheSelectedLineKeepsItsParameterBoxAsItStands) {
    const DataSet data = WithLines({{"1", "1,2\r\n"}, {"2", "3,4\r\n5,6\r\n7,8\r\n"}});
    EXPECT_EQ(SelectedLineDataText(data, 2, " 25 "), " 25 , 1 , 3\r\n3,4\r\n5,6\r\n7,8\r\n");
    EXPECT_EQ(SelectedLineDataText(data, 1, "1"), "1, 1 , 1\r\n1,2\r\n");  // no length test
    EXPECT_EQ(SelectedLineDataText(data, 0, "1"), "");
}

TEST(DataFileReader, ReadsBlocksIntoLinesInFileOrder) {
    const DataFileRead read = ParseDataFile(
        "0.50, 1 , 2\r\n1,2\r\n 3 , 4 \r\n"
        "25,1,3\n5,6\n7,8\n9,10\n"           // LF alone, no blanks in the header
        "\r\n  \r\n"                         // blank records between blocks
        "-1.5E+2 , 1.0 , 2\r\n1,2\r\n3,4");  // the last record without its CR LF
    ASSERT_EQ(read.outcome, DataFileOutcome::kLoaded);
    ASSERT_EQ(read.lines.size(), 3u);
    EXPECT_EQ(read.lines[0].parameterText, ".5");
    EXPECT_EQ(read.lines[0].pointText, "1,2\r\n 3 , 4 \r\n");
    EXPECT_EQ(read.lines[1].parameterText, "25");
    EXPECT_EQ(read.lines[1].pointCount, 3);
    EXPECT_EQ(read.lines[1].pointText, "5,6\r\n7,8\r\n9,10\r\n");
    EXPECT_EQ(read.lines[2].parameterText, "-150");
    EXPECT_EQ(read.lines[2].pointText, "1,2\r\n3,4\r\n");
    EXPECT_TRUE(read.lines[2].complete);

    DataSet data = WithLines(
        {{"9", "9,9\r\n9,9\r\n9,9\r\n"}, {"8", "1,1\r\n"}, {"7", "1,1\r\n"}, {"6", "1,1\r\n"}});
    ApplyDataFileRead(data, read);
    EXPECT_EQ(data.parameterText[2], "25");
    EXPECT_EQ(data.pointCount[2], 3);
    EXPECT_EQ(data.preparedCount[2], 3);
    EXPECT_EQ(data.firstPoint[2], 1);
    EXPECT_EQ(data.pointText[4], "");
    EXPECT_EQ(data.pointCount[4], 0);
    EXPECT_EQ(data.parameterText[4], "4");
    EXPECT_EQ(data.parameterText[10], "10");
}

TEST(DataFileReader, RefusesBadContentKeepingWhatWasRead) {
    const std::string good = "10, 1 , 2\r\n1,2\r\n3,4\r\n";
    std::string tenBlocks;
    for (int i = 1; i <= 10; ++i) tenBlocks += std::to_string(i) + ", 1 , 2\r\n1,2\r\n3,4\r\n";
    struct Case {
        std::string bytes;
        ContentFault fault;
        int record;
        std::size_t lines;  // lines in the read, the last possibly incomplete
    };
    const Case cases[] = {
        {good + "5, 1 , 1\r\n1,2\r\n", ContentFault::kTooFewPoints, 4, 1},
        {good + "5, 1 , 0\r\n", ContentFault::kTooFewPoints, 4, 1},
        {good + "5, 1 , -3\r\n", ContentFault::kTooFewPoints, 4, 1},
        {good + "5, 2 , 10\r\n1,2\r\n", ContentFault::kFirstPointNotOne, 4, 1},
        {good + "5, 1 , 101\r\n1,2\r\n", ContentFault::kTooManyPoints, 4, 1},
        {good + "5, 1 , 40000\r\n", ContentFault::kHeaderNotNumbers, 4, 1},
        {"10 K, 1 , 2\r\n1,2\r\n3,4\r\n", ContentFault::kHeaderNotNumbers, 1, 0},
        {"10, 1\r\n1,2\r\n", ContentFault::kHeaderNotNumbers, 1, 0},
        {"10, 1 , 2, 4\r\n1,2\r\n", ContentFault::kHeaderNotNumbers, 1, 0},
        {"1e39, 1 , 2\r\n1,2\r\n3,4\r\n", ContentFault::kHeaderNotNumbers, 1, 0},
        {"1.5,2.5\r\n3,4\r\n", ContentFault::kHeaderNotNumbers, 1, 0},
        {good + "20, 1 , 3\r\n1,2\r\n3;4\r\n5,6\r\n", ContentFault::kRecordWithoutComma, 6, 2},
        {good + "20, 1 , 3\r\n1,2\r\n\r\n5,6\r\n", ContentFault::kRecordWithoutComma, 6, 2},
        {good + "20, 1 , 4\r\n1,2\r\n3,4\r\n", ContentFault::kEndInsideBlock, 7, 2},
        {tenBlocks + "11, 1 , 2\r\n1,2\r\n3,4\r\n", ContentFault::kEleventhBlock, 31, 10},
        {tenBlocks + "junk\r\n", ContentFault::kEleventhBlock, 31, 10},
        {good + "20, 1 , 2\r\n1,\x81\x20\r\n", ContentFault::kNotCp932, 5, 2},
        {"\x82\x50\x82\x4f, 1 , 2\r\n1,2\r\n3,4\r\n", ContentFault::kHeaderNotNumbers, 1, 0},
        {std::string("\x80\xff\0\x01", 4), ContentFault::kNotCp932, 1, 0},
    };
    for (const Case& c : cases) {
        const DataFileRead read = ParseDataFile(c.bytes);
        EXPECT_EQ(read.outcome, DataFileOutcome::kBadContent) << c.bytes;
        EXPECT_EQ(read.fault, c.fault) << c.bytes;
        EXPECT_EQ(read.record, c.record) << c.bytes;
        ASSERT_EQ(read.lines.size(), c.lines) << c.bytes;
        if (c.lines > 0) {
            EXPECT_EQ(read.lines[0].pointText, "1,2\r\n3,4\r\n") << c.bytes;
        }
    }
}

TEST(DataFileReader, ALineCutOffByARefusalKeepsWhatWasReadOfIt) {
    const DataFileRead read =
        ParseDataFile("10, 1 , 2\r\n1,2\r\n3,4\r\n20, 1 , 5\r\n5,6\r\n7,8\r\n");
    ASSERT_EQ(read.lines.size(), 2u);
    EXPECT_FALSE(read.lines[1].complete);
    DataSet data;
    ApplyDataFileRead(data, read);
    EXPECT_EQ(data.parameterText[2], "20");
    EXPECT_EQ(data.pointText[2], "5,6\r\n7,8\r\n");
    EXPECT_EQ(data.pointCount[2], 5);
    EXPECT_EQ(data.parameterText[3], "3");
}

TEST(DataFileReader, AnEmptyFileLoadsNoLines) {
    for (const char* bytes : {"", "\r\n", " \n\n"}) {
        const DataFileRead read = ParseDataFile(bytes);
        EXPECT_EQ(read.outcome, DataFileOutcome::kLoaded);
        EXPECT_TRUE(read.lines.empty());
    }
}

TEST(DataFileReader, FilesThatCannotBeOpenedOrAreHugeAreRefused) {
    TempFolder folder;
    const DataFileRead missing = ReadDataFile(folder.file("none.dat"));
    EXPECT_EQ(missing.outcome, DataFileOutcome::kCannotOpen);
    EXPECT_EQ(missing.error, ENOENT);
    EXPECT_EQ(missing.reason, FileReason::kNotFound);
    const DataFileRead onFolder = ReadDataFile(folder.path().string());
    EXPECT_EQ(onFolder.outcome, DataFileOutcome::kCannotOpen);
    EXPECT_EQ(onFolder.reason, FileReason::kIsAFolder);

    std::string huge = "10, 1 , 2\r\n1,2\r\n3,4\r\n";
    huge.resize(kMaxDataFileBytes + 1, ' ');
    PutFile(folder.file("huge.dat"), huge);
    const DataFileRead read = ReadDataFile(folder.file("huge.dat"));
    EXPECT_EQ(read.outcome, DataFileOutcome::kBadContent);
    EXPECT_EQ(read.fault, ContentFault::kFileTooLarge);
}

TEST(DataFileReader, JapaneseRecordsAreDecoded) {
    TempFolder folder;
    // A comment after a point, as a user may have typed it in an editor.
    PutFile(folder.file("memo.dat"), "5, 1 , 2\r\n1,2 \x83\x81\x83\x82\r\n3,4\r\n");
    const DataFileRead read = ReadDataFile(folder.file("memo.dat"));
    ASSERT_EQ(read.outcome, DataFileOutcome::kLoaded);
    EXPECT_EQ(read.lines[0].pointText, "1,2 メモ\r\n3,4\r\n");
}

TEST(SaveText, EncodesEverythingBeforeWriting) {
    TempFolder folder;
    const std::string path = folder.file("a.dat");
    ASSERT_EQ(SaveText(path, "ﾊﾟﾗﾒｰﾀ=25\r\n").status, SaveStatus::kSaved);
    EXPECT_EQ(FileBytes(path), "\xca\xdf\xd7\xd2\xb0\xc0=25\r\n");
    const SaveOutcome refused = SaveText(path, "1,2\r\n3,\xf0\x9f\x98\x80\r\n");
    EXPECT_EQ(refused.status, SaveStatus::kNotEncodable);
    EXPECT_EQ(refused.offset, 7u);
    EXPECT_EQ(FileBytes(path), "\xca\xdf\xd7\xd2\xb0\xc0=25\r\n");
    EXPECT_EQ(SaveText(folder.file("no/such/folder.dat"), "1").status, SaveStatus::kCannotWrite);
}

TEST(DataFileCheck, TheFirstRecordTellsADataFileFromAnother) {
    test::TempFolder folder;
    struct Case {
        const char* bytes;
        FirstRecordKind kind;
    };
    const Case cases[] = {
        {"25, 1 , 12\r\n1,2\r\n", FirstRecordKind::kDataRecord},
        {"-1.5E+2,\t3d2\nabc\n", FirstRecordKind::kDataRecord},  // only the first record counts
        {"", FirstRecordKind::kDataRecord},
        {"Meeting notes\r\n", FirstRecordKind::kOtherRecord},
        {"25, 1 , 12 \x83\x81\r\n", FirstRecordKind::kOtherRecord},
    };
    for (const Case& c : cases) {
        const std::string path = folder.file("NOTES.TXT");
        test::PutFile(path, c.bytes);
        EXPECT_EQ(ClassifyFirstRecord(path), c.kind) << c.bytes;
    }
    EXPECT_EQ(ClassifyFirstRecord(folder.file("missing.txt")), FirstRecordKind::kCannotOpen);
}

#ifndef _WIN32
// A click on a named pipe or a folder must not hang the save window: they are
// no files to read a record from.
TEST(DataFileCheck, WhatIsNoFileCannotBeOpened) {
    test::TempFolder folder;
    ASSERT_EQ(::mkfifo(folder.file("PIPE.DAT").c_str(), 0600), 0);
    std::filesystem::create_directory(folder.file("FOLDER.DAT"));
    const int result = test::InChild(
        [&] {
            ::alarm(10);
            return ClassifyFirstRecord(folder.file("PIPE.DAT")) == FirstRecordKind::kCannotOpen &&
                           ClassifyFirstRecord(folder.file("FOLDER.DAT")) ==
                               FirstRecordKind::kCannotOpen
                       ? 0
                       : 1;
        },
        false);
    EXPECT_EQ(result, 0) << "-1: the check hung on the pipe";
}
#endif

}  // namespace
}  // namespace kx::core
