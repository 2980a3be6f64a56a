#include "support/basic_interpreter.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "support/basic_compiled.h"

namespace kx::test::basic {

struct Program::Impl {
    Compiled compiled;
};

namespace {

struct Frame {
    std::vector<Value> scalars;
    std::vector<std::vector<Value>> arrays;
};

Value Zero(Type type) {
    if (type == Type::kString) return Value::String("");
    if (type == Type::kVariant) return Value::Integer(0);
    return Value{type, 0.0, {}};
}

[[noreturn]] void Fail(int code, const char* what) {
    throw RuntimeError(code, what);
}

std::string TrimText(const std::string& s, bool left, bool right) {
    std::size_t first = 0;
    std::size_t last = s.size();
    if (left) {
        while (first < last && s[first] == ' ') ++first;
    }
    if (right) {
        while (last > first && s[last - 1] == ' ') --last;
    }
    return s.substr(first, last - first);
}

const std::string& Text(const Value& v) {
    if (!v.isString()) Fail(13, "type mismatch");
    return v.text;
}

double Number(const Value& v) {
    if (v.isString()) Fail(13, "type mismatch");
    return v.number;
}

long Count(const Value& v) {
    return static_cast<long>(Convert(v, Type::kLong).number);
}

class Evaluator {
public:
    explicit Evaluator(Frame& frame) : frame_(frame) {}

    Value operator()(const Expr& e) {
        switch (e.kind) {
            case Expr::Kind::kLiteral: return e.literal;
            case Expr::Kind::kScalar: return frame_.scalars[e.slot];
            case Expr::Kind::kElement: return element(e.slot, (*this)(*e.args[0]));
            case Expr::Kind::kNegate: return Negate((*this)(*e.args[0]));
            case Expr::Kind::kNot: return Not((*this)(*e.args[0]));
            case Expr::Kind::kBinary: {
                const Value a = (*this)(*e.args[0]);
                return Binary(e.op, a, (*this)(*e.args[1]));
            }
            case Expr::Kind::kFunction: return call(e);
        }
        Fail(5, "bad expression");
    }

    Value& element(int array, const Value& index) {
        std::vector<Value>& elements = frame_.arrays[array];
        const long i = Count(index);
        if (i < 0 || i >= static_cast<long>(elements.size())) Fail(9, "subscript out of range");
        return elements[i];
    }

private:
    // The arguments of a function call; no function takes more than three.
    struct Arguments {
        std::array<Value, 3> values;
        std::size_t count = 0;
        std::size_t size() const { return count; }
        const Value& operator[](std::size_t i) const { return values[i]; }
        const Value& back() const { return values[count - 1]; }
    };

    Value call(const Expr& e) {
        if (e.args.size() > 3) Fail(450, "wrong number of arguments");
        Arguments a;
        for (const ExprPtr& arg : e.args) a.values[a.count++] = (*this)(*arg);
        auto need = [&](std::size_t n) {
            if (a.size() != n) Fail(450, "wrong number of arguments");
        };
        switch (e.function) {
            case Function::kAbs: need(1); return Result(std::fabs(Number(a[0])), a[0].type);
            case Function::kExp: {
                need(1);
                const double r = std::exp(Number(a[0]));
                if (!std::isfinite(r)) Fail(6, "overflow");
                return Value::Double(r);
            }
            case Function::kLog:
                need(1);
                if (!(Number(a[0]) > 0.0)) Fail(5, "invalid procedure call");
                return Value::Double(std::log(a[0].number));
            case Function::kSqr:
                need(1);
                if (Number(a[0]) < 0.0) Fail(5, "invalid procedure call");
                return Value::Double(std::sqrt(a[0].number));
            case Function::kInt: need(1); return Result(std::floor(Number(a[0])), a[0].type);
            case Function::kFix: need(1); return Result(std::trunc(Number(a[0])), a[0].type);
            case Function::kSgn:
                need(1);
                return Value::Integer((Number(a[0]) > 0) - (a[0].number < 0));
            case Function::kVal: need(1); return Value::Double(ValOf(Text(a[0])));
            case Function::kStr: need(1); return Value::String(StrOf(a[0]));
            case Function::kTrim: need(1); return Value::String(TrimText(Text(a[0]), true, true));
            case Function::kLTrim:
                need(1);
                return Value::String(TrimText(Text(a[0]), true, false));
            case Function::kRTrim:
                need(1);
                return Value::String(TrimText(Text(a[0]), false, true));
            case Function::kLen:
                need(1);
                return Value::Long(static_cast<double>(Text(a[0]).size()));
            case Function::kInStr: {
                if (a.size() != 2 && a.size() != 3) Fail(450, "wrong number of arguments");
                const long start = a.size() == 3 ? Count(a[0]) : 1;
                if (start < 1) Fail(5, "invalid procedure call");
                const std::string& in = Text(a[a.size() - 2]);
                const std::string& what = Text(a.back());
                if (static_cast<std::size_t>(start) > in.size() + 1) return Value::Long(0);
                const std::size_t at = in.find(what, static_cast<std::size_t>(start - 1));
                return Value::Long(at == std::string::npos ? 0.0 : static_cast<double>(at + 1));
            }
            case Function::kLeft:
            case Function::kRight: {
                need(2);
                const std::string& s = Text(a[0]);
                const long n = Count(a[1]);
                if (n < 0) Fail(5, "invalid procedure call");
                const std::size_t k = std::min<std::size_t>(static_cast<std::size_t>(n), s.size());
                return Value::String(e.function == Function::kLeft ? s.substr(0, k)
                                                                   : s.substr(s.size() - k));
            }
            case Function::kMid: {
                if (a.size() != 2 && a.size() != 3) Fail(450, "wrong number of arguments");
                const std::string& s = Text(a[0]);
                const long start = Count(a[1]);
                if (start < 1) Fail(5, "invalid procedure call");
                if (static_cast<std::size_t>(start) > s.size()) return Value::String("");
                const long n = a.size() == 3 ? Count(a[2]) : static_cast<long>(s.size());
                if (n < 0) Fail(5, "invalid procedure call");
                return Value::String(
                    s.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(n)));
            }
            case Function::kCInt: need(1); return Convert(a[0], Type::kInteger);
            case Function::kCLng: need(1); return Convert(a[0], Type::kLong);
            case Function::kCSng: need(1); return Convert(a[0], Type::kSingle);
            case Function::kCDbl: need(1); return Convert(a[0], Type::kDouble);
        }
        Fail(5, "bad function");
    }

