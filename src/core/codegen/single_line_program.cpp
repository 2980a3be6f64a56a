#include "core/codegen/single_line_program.h"

#include "core/codegen/program_parts.h"

namespace kx::core {

using namespace calc_text;

namespace {

// Every variable is declared, so that the program runs in a module under
// Option Explicit.
constexpr const char* kDims[] = {
    "   Dim Y!(10), YG1$(10)",
    "   Dim XMIN!, XMAX!, YMIN!, YMAX!, X1!, NPARA%, ANS11!, NNP%, NNPB%, FFLG%, HMODE%, EQNO%",
    "   Dim EXTRAP!, XEXP1!, XEXP2!, YEXP1!, YEXP2!, YQ#",
};

constexpr const char* kStart[] = {
    "     X1! = XXPP!", "     NPARA% = 1", "   ANS00! = 0: ANS11! = 0",
    "   NNP% = 1",      "   NNPB% = 1",    "   FFLG% = 0",
    "   EFLG% = 0",
};

// Only a family whose whole X range is positive refuses a non-positive X.
constexpr const char* kNegativeX[] = {
    "   If XXPP! <= 0 Then",
    "      If XMIN! > 0 And XMAX! > 0 Then FFLG% = 1",
    "      If FFLG% >= 1 Then",
    "         EFLG% = 1  '負は許されない",
    "         GoTo LEND11",
    "      End If",
    "   End If",
};

constexpr const char* kRangeCheck[] = {
    "   If XXPP! < XMIN! - XEXP1! Or XXPP! > XMAX! + XEXP2! Then FFLG% = FFLG% + 1",
    "   If FFLG% = 1 Then",
    "      EFLG% = 2     'Ｘ値が範囲外です",
    "   End If",
    "",
    "   HMODE% = 0",
};

constexpr const char* kResult[] = {
    "   ANS11! = Y!(1)",
    "   ANS00! = ANS11!",
    "   FFLG% = 0",
    "   If ANS11! < YMIN! - YEXP1! Or ANS11! > YMAX! + YEXP2! Then FFLG% = FFLG% + 1",
    "   If FFLG% = 1 And EFLG% = 0 Then EFLG% = 4",
    "",
    "   GoTo LEND11",
};

constexpr SectionIndent kIndent{3, 7};

}  // namespace

void GenerateSingleLineProgram(const DataSet& data, FitResults& results) {
    ProgramLines& out = results.program;
    const PointBounds& bounds = results.familyBounds;
    out.push_back("Sub Calc(XXPP!, YYPP!, ANS00!, EFLG%)");
    Append(out, kDims);
    AppendErrorTrap(out);
    AppendInterfaceRemarks(out, false);
    AppendLimits(out, bounds);
    Append(out, kStart);
    if (bounds.xMin > 0.0f && bounds.xMax > 0.0f) Append(out, kNegativeX);
    AppendRangeWidening(out);
    Append(out, kRangeCheck);
    AppendCallLines(out, data.lineCount);
    Append(out, kResult);
    out.push_back(kStarRule);
    out.push_back("EQ00: Rem");
    StatementCursor statements(results.statements);
    for (int k = 1; k <= data.lineCount; ++k) {
        AppendSectionBlock(out, data, results, data.lineOrder[k], statements, kIndent);
    }
    AppendValueStore(out);
    out.push_back("Return");
    AppendEnding(out, false);
}

}  // namespace kx::core
