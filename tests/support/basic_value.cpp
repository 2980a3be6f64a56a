#include "support/basic_value.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace kx::test::basic {
namespace {

int Rank(Type t) {
    switch (t) {
        case Type::kInteger: return 0;
        case Type::kLong: return 1;
        case Type::kSingle: return 2;
        default: return 3;
    }
}

Type OfRank(int rank) {
    static constexpr Type kTypes[] = {Type::kInteger, Type::kLong, Type::kSingle, Type::kDouble};
    return kTypes[rank];
}

[[noreturn]] void Fail(int code, const char* what) {
    throw RuntimeError(code, what);
}

void RequireNumber(const Value& v) {
    if (v.isString()) Fail(13, "type mismatch");
}

double RoundToInteger(double v) {
    return std::nearbyint(v);
}

long long ToBits(const Value& v) {
    RequireNumber(v);
    const double r = RoundToInteger(v.number);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) Fail(6, "overflow");
    return static_cast<long long>(r);
}

thread_local Arithmetic gArithmetic = Arithmetic::kSingle;
thread_local Dialect gDialect = Dialect::kVisualBasic;

Value Numeric(double result, Type type) {
    return Result(result, type);
}

std::string Concat(const Value& a, const Value& b) {
    if (!a.isString() || !b.isString()) Fail(13, "type mismatch");
    return a.text + b.text;
}

int Compare(const Value& a, const Value& b) {
    if (a.isString() != b.isString()) Fail(13, "type mismatch");
    if (a.isString()) return a.text < b.text ? -1 : a.text > b.text ? 1 : 0;
    double x = a.number;
    double y = b.number;
    if (gDialect == Dialect::kLibreOffice &&
        (a.type == Type::kSingle || b.type == Type::kSingle)) {
        x = static_cast<float>(x);
        y = static_cast<float>(y);
    }
    return x < y ? -1 : x > y ? 1 : 0;
}

Value Truth(bool b) {
    return Value::Integer(b ? -1 : 0);
}

}  // namespace

void SetArithmetic(Arithmetic arithmetic) {
    gArithmetic = arithmetic;
}

Arithmetic CurrentArithmetic() {
    return gArithmetic;
}

void SetDialect(Dialect dialect) {
    gDialect = dialect;
}

Dialect CurrentDialect() {
    return gDialect;
}

Value Result(double value, Type type) {
    if (type == Type::kSingle && gArithmetic == Arithmetic::kExtended) {
        // That host works on Singles in double precision and types the
        // result so: it compares as a Double and is range-checked only where
        // it is stored.
        if (gDialect == Dialect::kLibreOffice) return Convert(Value::Double(value), Type::kDouble);
        if (!std::isfinite(value) || std::fabs(value) > FLT_MAX) Fail(6, "overflow");
        return Value::Single(value);
    }
    return Convert(Value::Double(value), type);
}

Type TypeOfName(const std::string& name) {
    if (name.empty()) return Type::kVariant;
    switch (name.back()) {
        case '%': return Type::kInteger;
        case '&': return Type::kLong;
        case '!': return Type::kSingle;
        case '#': return Type::kDouble;
        case '$': return Type::kString;
        default: return Type::kVariant;
    }
}

Value Convert(const Value& value, Type type) {
    if (type == Type::kVariant) return value;
    if (type == Type::kString) {
        if (!value.isString()) Fail(13, "type mismatch");
        return value;
    }
    RequireNumber(value);
    const double v = value.number;
    switch (type) {
        case Type::kInteger: {
            const double r = RoundToInteger(v);
            if (!(r >= -32768.0 && r <= 32767.0)) Fail(6, "overflow");
            return Value::Integer(r);
        }
        case Type::kLong: {
            const double r = RoundToInteger(v);
            if (!(r >= -2147483648.0 && r <= 2147483647.0)) Fail(6, "overflow");
            return Value::Long(r);
        }
        case Type::kSingle: {
            if (!std::isfinite(v) || std::fabs(v) > FLT_MAX) Fail(6, "overflow");
            const float f = static_cast<float>(v);
            if (std::isinf(f)) Fail(6, "overflow");
            if (gDialect == Dialect::kLibreOffice && v != 0.0 && std::fabs(v) < FLT_MIN) {
                Fail(6, "overflow");
            }
            return Value::Single(f);
        }
        default:
            if (!std::isfinite(v)) Fail(6, "overflow");
            return Value::Double(v);
    }
}

