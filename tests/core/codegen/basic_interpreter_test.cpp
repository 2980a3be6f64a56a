#include "support/basic_interpreter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace kx::test::basic {
namespace {

// Runs "Sub T(A!, B#, C%, S$)" with the body lines; returns the call.
CallResult RunBody(const std::vector<std::string>& body, std::vector<Value>& args) {
    std::vector<std::string> lines = {"Sub T(A!, B#, C%, S$)"};
    lines.insert(lines.end(), body.begin(), body.end());
    lines.push_back("End Sub");
    Program program(lines);
    EXPECT_TRUE(program.ok()) << program.error();
    return program.Call(args);
}

std::vector<Value> NoArgs() {
    return {Value::Single(0), Value::Double(0), Value::Integer(0), Value::String("")};
}

TEST(BasicInterpreter, TypesFollowTheNameSuffixes) {
    std::vector<Value> args = NoArgs();
    const CallResult r =
        RunBody({"A! = 0.1", "B# = 0.1", "C% = 2.5", "I% = 3.5", "L& = 70000", "Q! = 7 / 2",
                 "P# = 2 ^ 0.5", "N! = -2 ^ 2", "M! = 2 * -3", "If A! = 0.1 Then S$ = \"same\"",
                 "D# = A!", "K% = 1 + 2 * 3 ^ 2", "F! = 16777216! + 1"},
                args);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(args[0].number, static_cast<double>(0.1f));
    EXPECT_EQ(args[1].number, 0.1);
    EXPECT_EQ(args[2].number, 2);  // halves to even
    EXPECT_EQ(r.local("I%"), 4);
    EXPECT_EQ(r.local("L&"), 70000);
    EXPECT_EQ(r.local("Q!"), 3.5);
    EXPECT_DOUBLE_EQ(r.local("P#"), std::sqrt(2.0));
    EXPECT_EQ(r.local("N!"), -4);
    EXPECT_EQ(r.local("M!"), -6);
    EXPECT_EQ(args[3].text, "");  // a Single meets a Double in double precision
    EXPECT_NE(r.local("D#"), 0.1);
    EXPECT_EQ(r.local("K%"), 19);
    EXPECT_EQ(r.local("F!"), 16777216.0);  // single arithmetic rounds
}

TEST(BasicInterpreter, ExtendedArithmeticRoundsOnlyWhereValuesAreStored) {
    const Program program({"Sub T(A!, B#, C%, S$)", "   X! = 16777216", "   B# = X! + 1!",
                           "   A! = X! + 1!", "End Sub"});
    ASSERT_TRUE(program.ok()) << program.error();
    for (const Arithmetic arithmetic : {Arithmetic::kSingle, Arithmetic::kExtended}) {
        std::vector<Value> args = NoArgs();
        const CallOptions options{.arithmetic = arithmetic};
        ASSERT_TRUE(program.Call(args, options).ok);
        EXPECT_EQ(args[0].number, 16777216.0);
        EXPECT_EQ(args[1].number, arithmetic == Arithmetic::kSingle ? 16777216.0 : 16777217.0);
    }
    EXPECT_EQ(CurrentArithmetic(), Arithmetic::kSingle);
}

// What the two hosts do differently, as LibreOffice Basic was seen to do it:
// it compares a Single operand in single precision, computes Singles in double
// precision (a result then compares as a Double), refuses a Single below the
// smallest normal one and undeclared variables.
TEST(BasicInterpreter, DialectsDifferWhereTheHostsDo) {
    const Program program(
        {"Sub T(A!, B#, C%, S$)", "   Dim X!, W!", "   X! = 0.1: W! = 16777216",
         "   If X! = 0.1 Then S$ = S$ + \"a\"", "   If W! + 1! > W! Then S$ = S$ + \"b\"",
         "   If X! * 3! = 0.3 Then S$ = S$ + \"c\"", "   If X! * 3! = 0.3! Then S$ = S$ + \"d\"",
         "   A! = 1E-20", "   B# = A! * A!", "   If C% = 1 Then A! = B#", "End Sub"});
    ASSERT_TRUE(program.ok()) << program.error();
    struct Case {
        Dialect dialect;
        Arithmetic arithmetic;
        const char* compared;
    };
    for (const Case& c : {Case{Dialect::kVisualBasic, Arithmetic::kSingle, "d"},
                          Case{Dialect::kVisualBasic, Arithmetic::kExtended, "b"},
                          Case{Dialect::kLibreOffice, Arithmetic::kExtended, "ad"}}) {
        const CallOptions options{.arithmetic = c.arithmetic, .dialect = c.dialect};
        std::vector<Value> args = NoArgs();
        ASSERT_TRUE(program.Call(args, options).ok);
        EXPECT_EQ(args[3].text, c.compared);

        args = NoArgs();
        args[2] = Value::Integer(1);  // stores 1E-40 in a Single
        const CallResult tiny = program.Call(args, options);
        if (c.dialect == Dialect::kVisualBasic) {
            ASSERT_TRUE(tiny.ok);
            EXPECT_EQ(args[0].number, static_cast<double>(1e-20f * 1e-20f));  // a subnormal
        } else {
            EXPECT_EQ(tiny.errorCode, 6);
        }
    }
    EXPECT_EQ(CurrentDialect(), Dialect::kVisualBasic);

    const Program undeclared({"Sub T(A!)", "   Dim X!", "   X! = A!", "   Y! = X!", "End Sub"});
    ASSERT_TRUE(undeclared.ok()) << undeclared.error();
    std::vector<Value> one = {Value::Single(1)};
    EXPECT_TRUE(undeclared.Call(one).ok);
    const CallResult refused = undeclared.Call(one, {.dialect = Dialect::kLibreOffice});
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.error, "line 4: variable not defined: Y!");
}

