#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/basic_value.h"

// The compiled form of a BASIC Sub: expression trees and a flat list of
// instructions in which every structured statement has become jumps.
namespace kx::test::basic {

enum class Function {
    kAbs,
    kExp,
    kLog,
    kSqr,
    kInt,
    kFix,
    kSgn,
    kVal,
    kStr,
    kTrim,
    kLTrim,
    kRTrim,
    kLen,
    kInStr,
    kLeft,
    kRight,
    kMid,
    kCInt,
    kCLng,
    kCSng,
    kCDbl
};

struct Expr {
    enum class Kind { kLiteral, kScalar, kElement, kFunction, kNegate, kNot, kBinary };
    Kind kind = Kind::kLiteral;
    Value literal;
    int slot = -1;  // scalar or array
    Function function = Function::kAbs;
    BinaryOp op = BinaryOp::kAdd;
    std::vector<std::unique_ptr<Expr>> args;
};
using ExprPtr = std::unique_ptr<Expr>;

struct Instr {
    enum class Kind {
        kAssign,
        kJump,
        kJumpIfFalse,
        kJumpIfTrue,
        kGoSub,
        kReturn,
        kEndSub,
        kForTest,
        kForStep,
        kDoEvents,
        kOnError,     // jump: the handler's first instruction, -1 to switch it off
        kResume,      // jump: where to go on; -1 for the failed instruction itself
        kResumeNext,  // on with the instruction after the failed one
    };
    Kind kind = Kind::kJump;
    int line = 0;
    // kAssign: target scalar, or array element when `index` is set.
    int slot = -1;
    bool element = false;
    ExprPtr index;
    ExprPtr expr;  // assigned value or condition
    int jump = -1;
    std::string label;  // jump target still to resolve
    // kForTest / kForStep: loop variable, limit and step slots.
    int limitSlot = -1;
    int stepSlot = -1;
};

struct ArrayInfo {
    Type type = Type::kSingle;
    int size = 0;  // elements 0..size-1
};

struct Compiled {
    std::vector<Instr> code;
    std::vector<Type> scalarTypes;
    std::map<std::string, int> scalars;  // by upper-case name
    std::vector<ArrayInfo> arrays;
    std::map<std::string, int> arrayNames;
    std::vector<int> parameters;  // scalar slots in order
    std::string error;            // empty when the text compiled
    // The first variable used before a Dim or the parameter list declared it,
    // with its line; empty when every variable is declared.
    std::string undeclared;
    int undeclaredLine = 0;
};

// Compiles the lines of one Sub; on a refusal `error` names the line.
void Compile(const std::vector<std::string>& lines, Compiled& out);

}  // namespace kx::test::basic
