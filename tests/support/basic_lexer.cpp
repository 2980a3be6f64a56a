#include "support/basic_lexer.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

namespace kx::test::basic {
namespace {

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}
bool IsSuffix(char c) {
    return c == '%' || c == '!' || c == '#' || c == '$' || c == '&';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

Token NumberToken(const std::string& line, std::size_t& i) {
    const std::size_t start = i;
    bool real = false;
    while (i < line.size() && IsDigit(line[i])) ++i;
    if (i < line.size() && line[i] == '.') {
        real = true;
        ++i;
        while (i < line.size() && IsDigit(line[i])) ++i;
    }
    std::string digits = line.substr(start, i - start);
    if (i < line.size() && std::strchr("EeDd", line[i]) != nullptr) {
        std::size_t j = i + 1;
        if (j < line.size() && (line[j] == '+' || line[j] == '-')) ++j;
        if (j < line.size() && IsDigit(line[j])) {
            while (j < line.size() && IsDigit(line[j])) ++j;
            digits += "E" + line.substr(i + 1, j - i - 1);
            real = true;
            i = j;
        }
    }
    const double v = std::strtod(digits.c_str(), nullptr);
    Token t;
    t.kind = Token::Kind::kNumber;
    t.text = digits;
    Type type = real                           ? Type::kDouble
                : std::fabs(v) <= 32767        ? Type::kInteger
                : std::fabs(v) <= 2147483647.0 ? Type::kLong
                                               : Type::kDouble;
    if (i < line.size() && IsSuffix(line[i]) && line[i] != '$') {
        type = TypeOfName(std::string(1, line[i++]));
    }
    t.value = Convert(Value::Double(v), type);
    return t;
}

}  // namespace

std::vector<Token> Lex(const std::string& line) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    auto atStatementStart = [&] {
        return tokens.empty() ||
               (tokens.back().kind == Token::Kind::kOp && tokens.back().text == ":");
    };
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t') {
            ++i;
        } else if (c == '\'') {
            break;
        } else if (c == '"') {
            const std::size_t end = line.find('"', i + 1);
            if (end == std::string::npos) throw CompileError("unterminated string");
            Token t;
            t.kind = Token::Kind::kString;
            t.value = Value::String(line.substr(i + 1, end - i - 1));
            tokens.push_back(t);
            i = end + 1;
        } else if (IsDigit(c) || (c == '.' && i + 1 < line.size() && IsDigit(line[i + 1]))) {
            tokens.push_back(NumberToken(line, i));
        } else if (std::isalpha(static_cast<unsigned char>(c))) {
            const std::size_t start = i;
            while (i < line.size() && IsNameChar(line[i])) ++i;
            if (i < line.size() && IsSuffix(line[i])) ++i;
            Token t;
            t.kind = Token::Kind::kName;
            t.text = Upper(line.substr(start, i - start));
            const bool remark = t.text == "REM" && atStatementStart();
            tokens.push_back(t);
            if (remark) break;
        } else {
            static const char* const kOps[] = {"<=", ">=", "<>", "=", "<", ">", "+", "-", "*",
                                               "/",  "\\", "^",  "&", "(", ")", ",", ":"};
            bool found = false;
            for (const char* op : kOps) {
                const std::size_t n = std::char_traits<char>::length(op);
                if (line.compare(i, n, op) == 0) {
                    Token t;
                    t.kind = Token::Kind::kOp;
                    t.text = op;
                    tokens.push_back(t);
                    i += n;
                    found = true;
                    break;
                }
            }
            if (!found) throw CompileError("unexpected character");
        }
    }
    tokens.push_back(Token{});
    return tokens;
}

bool IsKeyword(const std::string& name) {
    static const std::set<std::string> kKeywords = {
        "IF",   "THEN",  "ELSE",   "ELSEIF", "END", "SELECT", "CASE",     "DO",
        "LOOP", "UNTIL", "WHILE",  "FOR",    "TO",  "STEP",   "NEXT",     "EXIT",
        "GOTO", "GOSUB", "RETURN", "DIM",    "REM", "ON",     "ERROR",    "RESUME",
        "SUB",  "AND",   "OR",     "NOT",    "XOR", "MOD",    "DOEVENTS", "LET"};
    return kKeywords.count(name) != 0;
}

const Function* FindFunction(const std::string& name) {
    static const std::map<std::string, Function> kFunctions = {
        {"ABS", Function::kAbs},      {"EXP", Function::kExp},      {"LOG", Function::kLog},
        {"SQR", Function::kSqr},      {"INT", Function::kInt},      {"FIX", Function::kFix},
        {"SGN", Function::kSgn},      {"VAL", Function::kVal},      {"STR$", Function::kStr},
        {"STR", Function::kStr},      {"TRIM$", Function::kTrim},   {"TRIM", Function::kTrim},
        {"LTRIM$", Function::kLTrim}, {"RTRIM$", Function::kRTrim}, {"LEN", Function::kLen},
        {"INSTR", Function::kInStr},  {"LEFT$", Function::kLeft},   {"RIGHT$", Function::kRight},
        {"MID$", Function::kMid},     {"CINT", Function::kCInt},    {"CLNG", Function::kCLng},
        {"CSNG", Function::kCSng},    {"CDBL", Function::kCDbl}};
    const auto it = kFunctions.find(name);
    return it == kFunctions.end() ? nullptr : &it->second;
}

}  // namespace kx::test::basic
