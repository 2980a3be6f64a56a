#include "core/codegen/family_program.h"

#include <string>

#include "core/codegen/family_interpolation.h"
#include "core/codegen/program_parts.h"
#include "core/data/numeric_text.h"
#include "core/data/text_chars.h"

namespace kx::core {

using namespace calc_text;

namespace {

constexpr const char* kDims[] = {
    "   Dim Y!(10), YG1$(10), XZ!(10), YZ!(10), XXMAX!(10), XXMIN!(10), YYMAX!(10), YYMIN!(10)",
    "   Dim XP1!(10), YP1!(10), X11!",
};

constexpr const char* kModeTwoRemarks[] = {
    "   Rem   EFLG% = 5 --- Ｘ値は範囲外(Mode2)",
    "   Rem   EFLG% = 6 --- 未収束(Mode2)",
    "   Rem   EFLG% = 7 --- 計算処理エラー",
};

// Finds the positions whose parameters bracket YYPP!, kept inside the family.
constexpr const char* kBracket[] = {
    "   ANS00! = 0: ANS11! = 0: ANS33! = 0: ANS44! = 0",
    "   For JP1% = 1 To NPARA%",
    "      If YYPP! < Val(YG1$(JP1%)) Then",
    "         NNP% = JP1%",
    "         NNPB% = NNP%",
    "         Exit For",
    "      End If",
    "   Next JP1%",
    "'入力パラメータ(YYPP!)は NNPB%-1～NNPB% の間",
    "   If NNP% = 0 Or NNP% = NPARA% Then NNP% = NPARA% - 1: NNPB% = NPARA%",
    "   If NNP% = 1 Then NNP% = 2: NNPB% = NNP%",
};

constexpr const char* kFlagStart[] = {
    "   FFLG% = 0",
    "   EFLG% = 0",
};

constexpr const char* kNegativeX[] = {
    "   If XXPP! <= 0 Then",
    "      If XXMIN!(NNPB% - 1) > 0 And XXMAX!(NNPB% - 1) > 0 Then FFLG% = 1",
    "      If XXMIN!(NNPB%) > 0 And XXMAX!(NNPB%) > 0 Then FFLG% = 1",
    "      If FFLG% >= 1 Then",
    "         EFLG% = 1  '負は許されない",
    "         GoTo LEND11",
    "      End If",
    "   End If",
};

constexpr const char* kInputChecks[] = {
    "   If XXPP! < XXMIN!(NNPB% - 1) - XEXP1! Or XXPP! > XXMAX!(NNPB% - 1) + XEXP2! Then FFLG% = "
    "FFLG% + 1",
    "   If XXPP! < XXMIN!(NNPB%) - XEXP1! Or XXPP! > XXMAX!(NNPB%) + XEXP2! Then FFLG% = FFLG% + "
    "1",
    "   If FFLG% = 2 Then",
    "      EFLG% = 2     'Ｘ値が範囲外です",
    "   End If",
    "",
    "   PEXP! = (Val(YG1$(NPARA%)) - Val(YG1$(1))) * EXTRAP!",
    // Sgn keeps the 2 % outside the family for negative parameter values too.
    "   If YYPP! < Val(YG1$(1)) * (1 - Sgn(Val(YG1$(1))) * EXTRAP!) Or YYPP! > Val(YG1$(NPARA%)) "
    "* (1 + Sgn(Val(YG1$(NPARA%))) * EXTRAP!) Then",
    "      If EFLG% = 0 Then EFLG% = 3  'パラメータ値が範囲外です",
    "   End If",
    "",
    "   HMODE% = 0",
};

// Mode1 result, then the start of the inverse solution (Mode2).
constexpr const char* kModeOne[] = {
    "   GoSub CMATRIX",
    "   ANS11! = ZANS!",
    "   ANS00! = ANS11!",
    "   FFLG% = 0",
    "   If ZANS! < YYMIN!(NNPB% - 1) - YEXP1! Or ZANS! > YYMAX!(NNPB% - 1) + YEXP2! Then FFLG% = "
    "FFLG% + 1",
    "   If ZANS! < YYMIN!(NNPB%) - YEXP1! Or ZANS! > YYMAX!(NNPB%) + YEXP2! Then FFLG% = FFLG% + "
    "1",
    "   If FFLG% = 2 And EFLG% = 0 Then EFLG% = 4",
    "",
    "   If CFLG% <= 1 Then",
    "      FFLG% = 0",
    "      YTGT! = ANS11! 'Assume Y Value",
    "      ANS22! = 1E+15",
    "      CHHBZ! = 1E+15",
    "      X1! = XXPP!    'Input X Value",
    "      SIMZ% = 1",
    "      NQ5% = 0",
    "      NQ6% = 0",
    "      BEKI5! = 0.8",
    "      HMODE% = 1",
    "",
    "      Do Until Abs((XXPP! - ANS22!) / ANS22!) < 0.0001 And NQ5% > 3",
    "         DoEvents",
    "         NQ5% = NQ5% + 1",
    "         NQ6% = NQ6% + 1",
};

constexpr const char* kModeTwo[] = {
    "         GoSub CMATRIX",
    "         ANS22! = ZANS!",
    "",
    "         YPJ! = XXPP!",
    "         If SIMZ% = 1 Then",
    "            If (YPJ! - ANS22!) > 0 Then ALPAZ! = XXPP! / ANS22! Else ALPAZ! = ANS22! / XXPP!",
    "         Else",
    "            If (YPJ! - ANS22!) > 0 Then ALPAZ! = ANS22! / XXPP! Else ALPAZ! = XXPP! / ANS22!",
    "         End If",
    "         YTGT! = YTGT! * Abs(ALPAZ!) ^ BEKI5!",
    "         If NQ5% > 300 Then EFLG0% = 1: Exit Do",
    "         CHH! = Abs((YPJ! - ANS22!) / ANS22!)",
    "         If CHHBZ! <> 1E+15 Then",
    "            If CHH! > CHHBZ! And NQ6% > 2 Then YTGT! = ANS11!: BEKI5! = BEKI5! * 0.8: SIMZ% "
    "= -1 * SIMZ%: NQ6% = 0",
    "         End If",
    "         CHHBZ! = CHH!",
    "      Loop",
    "      FLGM% = EFLG0% + EFLG1% + EFLG2% + EFLG3% + EFLG4% + EFLG5%",
    "      FLGM% = FLGM% + EFLG6% + EFLG7% + EFLG8% + EFLG9% + EFLG10%",
    "      If ANS11! <> 0 THEN",
    "         If Abs((ANS11! - YTGT!) / ANS11!) <= 0.01 THEN FLGM% = 0",
    "      Else",
    "         If Abs((ANS11! - YTGT!) / YTGT!) <= 0.01 THEN FLGM% = 0",
    "      End If",
    "      If FLGM% <> 0 And EFLG% = 0 Then EFLG% = 6",
    "      ANS33! = YTGT!",
    "      FFLG% = 0",
    "      If XP1!(NNPB% - 1) < XXMIN!(NNPB% - 1) - XEXP1! Or XP1!(NNPB% - 1) > XXMAX!(NNPB% - 1) "
    "+ XEXP2! Then FFLG% = FFLG% + 1",
    "      If XP1!(NNPB%) < XXMIN!(NNPB%) - XEXP1! Or XP1!(NNPB%) > XXMAX!(NNPB%) + XEXP2! Then "
    "FFLG% = FFLG% + 1",
    "      If FFLG% = 2 And EFLG% = 0 Then EFLG% = 5",
    "      If FLGM% = 0 Then",
    "         ANS00! = (ANS11! + ANS33!) * 0.5",
    "      Else",
    "         ANS00! = ANS11!",
    "      End If",
    "   End If",
    "   GoTo LEND11",
};

constexpr const char* kEquationsStart[] = {
    "EQ00: Rem",
    "   NQ1% = NQ1% + 1",
    "   NQ2% = NQ2% + 1",
    "   Select Case EQNO%",
};

// With HMODE% = 1 every evaluation also moves X1! toward the target Y.
constexpr const char* kEquationsEnd[] = {
    "   End Select",
    "   If HMODE% = 1 Then",
    "      YPJ! = Y!(EQNO%)",
    "      If SIM% = 1 Then",
    "         If (YPJ! - YTGT!) > 0 Then ALPA! = YPJ! / YTGT! Else ALPA! = YTGT! / YPJ!",
    "      Else",
    "         If (YPJ! - YTGT!) > 0 Then ALPA! = YTGT! / YPJ! Else ALPA! = YPJ! / YTGT!",
    "      End If",
    "      X1! = X1! * Abs(ALPA!) ^ BEKI!",
    "   End If",
    "Return",
};

constexpr const char* kInnerStart[] = {
    "INISET:",        "   NQ1% = 0",
    "   NQ2% = 0",    "   X1! = XXPP!    'Reset X Value to XXPP!",
    "   SIM% = 1",    "   CHHB! = 1E+15",
    "   BEKI! = 0.8", "Return",
};

constexpr SectionIndent kIndent{9, 12};

const PointBounds& RankBounds(const FitResults& results, int rank) {
    static const PointBounds kNone;
    return rank >= 1 && rank <= kMaxLines ? results.rankBounds[rank] : kNone;
}

void AppendRangeLines(ProgramLines& out, const DataSet& data, const FitResults& results,
                      const char* minName, const char* maxName, bool x) {
    for (int k = 1; k <= data.lineCount; ++k) {
        // Written in the order of the line numbers, each giving the range of
        // the position with that number.
        const int j = data.lineOrder[k];
        const PointBounds& b = RankBounds(results, j);
        out.push_back(std::string("     ") + minName + "(" + IntegerText(j) +
                      ")=" + NumberText(x ? b.xMin : b.yMin) + " : " + maxName + "(" + StrText(j) +
                      ")=" + NumberText(x ? b.xMax : b.yMax));
    }
}

void AppendSolveBlock(ProgramLines& out, int k) {
    const std::string n = IntegerText(k);
    out.push_back("         If InStr(CVC$,\"/" + n + "/\") <> 0 Then");
    out.push_back("            EFLG" + n + "% = 0    '収束・発散");
    out.push_back("            GoSub INISET");
    out.push_back("            Do Until Abs((YPJ! - YTGT!) / YTGT!) < 0.0001 And NQ1% > 3");
    out.push_back("               EQNO% = " + n + ": GoSub EQ00");
    out.push_back("               If NQ1% > 200 Then EFLG" + n + "% = 1: Exit Do");
    out.push_back("               CHH! = Abs((YPJ! - YTGT!) / YTGT!)");
    out.push_back("               If CHHB! <> 1E+15 Then");
    out.push_back("                  If X1! < XMIN! * 0.5 Or X1! > XMAX! * 2 Then X1! = XXPP!");
    out.push_back(
        "                  If CHH! > CHHB! And NQ2% > 2 Then X1! = XXPP!: BEKI! = "
        "BEKI! * 0.8: SIM% = -1 * SIM%: NQ2% = 0");
    out.push_back("               End If");
    out.push_back("               CHHB! = CHH!");
    out.push_back("            Loop");
    out.push_back("            XP1!(" + n + ") = X1!: YP1!(" + n + ") = Val(YG1$(" + n + "))");
    out.push_back("         End If");
}

bool AnyPositiveXRange(const DataSet& data, const FitResults& results) {
    for (int k = 1; k <= data.lineCount; ++k) {
        const PointBounds& b = RankBounds(results, k);
        if (b.xMin > 0.0f && b.xMax > 0.0f) return true;
    }
    return false;
}

}  // namespace

void GenerateFamilyProgram(const DataSet& data, FitResults& results) {
    const Interpolation interpolation =
        data.lineCount == 2 ? Interpolation::kTwoPoint : Interpolation::kThreePoint;
    const int n = data.lineCount;
    ProgramLines& out = results.program;

    out.push_back("Sub Calc(XXPP!, YYPP!, ANS00!, EFLG%)");
    Append(out, kDims);
    AppendInterfaceRemarks(out);
    if (interpolation == Interpolation::kThreePoint) Append(out, kModeTwoRemarks);
    AppendLimits(out, results.familyBounds);
    out.push_back("     X1! = XXPP!");
    out.push_back("     NPARA% =" + StrText(n));
    out.push_back("Rem  各ラインのXmax、Xmin");
    AppendRangeLines(out, data, results, "XXMIN!", "XXMAX!", true);
    out.push_back("Rem  各ラインのYmax、Ymin");
    AppendRangeLines(out, data, results, "YYMIN!", "YYMAX!", false);
    out.push_back("Rem  各ラインのパラメータ値");
    for (int k = 1; k <= n; ++k) {
        const int line = data.lineOrder[k];
        const std::string parameter =
            line >= 1 && line <= kMaxLines ? Trimmed(data.parameterText[line]) : std::string();
        out.push_back("   YG1$(" + IntegerText(k) + ")=\"" + parameter + "\"");
    }
    Append(out, kBracket);
    out.push_back(UsedPositionsLine(interpolation));
    Append(out, kFlagStart);
    if (AnyPositiveXRange(data, results)) Append(out, kNegativeX);
    AppendRangeWidening(out);
    Append(out, kInputChecks);
    AppendCallLines(out, n);
    Append(out, kModeOne);
    for (int k = 1; k <= n; ++k) AppendSolveBlock(out, k);
    Append(out, kModeTwo);
    out.push_back(kStarRule);
    Append(out, kEquationsStart);
    StatementCursor statements(results.statements);
    for (int k = 1; k <= n; ++k) {
        out.push_back("      Case " + IntegerText(k) + ":");
        AppendSectionBlock(out, data, results, data.lineOrder[k], statements, kIndent);
    }
    Append(out, kEquationsEnd);
    out.push_back(kStarRule);
    AppendInterpolation(out, interpolation);
    out.push_back(kStarRule);
    Append(out, kInnerStart);
    AppendEnding(out, true);
}

}  // namespace kx::core
