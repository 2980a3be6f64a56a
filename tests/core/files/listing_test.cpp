#include "core/files/listing.h"

#include <gtest/gtest.h>

#include "core/codegen/calc_program.h"
#include "core/files/cp932.h"
#include "core/files/save_file.h"
#include "core/fitting/fit_family.h"
#include "support/data_sets.h"
#include "temp_folder.h"

namespace kx::core {
namespace {

const std::string kSeparator = std::string(40, '*') + "\r\n";

ResultLists SmallLists() {
    ResultLists lists;
    lists.history.AddText("h1");
    lists.history.AddText("誤差= 0");
    lists.details = {"ﾃﾞｰﾀ数=5  ﾊﾟﾗﾒｰﾀ=25", "Eq No=1"};
    lists.equations = {"Y!(1)=  2.00000E+00* X1! +  1.00000E+00"};
    lists.program = {"SUB Calc (XXPP!, YYPP!, ANS00!, EFLG%)", "END SUB", "", ""};
    return lists;
}

TEST(Listing, EveryKindWritesItsListsEntryByEntry) {
    const ResultLists lists = SmallLists();
    EXPECT_EQ(ListingText(kSaveHistory, lists), "h1\r\n誤差= 0\r\n");
    EXPECT_EQ(ListingText(kSaveEquations, lists), "Y!(1)=  2.00000E+00* X1! +  1.00000E+00\r\n");
    // The program's trailing empty entries are records of their own.
    EXPECT_EQ(ListingText(kSaveProgram, lists),
              "SUB Calc (XXPP!, YYPP!, ANS00!, EFLG%)\r\nEND SUB\r\n\r\n\r\n");
    EXPECT_EQ(ListingText(kSaveAllResults, lists),
              "ﾃﾞｰﾀ数=5  ﾊﾟﾗﾒｰﾀ=25\r\nEq No=1\r\n" + kSeparator +
                  "Y!(1)=  2.00000E+00* X1! +  1.00000E+00\r\n" + kSeparator +
                  "SUB Calc (XXPP!, YYPP!, ANS00!, EFLG%)\r\nEND SUB\r\n\r\n\r\n");
    EXPECT_EQ(ListingText(kSaveAllLines, lists), "");
}

TEST(Listing, EmptyListsWriteNoRecordsButTheSeparators) {
    ResultLists lists = SmallLists();
    lists.equations.clear();
    EXPECT_EQ(ListingText(kSaveAllResults, lists),
              "ﾃﾞｰﾀ数=5  ﾊﾟﾗﾒｰﾀ=25\r\nEq No=1\r\n" + kSeparator + kSeparator +
                  "SUB Calc (XXPP!, YYPP!, ANS00!, EFLG%)\r\nEND SUB\r\n\r\n\r\n");
    EXPECT_EQ(ListingText(kSaveAllResults, ResultLists{}), kSeparator + kSeparator);
    EXPECT_EQ(ListingText(kSaveHistory, ResultLists{}), "");
}

TEST(Listing, TheListsOfARunAreSavedAsCp932) {
    DataSet data = test::Prepared({{"25", "1,3\r\n2,5\r\n3,7\r\n4,9\r\n5,11\r\n"}});
    FitResults results;
    const CalcSettings settings;
    ASSERT_TRUE(FitAndGenerate(data, settings, results));

    const ResultLists lists = ResultListsOf(data, settings, results);
    EXPECT_EQ(lists.history.Texts(), results.fittingLog.Texts());
    EXPECT_EQ(lists.details, DescribeResults(data, settings, results).lines);
    EXPECT_EQ(lists.equations, results.summary);
    EXPECT_EQ(lists.program, results.program);
    ASSERT_FALSE(lists.details.empty());
    EXPECT_EQ(lists.details.front().rfind("ﾃﾞｰﾀ数=5", 0), 0u) << lists.details.front();

    test::TempFolder folder;
    const std::string path = folder.file("all.txt");
    ASSERT_EQ(SaveText(path, ListingText(kSaveAllResults, lists)).status, SaveStatus::kSaved);
    const std::string bytes = test::FileBytes(path);
    EXPECT_EQ(bytes.rfind("\xc3\xde\xb0\xc0\x90\x94=5", 0), 0u);  // "ﾃﾞｰﾀ数=5" in CP932
    EXPECT_EQ(Cp932ToUtf8(bytes).text, ListingText(kSaveAllResults, lists));
}

}  // namespace
}  // namespace kx::core