Value Binary(BinaryOp op, const Value& a, const Value& b) {
    switch (op) {
        case BinaryOp::kEq: return Truth(Compare(a, b) == 0);
        case BinaryOp::kNe: return Truth(Compare(a, b) != 0);
        case BinaryOp::kLt: return Truth(Compare(a, b) < 0);
        case BinaryOp::kGt: return Truth(Compare(a, b) > 0);
        case BinaryOp::kLe: return Truth(Compare(a, b) <= 0);
        case BinaryOp::kGe: return Truth(Compare(a, b) >= 0);
        case BinaryOp::kConcat: return Value::String(Concat(a, b));
        default: break;
    }
    if (op == BinaryOp::kAdd && (a.isString() || b.isString())) {
        return Value::String(Concat(a, b));
    }
    RequireNumber(a);
    RequireNumber(b);
    const Type wider = OfRank(std::max(Rank(a.type), Rank(b.type)));
    switch (op) {
        case BinaryOp::kAdd: return Numeric(a.number + b.number, wider);
        case BinaryOp::kSub: return Numeric(a.number - b.number, wider);
        case BinaryOp::kMul: return Numeric(a.number * b.number, wider);
        case BinaryOp::kDiv: {
            if (b.number == 0.0) {
                if (a.number == 0.0) Fail(6, "overflow");
                Fail(11, "division by zero");
            }
            // Integers and singles divide to a Single; a Long or a Double
            // makes the quotient a Double.
            const bool toDouble = a.type == Type::kLong || a.type == Type::kDouble ||
                                  b.type == Type::kLong || b.type == Type::kDouble;
            return Numeric(a.number / b.number, toDouble ? Type::kDouble : Type::kSingle);
        }
        case BinaryOp::kIntDiv:
        case BinaryOp::kMod: {
            const long long x = ToBits(a);
            const long long y = ToBits(b);
            if (y == 0) Fail(11, "division by zero");
            const Type t = Rank(wider) == 0 ? Type::kInteger : Type::kLong;
            return Numeric(static_cast<double>(op == BinaryOp::kMod ? x % y : x / y), t);
        }
        case BinaryOp::kPow: {
            const double base = a.number;
            const double exponent = b.number;
            if (base < 0.0 && exponent != std::floor(exponent)) Fail(5, "invalid procedure call");
            if (base == 0.0 && exponent < 0.0) Fail(5, "invalid procedure call");
            return Numeric(std::pow(base, exponent), Type::kDouble);
        }
        case BinaryOp::kAnd:
        case BinaryOp::kOr:
        case BinaryOp::kXor: {
            const long long x = ToBits(a);
            const long long y = ToBits(b);
            const long long r = op == BinaryOp::kAnd  ? (x & y)
                                : op == BinaryOp::kOr ? (x | y)
                                                      : (x ^ y);
            const bool bothInteger = a.type == Type::kInteger && b.type == Type::kInteger;
            return Numeric(static_cast<double>(r), bothInteger ? Type::kInteger : Type::kLong);
        }
        default: Fail(5, "invalid operator");
    }
}

Value Negate(const Value& a) {
    RequireNumber(a);
    return Numeric(-a.number, a.type);
}

Value Not(const Value& a) {
    const long long x = ToBits(a);
    const Type type = a.type == Type::kInteger ? Type::kInteger : Type::kLong;
    return Numeric(static_cast<double>(~x), type);
}

bool IsTrue(const Value& condition) {
    RequireNumber(condition);
    return condition.number != 0.0;
}

std::string StrOf(const Value& value) {
    RequireNumber(value);
    const double v = value.number;
    char buffer[64];
    if (value.type == Type::kInteger || value.type == Type::kLong) {
        std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(v));
    } else {
        const int digits = value.type == Type::kSingle ? 7 : 15;
        std::snprintf(buffer, sizeof buffer, "%.*G", digits, v);
    }
    std::string text = buffer;
    // The dialect writes no zero before the point and a two-digit exponent.
    if (text.rfind("0.", 0) == 0) text.erase(0, 1);
    if (text.rfind("-0.", 0) == 0) text.erase(1, 1);
    if (v >= 0.0) text.insert(text.begin(), ' ');
    return text;
}

double ValOf(const std::string& text) {
    std::string clean;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') continue;
        clean.push_back(c == 'D' || c == 'd' ? 'E' : c);
    }
    std::size_t i = 0;
    if (i < clean.size() && (clean[i] == '+' || clean[i] == '-')) ++i;
    bool digits = false;
    bool point = false;
    while (i < clean.size()) {
        const char c = clean[i];
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
        ++i;
    }
    if (!digits) return 0.0;
    if (i < clean.size() && (clean[i] == 'E' || clean[i] == 'e')) {
        std::size_t j = i + 1;
        if (j < clean.size() && (clean[j] == '+' || clean[j] == '-')) ++j;
        if (j < clean.size() && clean[j] >= '0' && clean[j] <= '9') {
            while (j < clean.size() && clean[j] >= '0' && clean[j] <= '9') ++j;
            i = j;
        }
    }
    return std::strtod(clean.substr(0, i).c_str(), nullptr);
}

}  // namespace kx::test::basic
