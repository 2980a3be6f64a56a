#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "codegen_fixtures.h"
#include "core/codegen/calc_program.h"

namespace kx::core {
namespace {

using test::LineFixture;
using test::MakeFamily;
using test::ProgramOf;
using test::ReadLines;

std::string Golden(const char* name) {
    return std::string(KX_CODEGEN_TEST_DIR) + "/" + name;
}

void ExpectSameLines(const std::vector<std::string>& actual,
                     const std::vector<std::string>& expected) {
    ASSERT_FALSE(expected.empty());
    const std::size_t n = std::min(actual.size(), expected.size());
    for (std::size_t i = 0; i < n; ++i) {
        ASSERT_EQ(actual[i], expected[i]) << "line " << i + 1;
    }
    EXPECT_EQ(actual.size(), expected.size());
}

// Lines entered as 1 = 30, 2 = 10, 3 = 20: ranks 1..3 are lines 2, 3, 1, with
// one, two and three sections.
TEST(CalcProgramText, AFamilyEnteredOutOfOrderIsWrittenInParameterOrder) {
    const std::vector<std::string> program = ProgramOf(
        {{2,
          "10",
          {{12, "100"}},
          {"Y!(1)=  2.00000E+00* X1! +  5.00000E-01"},
          {.xMax = 100, .xMin = 1, .yMax = 101, .yMin = 2}},
         {3,
          " 20 ",
          {{4, "12.5"}, {10, "100"}},
          {"Y!(2)=  3.00000E+00* Log(X1!) +  1.00000E+00",
           "Y!(2)= EXP(  1.00000E-01* X1! +  2.00000E+00 )"},
          {.xMax = 100, .xMin = 1.5f, .yMax = 250, .yMin = -3}},
         {1,
          "30",
          {{3, "8"}, {7, "40"}, {12, "120"}},
          {"Y!(3)=  4.00000E+00* X1! - 1.00000E+00", "Y!(3)=  5.00000E+00* X1! - 2.00000E+00",
           "Y!(3)=  6.00000E+00* X1! - 3.00000E+00"},
          {.xMax = 120, .xMin = 0.5f, .yMax = 1500000, .yMin = 0.25f}}});
    ExpectSameLines(program, ReadLines(Golden("three_line_family.bas")));
}

TEST(CalcProgramText, OneLineInThreeSections) {
    const std::vector<std::string> program = ProgramOf(
        {{1,
          "25",
          {{4, "12.5"}, {9, "40"}, {15, "120"}},
          {"Y!(1)=  1.00000E+00* X1! +  1.00000E+00", "Y!(1)=  2.00000E+00* X1! - 1.15000E+01",
           "Y!(1)= EXP(  1.00000E-02* X1! +  4.00000E+00 )"},
          {.xMax = 120, .xMin = 0.5f, .yMax = 183.4f, .yMin = 1.5f}}});
    ExpectSameLines(program, ReadLines(Golden("single_line.bas")));
}

std::size_t IndexOf(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<std::size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
}

TEST(CalcProgramText, SectionBlocksAndTheNegativeXRule) {
    // Limits 0 and negative: no block that refuses a non-positive X.
    const std::vector<std::string> p =
        ProgramOf({{1,
                    "1",
                    {{5, "2.5"}, {9, "7"}},
                    {"Y!(1)= 1", "Y!(1)= 2"},
                    {.xMax = 7, .xMin = 0, .yMax = 9, .yMin = -2.5f}}});
    const std::size_t limits = IndexOf(p, "     XMIN! = 0 : XMAX! = 7");
    ASSERT_LT(limits, p.size());
    EXPECT_EQ(p[limits + 1], "     YMIN! =-2.5 : YMAX! = 9");
    EXPECT_EQ(p[IndexOf(p, "   EFLG% = 0") + 1], "   FFLG% = 0");
    EXPECT_EQ(IndexOf(p, "   If XXPP! <= 0 Then"), p.size());
    const std::size_t eq = IndexOf(p, "EQ00: Rem");
    const std::vector<std::string> block(p.begin() + static_cast<long>(eq) + 1,
                                         p.begin() + static_cast<long>(eq) + 10);
    EXPECT_EQ(block, (std::vector<std::string>{
                         "   If X1! <= 2.5# Then", "       YQ#= 1", "   Else", "       YQ#= 2",
                         "   End If", "   If Abs(YQ#) < 1.1754944E-38 Then YQ# = 0",
                         "   If Abs(YQ#) > 3.402823E+38 Then YQ# = Sgn(YQ#) * 3.402823E+38",
                         "   Y!(EQNO%) = YQ#", "Return"}));

    // A family with no positive X range has none either; one positive line
    // is enough to have it. A family line of one section is indented by nine.
    const std::vector<std::string> negative = ProgramOf(
        {{1, "1", {{4, "-1"}}, {"Y!(1)= 1"}, {.xMax = -1, .xMin = -5, .yMax = 1, .yMin = 1}},
         {2, "2", {{4, "3"}}, {"Y!(2)= 2"}, {.xMax = 3, .xMin = -3, .yMax = 1, .yMin = 1}}});
    EXPECT_EQ(IndexOf(negative, "   If XXPP! <= 0 Then"), negative.size());
    EXPECT_EQ(negative[IndexOf(negative, "      Case 2:") + 1], "         YQ#= 2");
    const std::vector<std::string> positive = ProgramOf(
        {{1, "1", {{4, "-1"}}, {"Y!(1)= 1"}, {.xMax = -1, .xMin = -5, .yMax = 1, .yMin = 1}},
         {2, "2", {{4, "3"}}, {"Y!(2)= 2"}, {.xMax = 3, .xMin = 1, .yMax = 1, .yMin = 1}}});
    EXPECT_LT(IndexOf(positive, "   If XXPP! <= 0 Then"), positive.size());
}

TEST(CalcProgramText, TwoLinesInterpolateOnAStraightLine) {
    const std::vector<std::string> p = ProgramOf(
        {{1, "1", {{4, "3"}}, {"Y!(1)= 1"}, {.xMax = 3, .xMin = 1, .yMax = 1, .yMin = 1}},
         {2,
          "2",
          {{4, "3"}, {8, "7"}},
          {"Y!(2)= 2", "Y!(2)= 3"},
          {.xMax = 7, .xMin = 1, .yMax = 1, .yMin = 1}}});
    // Of the inverse solution's flags only the error flag is named.
    const std::size_t limits = IndexOf(p, "     XMIN! = 1 : XMAX! = 7");
    ASSERT_LT(limits, p.size());
    EXPECT_EQ(p[limits - 2], "   Rem   EFLG% = 4 --- 計算Ｙ値は範囲外");
    EXPECT_EQ(p[limits - 1], "   Rem   EFLG% = 7 --- 計算処理エラー");
    EXPECT_EQ(p[limits + 3], "     NPARA% = 2");
    EXPECT_LT(
        IndexOf(p, "   CVC$ = \"/\" + Trim$(Str$(NNP% - 1)) + \"/\" + Trim$(Str$(NNP%)) + \"/\""),
        p.size());
    const std::size_t c = IndexOf(p, "CMATRIX: Rem");
    const std::vector<std::string> cmatrix(p.begin() + static_cast<long>(c),
                                           p.begin() + static_cast<long>(c) + 16);
    EXPECT_EQ(cmatrix, (std::vector<std::string>{
                           "CMATRIX: Rem", "   XZ!(1) = Val(YG1$(NNP% - 1))",
                           "   XZ!(2) = Val(YG1$(NNP%))", "   If HMODE% = 0 Then",
                           "      YZ!(1) = Y!(NNP% - 1)", "      YZ!(2) = Y!(NNP%)", "   Else",
                           "      YZ!(1) = XP1!(NNP% - 1)", "      YZ!(2) = XP1!(NNP%)",
                           "   End If", "   XX1! = (YZ!(2) - YZ!(1)) / (XZ!(2) - XZ!(1))",
                           "   YQ# = XX1! * (YYPP! - XZ!(2)) + YZ!(2)",
                           "   If Abs(YQ#) < 1.1754944E-38 Then YQ# = 0",
                           "   If Abs(YQ#) > 3.402823E+38 Then YQ# = Sgn(YQ#) * 3.402823E+38",
                           "   ZANS! = YQ#", "Return"}));
    EXPECT_EQ(p[IndexOf(p, "      Case 2:") + 2], "            YQ#= 2");
    EXPECT_LT(IndexOf(p, "   Dim XX1!"), c);
    EXPECT_EQ(p.back(), "");
}

TEST(CalcProgramText, TenLinesNameEveryConvergenceFlag) {
    std::vector<LineFixture> ranks;
    for (int k = 1; k <= 10; ++k) {
        ranks.push_back({11 - k,
                         std::to_string(k),
                         {{3, "5"}},
                         {"Y!(" + std::to_string(k) + ")= 1"},
                         {.xMax = 5, .xMin = 1, .yMax = 1, .yMin = 1}});
    }
    const std::vector<std::string> p = ProgramOf(ranks);
    for (int k = 1; k <= 10; ++k) {
        const std::string n = std::to_string(k);
        EXPECT_LT(IndexOf(p, "            EFLG" + n + "% = 0    '収束・発散"), p.size());
        EXPECT_LT(IndexOf(p, "   If InStr(CVC$,\"/" + n + "/\") <> 0 Then EQNO% = " + n +
                                 ": GoSub EQ00: YOK%(" + n + ") = 1 - EQFAIL%"),
                  p.size());
        EXPECT_LT(IndexOf(p, "   YG1$(" + n + ")=\"" + n + "\""), p.size());
    }
    EXPECT_LT(IndexOf(p, "     XXMIN!(10)= 1 : XXMAX!( 10)= 5"),
              IndexOf(p, "     XXMIN!(1)= 1 : XXMAX!( 1)= 5"));
    EXPECT_LT(IndexOf(p, "     NPARA% = 10"), p.size());
}

TEST(CalcProgramText, IncompleteInputsStillGiveTheWholeText) {
    DataSet data;
    FitResults results;
    MakeFamily({{1,
                 "1",
                 {{4, "3"}, {8, "7"}},
                 {"Y!(1)= 1"},
                 {.xMax = 7, .xMin = 1, .yMax = 1, .yMin = 1}}},
               data, results);
    results.lineFit[1].sectionCount = 2;
    GenerateCalcProgram(data, results);
    const std::size_t eq = IndexOf(results.program, "EQ00: Rem");
    EXPECT_EQ(results.program[eq + 2], "       YQ#= 1");
    EXPECT_EQ(results.program[eq + 4], "       ");

    // A line order outside 1..10 (duplicate parameters gone wrong) is written
    // as it stands, with nothing read outside the tables.
    MakeFamily({{1, "1", {{4, "3"}}, {"Y!(1)= 1"}, {.xMax = 7, .xMin = 1, .yMax = 1, .yMin = 1}},
                {2, "2", {{4, "3"}}, {"Y!(2)= 2"}, {.xMax = 7, .xMin = 1, .yMax = 1, .yMin = 1}}},
               data, results);
    data.lineOrder[2] = 0;
    const std::size_t before = results.program.size();
    GenerateCalcProgram(data, results);
    EXPECT_GT(results.program.size(), before);
    EXPECT_EQ(results.program.back(), "");
    EXPECT_LT(IndexOf(results.program, "   YG1$(2)=\"\""), results.program.size());
    EXPECT_EQ(results.program[IndexOf(results.program, "      Case 2:") + 1], "         YQ#= 2");
}

}  // namespace
}  // namespace kx::core
