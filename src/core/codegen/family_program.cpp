#include "core/codegen/family_program.h"

#include <string>

#include "core/codegen/family_interpolation.h"
#include "core/codegen/program_parts.h"
#include "core/data/numeric_text.h"
#include "core/data/text_chars.h"

namespace kx::core {

using namespace calc_text;

namespace {

// Every variable is declared, so that the program runs in a module under
// Option Explicit; CMATRIX declares its own (see family_interpolation).
constexpr const char* kDims[] = {
    "   Dim Y!(10), YG1$(10), XZ!(10), YZ!(10), XXMAX!(10), XXMIN!(10), YYMAX!(10), YYMIN!(10)",
    "   Dim XP1!(10), YP1!(10), X11!",
    // One element in two pieces; the parentheses say so to the compiler.
    ("   Dim XMIN!, XMAX!, YMIN!, YMAX!, X1!, NPARA%, JP1%, NNP%, NNPB%, CVC$, FFLG%, HMODE%, "
     "EQNO%"),
    "   Dim EXTRAP!, XEXP1!, XEXP2!, YEXP1!, YEXP2!, PEXP!, ZANS!, ANS11!, ANS22!, ANS33!, ANS44!",
    "   Dim CFLG%, YTGT!, CHHBZ#, SIMZ%, NQ5%, NQ6%, BEKI5!, ALPAZ#, YPJ!, CHH#, FLGM%, YQ#",
    "   Dim ALPA#, BEKI!, SIM%, NQ1%, NQ2%, CHHB#, EFLG0%, EFLG1%, EFLG2%, EFLG3%, EFLG4%, EFLG5%",
    "   Dim EFLG6%, EFLG7%, EFLG8%, EFLG9%, EFLG10%",
};

// Whether the last evaluation of a line failed, which lines evaluated, and
// whether the interpolation falls back to the two bracketing lines.
constexpr const char* kEvaluationDims = "   Dim EQFAIL%, CVL%, YOK%(10)";

// Finds the positions whose parameters bracket YYPP!, kept inside the family.
// The parameter is compared as a Single (CSng), as every host compares it then.
constexpr const char* kBracket[] = {
    "   ANS00! = 0: ANS11! = 0: ANS33! = 0: ANS44! = 0",
    "   For JP1% = 1 To NPARA%",
    "      If YYPP! < CSng(Val(YG1$(JP1%))) Then",
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
    // Sgn keeps the 2 % outside the family for negative parameter values too;
    // CSng makes every host compare the limits as Singles.
    "   If YYPP! < CSng(Val(YG1$(1)) * (1 - Sgn(Val(YG1$(1))) * EXTRAP!)) Or YYPP! > "
    "CSng(Val(YG1$(NPARA%)) * (1 + Sgn(Val(YG1$(NPARA%))) * EXTRAP!)) Then",
    "      If EFLG% = 0 Then EFLG% = 3  'パラメータ値が範囲外です",
    "   End If",
    "",
    "   HMODE% = 0",
};

// Mode1 result, then the start of the inverse solution (Mode2). The inverse
// solution moves X and Y by ratios, so it cannot start from X = 0 or Y = 0:
// there CFLG% = 2 skips it and Mode1's answer stands, with its own flags.
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
    "   If XXPP! = 0 Or ANS11! = 0 Then CFLG% = 2",
    "   If CFLG% <= 1 Then",
    "      FFLG% = 0",
    "      YTGT! = ANS11! 'Assume Y Value",
    "      ANS22! = 1E+15",
    "      CHHBZ# = 1E+15",
    "      X1! = XXPP!    'Input X Value",
    "      SIMZ% = 1",
    "      NQ5% = 0",
    "      NQ6% = 0",
    "      BEKI5! = 0.8",
    "      HMODE% = 1",
    "",
    "      Do Until Abs((CDbl(XXPP!) - ANS22!) / ANS22!) < 0.0001 And NQ5% > 3",
    "         DoEvents",
    "         NQ5% = NQ5% + 1",
    "         NQ6% = NQ6% + 1",
};

// The outer iteration of Mode2. Its ratios and relative differences are taken
// in double precision: a quotient of two Singles may lie beyond a Single's
// range, and a Double is compared alike by every host (CHHBZ# holds 1E+15
// exactly, so the growth rule applies from the second pass on). An
// interpolated X of 0 gives no ratio and ends the iteration as not converged
// (EFLG0% = 1); so does a candidate Y that no normal Single holds (YTGT! is a
// divisor, and such a target is far beyond any family).
constexpr const char* kModeTwoStart[] = {
    "         GoSub CMATRIX",
    "         ANS22! = ZANS!",
    "         If ANS22! = 0 Then EFLG0% = 1: Exit Do",
    "",
    "         YPJ! = XXPP!",
    "         If SIMZ% = 1 Then",
    "            If (YPJ! - ANS22!) > 0 Then ALPAZ# = CDbl(XXPP!) / ANS22! Else ALPAZ# = "
    "CDbl(ANS22!) / XXPP!",
    "         Else",
    "            If (YPJ! - ANS22!) > 0 Then ALPAZ# = CDbl(ANS22!) / XXPP! Else ALPAZ# = "
    "CDbl(XXPP!) / ANS22!",
    "         End If",
    "         YQ# = YTGT! * Abs(ALPAZ#) ^ BEKI5!",
};

constexpr const char* kModeTwoEnd[] = {
    "         YTGT! = YQ#",
    "         If NQ5% > 300 Then EFLG0% = 1: Exit Do",
    "         CHH# = Abs((CDbl(YPJ!) - ANS22!) / ANS22!)",
    "         If CHHBZ# <> 1E+15 Then",
    "            If CHH# > CHHBZ# And NQ6% > 2 Then YTGT! = ANS11!: BEKI5! = BEKI5! * 0.8: SIMZ% "
    "= -1 * SIMZ%: NQ6% = 0",
    "         End If",
    "         CHHBZ# = CHH#",
    "      Loop",
    "      FLGM% = EFLG0% + EFLG1% + EFLG2% + EFLG3% + EFLG4% + EFLG5%",
    "      FLGM% = FLGM% + EFLG6% + EFLG7% + EFLG8% + EFLG9% + EFLG10%",
    // The two answers are one only where they agree within 1 %, whether the
    // searches converged or not; otherwise the direct one stands, flagged.
    "      If ANS11! <> 0 THEN",
    "         If Abs((CDbl(ANS11!) - YTGT!) / ANS11!) <= 0.01 THEN FLGM% = 0 Else FLGM% = 1",
    "      Else",
    "         If Abs((CDbl(ANS11!) - YTGT!) / YTGT!) <= 0.01 THEN FLGM% = 0 Else FLGM% = 1",
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

// A line's equation that cannot be computed at X1! (a logarithm of 0, a
// division by 0, an overflow) is no error of the whole program: EQFAIL% = 1
// tells the caller, which decides whether the answer needs that line.
constexpr const char* kEquationsStart[] = {
    "EQ00: Rem",      "   NQ1% = NQ1% + 1",    "   NQ2% = NQ2% + 1",
    "   EQFAIL% = 0", "   On Error GoTo EQ99", "   Select Case EQNO%",
};

// With HMODE% = 1 every evaluation also moves X1! toward the target Y, by the
// ratio of the line's value to the target (or its inverse) held in double
// precision. A value of 0 gives no ratio, and X1! stays; the moved X1! is
// stored as every value computed in double (AppendSingleOfValue).
constexpr const char* kStepStart[] = {
    "   If HMODE% = 1 Then",
    "      YPJ! = Y!(EQNO%)",
    "      ALPA# = 1",
    "      If YPJ! <> 0 Then",
    "         If SIM% = 1 Then",
    "            If (YPJ! - YTGT!) > 0 Then ALPA# = CDbl(YPJ!) / YTGT! Else ALPA# = CDbl(YTGT!) / "
    "YPJ!",
    "         Else",
    "            If (YPJ! - YTGT!) > 0 Then ALPA# = CDbl(YTGT!) / YPJ! Else ALPA# = CDbl(YPJ!) / "
    "YTGT!",
    "         End If",
    "      End If",
    "      YQ# = X1! * Abs(ALPA#) ^ BEKI!",
};

constexpr const char* kStepEnd[] = {
    "      X1! = YQ#", "   End If", "EQ98: Rem",      "   On Error GoTo EL100",
    "Return",          "EQ99:",     "   EQFAIL% = 1", "   Resume EQ98",
};

// A bracketing line that cannot be computed leaves no answer (flag 7); the
// third line of a parabola may fail where it lies outside its own range, and
// the two bracketing lines then give the answer by a straight line.
constexpr const char* kBracketingLinesNeeded =
    "   If YOK%(NNPB% - 1) = 0 Or YOK%(NNPB%) = 0 Then EFLG% = 7: ANS00! = 0: GoTo LEND11";
constexpr const char* kStraightFallback[] = {
    "   If YOK%(NNP% - 1) + YOK%(NNP%) + YOK%(NNP% + 1) < 3 Then",
    "      CVL% = 1",
    "      CVC$ = \"/\" + Trim$(Str$(NNPB% - 1)) + \"/\" + Trim$(Str$(NNPB%)) + \"/\"",
    "   End If",
};

constexpr const char* kInnerStart[] = {
    "INISET:",        "   NQ1% = 0",
    "   NQ2% = 0",    "   X1! = XXPP!    'Reset X Value to XXPP!",
    "   SIM% = 1",    "   CHHB# = 1E+15",
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

// The inner iteration on position k: the X at which its line meets YTGT!,
// its relative differences in double precision as in the outer iteration.
// From the second step on (CHHB# holds 1E+15 only in the first) a candidate
// outside the window around the family's X range is reset to XXPP!; the
// window reaches half the size of each limit beyond it, so that it holds the
// data whatever the signs of the limits (for positive limits: from half of
// XMIN! to twice XMAX!).
void AppendSolveBlock(ProgramLines& out, int k) {
    const std::string n = IntegerText(k);
    out.push_back("         If InStr(CVC$,\"/" + n + "/\") <> 0 Then");
    out.push_back("            EFLG" + n + "% = 0    '収束・発散");
    out.push_back("            GoSub INISET");
    out.push_back("            Do Until Abs((CDbl(YPJ!) - YTGT!) / YTGT!) < 0.0001 And NQ1% > 3");
    out.push_back("               EQNO% = " + n + ": GoSub EQ00");
    out.push_back("               If EQFAIL% = 1 Then EFLG" + n + "% = 1: Exit Do");
    out.push_back("               If NQ1% > 200 Then EFLG" + n + "% = 1: Exit Do");
    out.push_back("               CHH# = Abs((CDbl(YPJ!) - YTGT!) / YTGT!)");
    out.push_back("               If CHHB# <> 1E+15 Then");
    out.push_back(
        "                  If X1! < XMIN! - Abs(XMIN!) * 0.5 Or X1! > XMAX! + Abs(XMAX!) Then "
        "X1! = XXPP!");
    out.push_back(
        "                  If CHH# > CHHB# And NQ2% > 2 Then X1! = XXPP!: BEKI! = "
        "BEKI! * 0.8: SIM% = -1 * SIM%: NQ2% = 0");
    out.push_back("               End If");
    out.push_back("               CHHB# = CHH#");
    out.push_back("            Loop");
    out.push_back("            XP1!(" + n + ") = X1!: YP1!(" + n + ") = Val(YG1$(" + n + "))");
    out.push_back("         End If");
}

// Mode1 evaluates only the lines the interpolation uses.
void AppendModeOneCalls(ProgramLines& out, int lineCount, Interpolation interpolation) {
    for (int k = 1; k <= lineCount; ++k) {
        const std::string n = IntegerText(k);
        out.push_back("   If InStr(CVC$,\"/" + n + "/\") <> 0 Then EQNO% = " + n +
                      ": GoSub EQ00: YOK%(" + n + ") = 1 - EQFAIL%");
    }
    out.push_back(kBracketingLinesNeeded);
    if (interpolation == Interpolation::kThreePoint) Append(out, kStraightFallback);
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
    out.push_back(kEvaluationDims);
    AppendInterpolationDims(out, interpolation);
    AppendErrorTrap(out);
    AppendInterfaceRemarks(out, interpolation == Interpolation::kThreePoint);
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
    AppendModeOneCalls(out, n, interpolation);
    Append(out, kModeOne);
    for (int k = 1; k <= n; ++k) AppendSolveBlock(out, k);
    Append(out, kModeTwoStart);
    out.push_back("         If " + NoSingleTest() + " Then EFLG0% = 1: Exit Do");
    Append(out, kModeTwoEnd);
    out.push_back(kStarRule);
    Append(out, kEquationsStart);
    StatementCursor statements(results.statements);
    for (int k = 1; k <= n; ++k) {
        out.push_back("      Case " + IntegerText(k) + ":");
        AppendSectionBlock(out, data, results, data.lineOrder[k], statements, kIndent);
    }
    out.push_back("   End Select");
    AppendValueStore(out);
    Append(out, kStepStart);
    AppendSingleOfValue(out, 6);
    Append(out, kStepEnd);
    out.push_back(kStarRule);
    AppendInterpolation(out, interpolation);
    out.push_back(kStarRule);
    Append(out, kInnerStart);
    AppendEnding(out, true);
}

}  // namespace kx::core
