#pragma once

#include "core/codegen/calc_family.h"

namespace kx::core {

// The result flags of Calc (EFLG%).
enum CalcFlag : int {
    kCalcOk = 0,
    kCalcNonPositiveX = 1,  // X of 0 or below refused; the value is 0
    kCalcXOutside = 2,      // X beyond both neighbouring lines' X ranges
    kCalcParameterOutside = 3,
    kCalcYOutside = 4,         // the value beyond both neighbouring lines' Y ranges
    kCalcInverseXOutside = 5,  // the inverse solution's X beyond both ranges
    kCalcNotConverged = 6,     // the inverse solution did not converge
    kCalcFailed = 7,           // a run-time error of the calculation; the value is 0
};

// What Calc returns: ANS00! and EFLG%.
struct CalcAnswer {
    float value = 0.0f;
    int flag = kCalcOk;
};

// Evaluates the family at X and parameter as the generated Calc program does,
// step for step: the section chosen by comparing X with the Single section
// ends, the lines' values stored as Singles by the program's rule, the
// interpolation across two or three lines, the inverse solution with its
// guards, and every flag, 7 included (any step the program could not compute:
// a logarithm of 0 or below, a division by 0, a value beyond a Double, or
// beyond a Single where the program stores one).
//
// Singles are rounded after every operation, as C computes with floats
// (FLT_EVAL_METHOD 0); a comparison of a Single with a Double is made in
// double precision. A BASIC host that keeps Single intermediates wider can
// differ in the last bit of a value, and so in a flag when a value lies
// exactly on a limit.
CalcAnswer EvaluateCalc(const CalcFamily& family, float x, float parameter);

}  // namespace kx::core
