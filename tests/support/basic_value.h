#pragma once

#include <stdexcept>
#include <string>

// Values and arithmetic of the BASIC dialect that the generated Calc program is
// written in: typed by the name suffix (% 16-bit integer, & 32-bit integer,
// ! 32-bit float, # double, $ string), with the dialect's result types and its
// run-time errors (5 invalid call, 6 overflow, 9 subscript out of range,
// 11 division by zero, 13 type mismatch).
namespace kx::test::basic {

enum class Type { kInteger, kLong, kSingle, kDouble, kString, kVariant };

struct Value {
    Type type = Type::kInteger;
    double number = 0.0;  // exactly representable in `type` for numbers
    std::string text;

    static Value Integer(double v) { return {Type::kInteger, v, {}}; }
    static Value Long(double v) { return {Type::kLong, v, {}}; }
    static Value Single(double v) { return {Type::kSingle, v, {}}; }
    static Value Double(double v) { return {Type::kDouble, v, {}}; }
    static Value String(std::string s) { return {Type::kString, 0.0, std::move(s)}; }
    bool isString() const { return type == Type::kString; }
};

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int code, const std::string& what) : std::runtime_error(what), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

// How operations on Singles round. kSingle: every operation's result is
// rounded to its type, as the dialect's typing rules have it. kExtended: an
// operation keeps the double-precision value under its type, and a value is
// rounded only where it is stored in a variable or an array element (as a
// compiler keeping intermediates in wider registers does).
enum class Arithmetic { kSingle, kExtended };

// The arithmetic of the operations run on this thread.
void SetArithmetic(Arithmetic arithmetic);
Arithmetic CurrentArithmetic();

// The host BASIC's rules where hosts differ. kVisualBasic: a Single compared
// with a Double is widened and compared in double precision, a value below the
// smallest normal Single is stored as a subnormal, undeclared variables are
// allowed. kLibreOffice: a comparison with a Single operand is made in single
// precision, storing a nonzero value below the smallest normal Single raises
// error 6, every variable must be declared (as under Option Explicit), and
// under kExtended the result of an operation on Singles is a Double (that
// host computes Singles in double precision). That host is kLibreOffice with
// kExtended.
enum class Dialect { kVisualBasic, kLibreOffice };

void SetDialect(Dialect dialect);
Dialect CurrentDialect();

// The result of an operation of result type `type`, rounded as the current
// arithmetic rounds and range-checked.
Value Result(double value, Type type);

// The type a name's suffix gives; kVariant for a name without suffix.
Type TypeOfName(const std::string& name);

// The value converted for storage in a variable of `type`: integers rounded
// half to even and range-checked, singles rounded to float and checked.
Value Convert(const Value& value, Type type);

enum class BinaryOp {
    kAdd,
    kSub,
    kMul,
    kDiv,
    kIntDiv,
    kMod,
    kPow,
    kConcat,
    kEq,
    kNe,
    kLt,
    kGt,
    kLe,
    kGe,
    kAnd,
    kOr,
    kXor
};

Value Binary(BinaryOp op, const Value& a, const Value& b);
Value Negate(const Value& a);
Value Not(const Value& a);
bool IsTrue(const Value& condition);

// Str$: the number text with a leading blank when it is not negative.
std::string StrOf(const Value& value);
// Val: the leading number of a text, blanks skipped.
double ValOf(const std::string& text);

}  // namespace kx::test::basic
