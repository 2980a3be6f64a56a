#include "core/codegen/family_interpolation.h"

namespace kx::core::calc_text {
namespace {

constexpr const char* kTwoPoint[] = {
    "CMATRIX: Rem",
    "   XZ!(1) = Val(YG1$(NNP% - 1))",
    "   XZ!(2) = Val(YG1$(NNP%))",
    "   If HMODE% = 0 Then",
    "      YZ!(1) = Y!(NNP% - 1)",
    "      YZ!(2) = Y!(NNP%)",
    "   Else",
    "      YZ!(1) = XP1!(NNP% - 1)",
    "      YZ!(2) = XP1!(NNP%)",
    "   End If",
    "   XX1! = (YZ!(2) - YZ!(1)) / (XZ!(2) - XZ!(1))",
    "   ZANS! = XX1! * (YYPP! - XZ!(2)) + YZ!(2)",
    "Return",
};

// The parabola comes from the 3 x 3 normal equations, solved by Cramer's rule
// with the determinants in double precision.
constexpr const char* kThreePoint[] = {
    "CMATRIX: Rem",
    "   XZ!(1) = Val(YG1$(NNP% - 1))",
    "   XZ!(2) = Val(YG1$(NNP%))",
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
    "   XX1! = 0: XX2! = 0: XX3! = 0: XX4! = 0",
    "   NN% = 0: X2Y! = 0: XY1! = 0: YY1! = 0",
    "   For IJ% = 1 To 3",
    "      NN% = NN% + 1",
    "      XX1! = XX1! + XZ!(IJ%)",
    "      XX2! = XX2! + XZ!(IJ%) ^ 2",
    "      XX3! = XX3! + XZ!(IJ%) ^ 3",
    "      XX4! = XX4! + XZ!(IJ%) ^ 4",
    "      X2Y! = X2Y! + XZ!(IJ%) ^ 2 * YZ!(IJ%)",
    "      XY1! = XY1! + XZ!(IJ%) * YZ!(IJ%)",
    "      YY1! = YY1! + YZ!(IJ%)",
    "   Next IJ%",
    "   BASE1# = XX4! * XX2! * NN% + 2 * XX3! * XX1! * XX2!",
    "   BASE2# = XX2! ^ 3 + XX3! ^ 2 * NN% + XX1! ^ 2 * XX4!",
    "   BASE0# = BASE1# - BASE2#",
    "   BASE1A# = X2Y! * XX2! * NN% + XY1! * XX1! * XX2! + YY1! * XX1! * XX3!",
    "   BASE2A# = XX2! ^ 2 * YY1! + XX3! * XY1! * NN% + XX1! ^ 2 * X2Y!",
    "   BASE0A# = BASE1A# - BASE2A#",
    "   BASE1B# = XX4! * XY1! * NN% + XX3! * YY1! * XX2! + XX2! * X2Y! * XX1!",
    "   BASE2B# = XX2! ^ 2 * XY1! + XX3! * X2Y! * NN% + XX1! * YY1! * XX4!",
    "   BASE0B# = BASE1B# - BASE2B#",
    "   BASE1C# = XX4! * XX2! * YY1! + XX3! * XX1! * X2Y! + XX2! * XX3! * XY1!",
    "   BASE2C# = XX2! ^ 2 * X2Y! + XX3! ^ 2 * YY1! + XX1! * XY1! * XX4!",
    "   BASE0C# = BASE1C# - BASE2C#",
    "   AANS! = BASE0A# / BASE0#",
    "   BANS! = BASE0B# / BASE0#",
    "   CANS! = BASE0C# / BASE0#",
    "   ZANS! = AANS! * YYPP! ^ 2 + BANS! * YYPP! + CANS!",
    "Return",
};

}  // namespace

std::string UsedPositionsLine(Interpolation interpolation) {
    if (interpolation == Interpolation::kTwoPoint) {
        return "   CVC$ = \"/\" + Trim$(Str$(NNP% - 1)) + \"/\" + Trim$(Str$(NNP%)) + \"/\"";
    }
    return "   CVC$ = \"/\" + Trim$(Str$(NNP% - 1)) + \"/\" + Trim$(Str$(NNP%)) + \"/\" + "
           "Trim$(Str$(NNP% + 1)) +\"/\"";
}

void AppendInterpolation(ProgramLines& out, Interpolation interpolation) {
    if (interpolation == Interpolation::kTwoPoint) {
        Append(out, kTwoPoint);
    } else {
        Append(out, kThreePoint);
    }
}

}  // namespace kx::core::calc_text