    Frame& frame_;
};

}  // namespace

double CallResult::local(const std::string& name) const {
    const auto it = locals.find(name);
    return it == locals.end() || it->second.isString() ? 0.0 : it->second.number;
}

Program::Program(const std::vector<std::string>& lines) : impl_(std::make_unique<Impl>()) {
    Compile(lines, impl_->compiled);
}

Program::~Program() = default;

bool Program::ok() const {
    return impl_->compiled.error.empty();
}

const std::string& Program::error() const {
    return impl_->compiled.error;
}

std::size_t Program::parameterCount() const {
    return impl_->compiled.parameters.size();
}

namespace {

// One call of the Sub: its variables, its GoSub returns and its error state.
class Run {
public:
    Run(const Compiled& compiled, CallResult& result)
        : c_(compiled), result_(result), eval_(frame_) {
        for (Type t : c_.scalarTypes) frame_.scalars.push_back(Zero(t));
        for (const ArrayInfo& a : c_.arrays) frame_.arrays.emplace_back(a.size, Zero(a.type));
    }

    void Enter(std::vector<Value>& arguments) {
        if (arguments.size() != c_.parameters.size()) Fail(450, "wrong number of arguments");
        for (std::size_t i = 0; i < arguments.size(); ++i) {
            const int slot = c_.parameters[i];
            frame_.scalars[slot] = Convert(arguments[i], c_.scalarTypes[slot]);
        }
    }

    // Runs to End Sub. A run-time error goes to the armed handler, unless one
    // is being handled already; the step limit is never handled.
    void Execute(long stepLimit) {
        int pc = 0;
        for (;;) {
            if (++result_.steps > stepLimit) throw RuntimeError(-1, "step limit reached");
            int next;
            try {
                next = Step(pc);
            } catch (const RuntimeError& e) {
                if (handler_ < 0 || handling_) throw;
                if (result_.handledErrors++ == 0) {
                    result_.handledErrorCode = e.code();
                    result_.handledError =
                        "line " + std::to_string(result_.errorLine) + ": " + e.what();
                }
                handling_ = true;
                failedPc_ = pc;
                next = handler_;
            }
            if (next < 0) return;
            pc = next;
        }
    }

