#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "support/basic_compiled.h"

// The tokens of one line of BASIC text.
namespace kx::test::basic {

struct CompileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Token {
    enum class Kind { kNumber, kString, kName, kOp, kEnd };
    Kind kind = Kind::kEnd;
    std::string text;  // names upper case, with their suffix
    Value value;       // numbers and strings
};

// The tokens of a line up to a ' comment or a Rem statement, ended by a kEnd
// token. Numbers are typed as literals are: Integer, Long or, with a point or
// an exponent, Double, unless a suffix says otherwise.
std::vector<Token> Lex(const std::string& line);

bool IsKeyword(const std::string& name);
const Function* FindFunction(const std::string& name);

}  // namespace kx::test::basic
