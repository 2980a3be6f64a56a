#include "core/codegen/family_interpolation.h"

namespace kx::core::calc_text {
namespace {

constexpr const char* kParameters[] = {
    "CMATRIX: Rem",
    "   XZ!(1) = Val(YG1$(NNP% - 1))",
    "   XZ!(2) = Val(YG1$(NNP%))",
};

constexpr const char* kTwoPoint[] = {
    "   If HMODE% = 0 Then",
    "      YZ!(1) = Y!(NNP% - 1)",
    "      YZ!(2) = Y!(NNP%)",
    "   Else",
    "      YZ!(1) = XP1!(NNP% - 1)",
    "      YZ!(2) = XP1!(NNP%)",
    "   End If",
    "   XX1! = (YZ!(2) - YZ!(1)) / (XZ!(2) - XZ!(1))",
    "   YQ# = XX1! * (YYPP! - XZ!(2)) + YZ!(2)",
};

// The parabola through the three lines in Lagrange's form. Its weights are
// ratios of the distances P1#..P3# of YYPP! from the three parameters, taken
// in double precision: the interpolation does not depend on the size or the
// offset of the parameters (1E-9 apart as well as 1E+6), gives each line's
// own value exactly at its parameter, and is the same whether a host rounds
// Single intermediates or keeps them wider. (Through three points it is the
// parabola that the least-squares normal equations give.) Where the third
// line could not be computed (CVL% = 1) the weights are those of the straight
// line through the two lines that bracket YYPP!.
constexpr const char* kThreePoint[] = {
    "   XZ!(3) = Val(YG1$(NNP% + 1))",
    "   If HMODE% = 0 Then",
    "      YZ!(1) = Y!(NNP% - 1)",
    "      YZ!(2) = Y!(NNP%)",
    "      YZ!(3) = Y!(NNP% + 1)",
    "   Else",
    "      YZ!(1) = XP1!(NNP% - 1)",
    "      YZ!(2) = XP1!(NNP%)",
    "      YZ!(3) = XP1!(NNP% + 1)",
    "   End If",
    "   P1# = YYPP! - CDbl(XZ!(1)): P2# = YYPP! - CDbl(XZ!(2)): P3# = YYPP! - CDbl(XZ!(3))",
    "   If CVL% = 1 Then",
    "      W1# = 0: W2# = 0: W3# = 0",
    "      If NNPB% = NNP% Then",
    "         W1# = P2# / (P2# - P1#): W2# = P1# / (P1# - P2#)",
    "      Else",
    "         W2# = P3# / (P3# - P2#): W3# = P2# / (P2# - P3#)",
    "      End If",
    "   Else",
    "      W1# = P2# / (P2# - P1#) * P3# / (P3# - P1#)",
    "      W2# = P1# / (P1# - P2#) * P3# / (P3# - P2#)",
    "      W3# = P1# / (P1# - P3#) * P2# / (P2# - P3#)",
    "   End If",
    "   YQ# = W1# * YZ!(1) + W2# * YZ!(2) + W3# * YZ!(3)",
};

}  // namespace

std::string UsedPositionsLine(Interpolation interpolation) {
    if (interpolation == Interpolation::kTwoPoint) {
        return "   CVC$ = \"/\" + Trim$(Str$(NNP% - 1)) + \"/\" + Trim$(Str$(NNP%)) + \"/\"";
    }
    return "   CVC$ = \"/\" + Trim$(Str$(NNP% - 1)) + \"/\" + Trim$(Str$(NNP%)) + \"/\" + "
           "Trim$(Str$(NNP% + 1)) +\"/\"";
}

void AppendInterpolationDims(ProgramLines& out, Interpolation interpolation) {
    out.push_back(interpolation == Interpolation::kTwoPoint
                      ? "   Dim XX1!"
                      : "   Dim P1#, P2#, P3#, W1#, W2#, W3#");
}

void AppendInterpolation(ProgramLines& out, Interpolation interpolation) {
    Append(out, kParameters);
    if (interpolation == Interpolation::kTwoPoint) {
        Append(out, kTwoPoint);
    } else {
        Append(out, kThreePoint);
    }
    AppendSingleOfValue(out, 3);
    out.push_back("   ZANS! = YQ#");
    out.push_back("Return");
}

}  // namespace kx::core::calc_text
