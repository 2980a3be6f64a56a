#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "core/codegen/calc_steps.h"

// The reader of the calculation's text: what every generated language is
// printed from must be well typed, so that no language's own rules of
// precision or conversion decide a rounding.
namespace kx::core::steps {
namespace {

std::string FaultOf(const std::string& text) {
    try {
        ReadCalcSteps(text);
    } catch (const std::logic_error& fault) {
        return fault.what();
    }
    return "";
}

TEST(CalcSteps, AFaultOfTheTextIsNamedWithItsLine) {
    const struct {
        const char* text;
        const char* fault;
    } cases[] = {
        {"def f(x: int) -> double:\n    return x * 1.0\n", "line 2: * of an int and a real"},
        {"def f(v: double) -> single:\n    return v\n", "line 2: a return that does not fit"},
        {"def f(v: double) -> single:\n    let s: single = v + 1.0\n    return s\n",
         "line 2: a value that s cannot hold"},
        {"def f(a: int, b: int) -> int:\n    return a / b\n", "/ of an int and a real, or"},
        {"def f() -> int:\n    return g()\n", "line 2: no function g"},
        {"def f(v: double) -> bool:\n    if v:\n        return true\n    return false\n",
         "line 2: no condition"},
        {"def f() -> bool:\n    return 1 == 1.0\n", "compares different kinds"},
        {"def f(k: int):\n    let k: int = 1\n", "k is declared twice"},
        {"def f():\n    let a: int = q\n", "nothing is named q"},
        {"def f() -> double:\n    return form[1]\n", "wrong number of indices"},
        {"def f() -> double:\n    return to_single(1.0, 2.0)\n", "wrong count of arguments"},
        {"def f():\n      fail\n", "indentation not a multiple of four"},
        {"def f():\n    if true:\n    fail\n", "an empty block"},
        {"def f() -> int:\n    if true:\n        let a: int = 1\n    return a\n",
         "nothing is named a"},
        {"def f():\n    1 + 2\n", "line 2: no call"},
    };
    for (const auto& c : cases) {
        const std::string fault = FaultOf(c.text);
        EXPECT_NE(fault.find(c.fault), std::string::npos) << c.text << "gave: " << fault;
    }
}

// Whether a function fails, reads or changes the state of the call or needs
// the family's numbers is known through every call it makes: the languages
// pass the state, the tables and the fault on that knowledge.
TEST(CalcSteps, WhatAFunctionNeedsPassesThroughItsCalls) {
    const CalcSteps steps = ReadCalcSteps(
        "state:\n    flag: int\n"
        "def a(v: double) -> single:\n    if v > 1.0:\n        fail\n    return to_single(v)\n"
        "def b() -> single:\n    return a(2.0)\n"
        "def c():\n    r.flag = lines\n"
        "def d():\n    c()\n"
        "def e() -> double:\n    return abs(-2.5)\n");
    ASSERT_EQ(steps.functions.size(), 5u);
    const Function& b = steps.functions[1];
    const Function& d = steps.functions[3];
    const Function& e = steps.functions[4];
    EXPECT_TRUE(b.faults);
    EXPECT_FALSE(b.readsState || b.writesState || b.usesFamily);
    EXPECT_TRUE(d.writesState && d.usesFamily);
    EXPECT_FALSE(d.faults);
    EXPECT_FALSE(e.faults || e.readsState || e.writesState || e.usesFamily);
    EXPECT_EQ(e.body[0].exprs[0].type, Type::kDouble);
    // The calculation itself reads.
    EXPECT_EQ(TheCalcSteps().functions.back().name, "calculate");
}

}  // namespace
}  // namespace kx::core::steps
