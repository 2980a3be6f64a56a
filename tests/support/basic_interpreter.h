#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/basic_value.h"

// An evaluator of the BASIC subset that the generated Calc subroutine is
// written in, so that tests can run the generated text instead of reading it.
// One Sub per program; variables are local to a call and start at zero (or the
// empty text) as the dialect's are; a variable's type is its name's suffix and
// a name without one is refused, as is any statement outside the subset.
// Supported: Sub/End Sub, Dim of scalars and one-dimensional arrays (0..n),
// assignment, single-line and block If/ElseIf/Else, Select Case, Do
// [Until|While]/Loop [Until|While], For/Next [Step], Exit Do/For/Sub, GoTo,
// GoSub/Return, labels, Rem and ' comments, DoEvents, On Error GoTo label and
// On Error GoTo 0 with Resume, Resume Next and Resume label, and the functions
// Abs, Exp, Log, Sqr, Int, Fix, Sgn, Val, Str$, Trim$, LTrim$, RTrim$, Len,
// InStr, Left$, Right$, Mid$, CInt, CLng, CSng, CDbl. A call runs under one
// Arithmetic and one Dialect (see basic_value.h).
namespace kx::test::basic {

struct CallResult {
    bool ok = false;
    int errorCode = 0;  // the dialect's run-time error number; -1 for the step limit
    std::string error;  // empty when ok
    int errorLine = 0;  // 1-based line of the program text
    // Errors that went to the program's own handler: how many, and the first.
    int handledErrors = 0;
    int handledErrorCode = 0;
    std::string handledError;
    long steps = 0;
    long doEvents = 0;
    std::map<std::string, Value> locals;  // final scalars by upper-case name

    // The number in a local at the end of the call; 0 for one never set.
    double local(const std::string& name) const;
};

struct CallOptions {
    long stepLimit = 20'000'000;
    Arithmetic arithmetic = Arithmetic::kSingle;
    Dialect dialect = Dialect::kVisualBasic;
};

class Program {
public:
    explicit Program(const std::vector<std::string>& lines);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool ok() const;
    const std::string& error() const;  // why the text was refused, with its line

    std::size_t parameterCount() const;
    // Runs the Sub. The arguments are passed by reference: converted to the
    // parameter types on entry and written back on return.
    CallResult Call(std::vector<Value>& arguments, CallOptions options = {}) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Calc(XXPP!, YYPP!, ANS00!, EFLG%) for one X and parameter value.
struct CalcOutcome {
    bool ok = false;
    float answer = 0.0f;
    int flag = 0;
    CallResult call;
};
CalcOutcome RunCalc(const Program& program, float x, float parameter, CallOptions options);
CalcOutcome RunCalc(const Program& program, float x, float parameter,
                    Arithmetic arithmetic = Arithmetic::kSingle);

}  // namespace kx::test::basic