TEST(BasicInterpreter, ErrorHandlersResumeWhereTheyAreTold) {
    std::vector<Value> args = NoArgs();
    CallResult r =
        RunBody({"   On Error GoTo TRAP", "   A! = 1 / C%", "   S$ = S$ + \"a\"",
                 // An error in the condition resumes in the Then branch.
                 "   If 1 / C% > 0 Then S$ = S$ + \"b\" Else S$ = S$ + \"c\"", "   B# = Log(0)",
                 "   S$ = S$ + \"-\"", "OUT:", "   GoTo DONE", "TRAP:", "   N% = N% + 1",
                 "   If N% < 3 Then Resume Next", "   Resume OUT", "DONE:"},
                args);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(args[3].text, "ab");
    EXPECT_EQ(r.local("N%"), 3);
    EXPECT_EQ(r.handledErrors, 3);
    EXPECT_EQ(r.handledErrorCode, 11);
    EXPECT_EQ(r.handledError, "line 3: division by zero");

    // An error inside the handler, or after the handler is switched off, or a
    // Resume without an error, leaves the call.
    const std::vector<std::vector<std::string>> bodies = {
        {"   On Error GoTo TRAP", "   A! = Log(0)", "   GoTo DONE", "TRAP:", "   A! = 1 / C%",
         "DONE:"},
        {"   On Error GoTo TRAP", "   On Error GoTo 0", "   A! = 1 / C%", "TRAP:"},
        {"   Resume Next"}};
    for (const auto& body : bodies) {
        args = NoArgs();
        r = RunBody(body, args);
        EXPECT_FALSE(r.ok) << body[1];
    }
}

TEST(BasicInterpreter, StructuredStatementsAndSubroutines) {
    std::vector<Value> args = NoArgs();
    const CallResult r = RunBody({"   For I% = 1 To 10",
                                  "      If I% = 7 Then Exit For",
                                  "      T% = T% + I%",
                                  "   Next I%",
                                  "   Do Until N% >= 3",
                                  "      N% = N% + 1: GoSub TWICE",
                                  "   Loop",
                                  "   For J% = 1 To 4",
                                  "   Select Case J%",
                                  "      Case 1:",
                                  "         S$ = S$ + \"a\"",
                                  "      Case 2, 3:",
                                  "         S$ = S$ + \"b\"",
                                  "      Case Else",
                                  "         S$ = S$ + \"c\"",
                                  "   End Select",
                                  "   Next J%",
                                  "   If T% > 100 Then",
                                  "      C% = 1",
                                  "   ElseIf T% > 20 Then",
                                  "      If N% = 3 Then C% = 2: B# = 1 Else C% = 3",
                                  "   Else",
                                  "      C% = 4",
                                  "   End If",
                                  "   GoTo DONE",
                                  "TWICE:",
                                  "   W% = W% + 2",
                                  "Return",
                                  "DONE: Rem"},
                                 args);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.local("T%"), 21);
    EXPECT_EQ(r.local("N%"), 3);
    EXPECT_EQ(r.local("W%"), 6);
    EXPECT_EQ(args[3].text, "abbc");
    EXPECT_EQ(args[2].number, 2);
    EXPECT_EQ(args[1].number, 1);
}

TEST(BasicInterpreter, TextFunctions) {
    std::vector<Value> args = NoArgs();
    const CallResult r =
        RunBody({"K% = 2", "S$ = \"/\" + Trim$(Str$(K% - 1)) + \"/\" + Trim$(Str$(K%)) + \"/\"",
                 "P% = InStr(S$, \"/2/\")", "Q% = InStr(S$,\"/3/\")",
                 "V! = Val(\" 2.5E1 \") + Val(\"\")", "T$ = Str$(-3)"},
                args);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(args[3].text, "/1/2/");
    EXPECT_EQ(r.local("P%"), 3);
    EXPECT_EQ(r.local("Q%"), 0);
    EXPECT_EQ(r.local("V!"), 25);
    EXPECT_EQ(r.locals.at("T$").text, "-3");
}

TEST(BasicInterpreter, RunTimeErrorsStopTheCall) {
    struct Case {
        std::vector<std::string> body;
        int code;
    };
    const Case cases[] = {{{"A! = Log(0)"}, 5},
                          {{"A! = 1 / B#"}, 11},
                          {{"A! = Exp(100)"}, 6},
                          {{"C% = 32767", "C% = C% + 1"}, 6},
                          {{"Dim Y!(3)", "Y!(4) = 1"}, 9},
                          {{"Return"}, 3},
                          {{"A! = (-8) ^ 0.5"}, 5},
                          {{"TOP:", "GoTo TOP"}, -1}};
    for (const Case& c : cases) {
        std::vector<Value> args = NoArgs();
        const CallResult r = RunBody(c.body, args);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.errorCode, c.code) << c.body.back();
    }
}

TEST(BasicInterpreter, RefusesTextOutsideTheSubset) {
    const std::vector<std::vector<std::string>> programs = {
        {"Sub T()", "X = 1", "End Sub"},       // untyped name
        {"Sub T()", "A! = Y!(1)", "End Sub"},  // undeclared array
        {"Sub T()", "On Error Resume Next", "End Sub"},
        {"Sub T()", "If A! > 0 Then", "End Sub"},  // unclosed block
        {"Sub T()", "GoTo NOWHERE", "End Sub"},
        {"Sub T()", "A! = 1"}};  // no End Sub
    for (const auto& lines : programs) {
        const Program program(lines);
        EXPECT_FALSE(program.ok()) << lines[1];
    }
}

}  // namespace
}  // namespace kx::test::basic
