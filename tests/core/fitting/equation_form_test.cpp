#include "core/fitting/equation_form.h"

#include <gtest/gtest.h>

namespace kx::core {
namespace {

TEST(EquationForm, NumbersCodesAndNames) {
    EXPECT_EQ(FormNumber(1, 1), 1);
    EXPECT_EQ(FormNumber(7, 3), 21);
    EXPECT_EQ(SystemOfForm(13), 5);
    EXPECT_EQ(DegreeOfForm(14), 2);
    const char* codes[] = {"200", "300", "400", "210", "310", "410", "201",
                           "301", "401", "211", "311", "411", "220", "320",
                           "420", "202", "302", "402", "222", "322", "422"};
    for (int form = 1; form <= kFormCount; ++form) {
        EXPECT_STREQ(EquationCode(form), codes[form - 1]);
        EXPECT_EQ(CoefficientCount(form), codes[form - 1][0] - '0');
    }
    EXPECT_STREQ(EquationCode(0), "");
    EXPECT_EQ(CoefficientCount(0), 0);
    EXPECT_STREQ(GenericFormText(12), "Ln(Y) = a(Ln(X))^3 + b(Ln(X))^2 + cLn(X) + d");
    EXPECT_STREQ(GenericFormText(19), "1/Y = a(1/X) + b");
}

TEST(EquationForm, DisplayAndProgramTexts) {
    EXPECT_EQ(DisplayText(1, {0, 2, 0.5}), "Y =  2.00000E+00 X +  5.00000E-01");
    EXPECT_EQ(ProgramText(1, {0, 2, 0.5}), "Y1! =  2.00000E+00* X1! +  5.00000E-01");
    EXPECT_EQ(ProgramText(7, {0, 2, -0.5}), "Y1! = EXP(  2.00000E+00* X1! - 5.00000E-01 )");
    EXPECT_EQ(DisplayText(7, {0, 2, -0.5}), "Log(Y) =  2.00000E+00 X - 5.00000E-01");
    // Degree 2 has the extra blank before the second term; 0 is written " - ".
    EXPECT_EQ(DisplayText(5, {0, -1.5, 0, 3}),
              "Y = -1.50000E+00 (Log(X))^2  - 0.00000E-50 Log(X) +  3.00000E+00");
    EXPECT_EQ(ProgramText(17, {0, 1, 2, 3}),
              "Y1! = 1 / (  1.00000E+00* X1!^2  +  2.00000E+00* X1! +  3.00000E+00 )");
    // Degree 3 of a log system starts with "Exp(".
    EXPECT_EQ(ProgramText(12, {0, 1, -2, 3, -4}),
              "Y1! = Exp(  1.00000E+00* (Log(X1!))^3 - 2.00000E+00* (Log(X1!))^2 +  "
              "3.00000E+00* Log(X1!) - 4.00000E+00 )");
    EXPECT_EQ(DisplayText(21, {0, 1, 2, 3, 4}),
              "1/Y =  1.00000E+00 (1/X)^3 +  2.00000E+00 (1/X)^2 +  3.00000E+00 (1/X) +  "
              "4.00000E+00");
    EXPECT_EQ(ProgramText(15, {0, 1, 0, 0, 2}),
              "Y1! =  1.00000E+00* (1/X1!)^3 - 0.00000E-50* (1/X1!)^2 - 0.00000E-50* (1/X1!) +  "
              "2.00000E+00");
    EXPECT_EQ(ProgramText(0, {}), "Y1! = 0");
}

}  // namespace
}  // namespace kx::core