    void Leave(std::vector<Value>& arguments) const {
        for (std::size_t i = 0; i < arguments.size() && i < c_.parameters.size(); ++i) {
            arguments[i] = frame_.scalars[c_.parameters[i]];
        }
        for (const auto& [name, slot] : c_.scalars) {
            if (name[0] != '#') result_.locals[name] = frame_.scalars[slot];
        }
    }

private:
    // Executes the instruction at pc; returns the next one, -1 at the end.
    int Step(int pc) {
        if (pc < 0 || pc >= static_cast<int>(c_.code.size())) Fail(5, "ran past the end");
        const Instr& in = c_.code[pc];
        result_.errorLine = in.line;
        int next = pc + 1;
        switch (in.kind) {
            case Instr::Kind::kAssign: {
                const Value v = eval_(*in.expr);
                if (in.element) {
                    Value& target = eval_.element(in.slot, eval_(*in.index));
                    target = Convert(v, c_.arrays[in.slot].type);
                } else {
                    frame_.scalars[in.slot] = Convert(v, c_.scalarTypes[in.slot]);
                }
                break;
            }
            case Instr::Kind::kJump: next = in.jump; break;
            case Instr::Kind::kJumpIfFalse:
                if (!IsTrue(eval_(*in.expr))) next = in.jump;
                break;
            case Instr::Kind::kJumpIfTrue:
                if (IsTrue(eval_(*in.expr))) next = in.jump;
                break;
            case Instr::Kind::kGoSub:
                if (returns_.size() > 10000) Fail(28, "out of stack space");
                returns_.push_back(pc + 1);
                next = in.jump;
                break;
            case Instr::Kind::kReturn:
                if (returns_.empty()) Fail(3, "Return without GoSub");
                next = returns_.back();
                returns_.pop_back();
                break;
            case Instr::Kind::kEndSub: next = -1; break;
            case Instr::Kind::kForTest: {
                const Value& v = frame_.scalars[in.slot];
                const Value& limit = frame_.scalars[in.limitSlot];
                const bool up = Number(frame_.scalars[in.stepSlot]) >= 0.0;
                const BinaryOp test = up ? BinaryOp::kLe : BinaryOp::kGe;
                if (!IsTrue(Binary(test, v, limit))) next = in.jump;
                break;
            }
            case Instr::Kind::kForStep:
                frame_.scalars[in.slot] = Convert(
                    Binary(BinaryOp::kAdd, frame_.scalars[in.slot], frame_.scalars[in.stepSlot]),
                    c_.scalarTypes[in.slot]);
                break;
            case Instr::Kind::kDoEvents: ++result_.doEvents; break;
            case Instr::Kind::kOnError:
                handler_ = in.jump;
                if (in.jump < 0) handling_ = false;
                break;
            case Instr::Kind::kResume:
            case Instr::Kind::kResumeNext:
                if (!handling_) Fail(20, "Resume without error");
                handling_ = false;
                // The instruction after the failed one: after an error in the
                // condition of an If or a loop test this is the branch that a
                // true condition takes, as in the dialect.
                next = in.kind == Instr::Kind::kResumeNext ? failedPc_ + 1
                       : in.jump >= 0                      ? in.jump
                                                           : failedPc_;
                break;
        }
        return next;
    }

    const Compiled& c_;
    CallResult& result_;
    Frame frame_;
    Evaluator eval_;
    std::vector<int> returns_;
    int handler_ = -1;
    bool handling_ = false;
    int failedPc_ = -1;
};

template <typename T, void (*Set)(T), T (*Get)()>
struct Scope {
    explicit Scope(T value) : saved(Get()) { Set(value); }
    ~Scope() { Set(saved); }
    T saved;
};

}  // namespace

CallResult Program::Call(std::vector<Value>& arguments, CallOptions options) const {
    CallResult result;
    const Scope<Arithmetic, SetArithmetic, CurrentArithmetic> arithmetic(options.arithmetic);
    const Scope<Dialect, SetDialect, CurrentDialect> dialect(options.dialect);
    const Compiled& c = impl_->compiled;
    if (!ok()) {
        result.error = c.error;
        return result;
    }
    if (options.dialect == Dialect::kLibreOffice && !c.undeclared.empty()) {
        result.errorLine = c.undeclaredLine;
        result.error =
            "line " + std::to_string(c.undeclaredLine) + ": variable not defined: " + c.undeclared;
        return result;
    }
    Run run(c, result);
    try {
        run.Enter(arguments);
        run.Execute(options.stepLimit);
        result.ok = true;
        result.errorLine = 0;
    } catch (const RuntimeError& e) {
        result.errorCode = e.code();
        result.error = "line " + std::to_string(result.errorLine) + ": " + e.what();
    }
    run.Leave(arguments);
    return result;
}

CalcOutcome RunCalc(const Program& program, float x, float parameter, CallOptions options) {
    std::vector<Value> arguments = {Value::Single(x), Value::Single(parameter), Value::Single(0),
                                    Value::Integer(0)};
    CalcOutcome outcome;
    outcome.call = program.Call(arguments, options);
    outcome.ok = outcome.call.ok;
    outcome.answer = static_cast<float>(arguments[2].number);
    outcome.flag = static_cast<int>(arguments[3].number);
    return outcome;
}

CalcOutcome RunCalc(const Program& program, float x, float parameter, Arithmetic arithmetic) {
    CallOptions options;
    options.arithmetic = arithmetic;
    return RunCalc(program, x, parameter, options);
}

}  // namespace kx::test::basic
