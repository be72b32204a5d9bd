#include "formula/FormulaParser.h"
#include "formula/FormulaLimits.h"

#include "formula/MyValues.h"
#include "formula/NumberFormat.h"

#include <chrono>
#include <cmath>

namespace kolvane {

namespace {

using Real = long double;

using namespace formula_limits;

struct MessageText {
    int code;
    const char* text;
};

const MessageText kMessages[] = {
    {0, "结果正确"},
    {1, "无效的数字"},
    {2, "未知的函数"},
    {3, "( ) 不匹配"},
    {4, "Real exponent -> complex number"},
    {5, "TAN( (2n+1)*PI/2 ) not defined"},
    {6, "空字符串"},
    {7, "LN(x) or LOG(x) for x<=0 -> complex number"},
    {8, "SQRT(x) for x<0 -> complex number"},
    {9, "被0除"},
    {10, "函数或常量太多"},
    {11, "Intermediate result out of range"},
    {12, "函数名称中有无效的字符"},
    {13, "非布尔表达式"},
    {14, "参数数目不正确"},
    {17, "Csc( n*PI ) not defined"},
    {18, "Sec( (2n+1)*PI/2 ) not defined"},
    {19, "Cot( n*PI ) not defined"},
    {20, "Parameter to large"},
    {21, "Csch(0) not defined"},
    {22, "Coth(0) not defined"},
    {23, "ArcCosh(x) not defined for x<1"},
    {24, "ArcTanh(x) not defined for Abs(x)=>1"},
    {25, "Arccsch(0) not defined"},
    {26, "Arcsech(x) not defined for x<=0 or x>1"},
    {27, "Arccoth(x) not defined for Abs(x)<=1"},
    {28, "Average not defined for zero items"},
    {29, "Standard deviation not defined for less than two items"},
    {30, "函数已存在"},
    {32, "Function not fully implemented yet"},
    {33, "遗失字符串引用"},
    {34, "字符串引用结束符不匹配!"},
    {35, "if needs exact 3 parameters"},
    {36, "条件表达式值应为\"是\"或\"否\""},
    {37, "RND range to large"},
    {38, "函数名不存在!"},
    {39, "未发现对象!"},
    {40, "括号或参数嵌套超过256层"},
};

// The registration sequence: a function (name and kind) or, where `name` is
// null, the message of `code`. Messages follow the functions that use them.
struct RegistrationStep {
    const char* name;
    int kindOrCode;
};

const RegistrationStep kRegistration[] = {
    {nullptr, 0},    {nullptr, 1},   {nullptr, 2},   {nullptr, 3},  {nullptr, 4},  {nullptr, 6},
    {nullptr, 9},    {nullptr, 10},  {nullptr, 11},  {nullptr, 12}, {nullptr, 14}, {nullptr, 30},
    {nullptr, 32},   {nullptr, 33},  {nullptr, 34},  {"ARCTAN", 1}, {"COS", 1},    {"DEG", 1},
    {"PI", 0},       {"RAD", 1},     {"SIN", 1},     {"TAN", 1},    {nullptr, 5},  {"AND", 3},
    {"FALSE", 0},    {"OR", 3},      {"TRUE", 0},    {"XOR", 2},    {"NOT", 1},    {nullptr, 13},
    {"EXP", 1},      {"E", 0},       {"LN", 1},      {"LOG", 1},    {nullptr, 7},  {"SQR", 1},
    {"SQRT", 1},     {nullptr, 8},   {"ABS", 1},     {"FRAC", 1},   {"INT", 1},    {"MAX", 3},
    {"MIN", 3},      {"ROUND", 1},   {"SGN", 1},     {"CSC", 1},    {"SEC", 1},    {"COT", 1},
    {nullptr, 17},   {nullptr, 18},  {nullptr, 19},  {"SINH", 1},   {"COSH", 1},   {"TANH", 1},
    {nullptr, 20},   {"CSCH", 1},    {"SECH", 1},    {"COTH", 1},   {nullptr, 21}, {nullptr, 22},
    {"ARCSINH", 1},  {"ARCCOSH", 1}, {"ARCTANH", 1}, {nullptr, 23}, {nullptr, 24}, {"ARCCSCH", 1},
    {"ARCSECH", 1},  {"ARCCOTH", 1}, {nullptr, 25},  {nullptr, 26}, {nullptr, 27}, {"AVG", 3},
    {"AVGERAGE", 3}, {"STD", 3},     {"STDEV", 3},   {"MEAN", 3},   {"SUM", 3},    {"RAND", 0},
    {"RND", 1},      {nullptr, 28},  {nullptr, 29},  {nullptr, 37}, {"LENGTH", 8}, {"STRCOMP", 9},
    {"IF", 3},       {nullptr, 35},  {nullptr, 36},  {nullptr, 38}, {nullptr, 39}, {nullptr, 40},
};

const char* MessageTextOf(int code) {
    for (const auto& m : kMessages)
        if (m.code == code) return m.text;
    return "";
}

// The operation that serves a function name: "m" + name, except for the
// three names whose operations are spelt differently.
std::string OperationNameOf(const std::string& name) {
    if (name == "OR") return "mIor";
    if (name == "AVGERAGE") return "mAverage";
    if (name == "STDEV") return "mStdDev";
    return "m" + name;
}

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsUpperLetter(char c) {
    return c >= 'A' && c <= 'Z';
}
bool IsAsciiLetter(char c) {
    return IsUpperLetter(c) || (c >= 'a' && c <= 'z');
}

} // namespace

TFormulaParser::TFormulaParser() {
    random_.seed(static_cast<std::uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count()));
    RegisterAll();
}

void TFormulaParser::RegisterAll() {
    for (const auto& step : kRegistration) {
        if (step.name)
            RegisterFunction(&funcs_, step.name, step.kindOrCode);
        else
            SetErrorMessage(step.kindOrCode, MessageTextOf(step.kindOrCode));
    }
}

void TFormulaParser::SetExpression(std::string_view text) {
    error_ = kFpOk;
    expression_ = std::string(text);
}

void TFormulaParser::RegisterFunction(const TBuildinFuncs* object, std::string_view name,
                                      int kind) {
    std::string upper;
    upper.reserve(name.size());
    for (char c : name)
        upper += Upper(c);
    if (functionIndex_.count(upper)) {
        SetError(kFpFunctionExists);
        return;
    }
    bool valid = !upper.empty() && IsUpperLetter(upper[0]);
    for (char c : upper)
        if (!IsUpperLetter(c) && !IsDigit(c) && c != '_') valid = false;
    if (!valid) SetError(kFpBadFunctionName);
    const TBuildinFuncs::Operation* op =
        object ? TBuildinFuncs::FindOperation(OperationNameOf(upper)) : nullptr;
    functionIndex_.emplace(upper, functions_.size());
    functions_.push_back({std::move(upper), kind, object, op});
}

void TFormulaParser::SetErrorMessage(int code, std::string_view text) {
    for (auto& line : messages_) {
        if (line.first == code && !line.second.empty()) {
            line.second = std::string(text);
            return;
        }
    }
    messages_.emplace_back(code, std::string(text));
}

std::string TFormulaParser::MessageFor(int code) const {
    for (const auto& line : messages_)
        if (line.first == code) return line.second;
    return {};
}

std::vector<std::string> TFormulaParser::MessageLines() const {
    std::vector<std::string> lines;
    for (const auto& [code, text] : messages_)
        lines.push_back(std::to_string(code) + "=" + text);
    return lines;
}

std::vector<std::string> TFormulaParser::FunctionLines() const {
    std::vector<std::string> lines;
    for (const auto& f : functions_)
        lines.push_back(f.name + "=" + std::to_string(f.kind));
    return lines;
}

// --- scanner ------------------------------------------------------------------

void TFormulaParser::Advance() {
    TFpState& s = State();
    if (s.pos < s.text.size()) ++s.pos;
    s.ch = Upper(s.text[s.pos - 1]);
}

void TFormulaParser::AdvancePastSpaces() {
    do
        Advance();
    while (Ch() == ' ');
}

// --- evaluation -------------------------------------------------------------------

long double TFormulaParser::Evaluate() {
    return EvaluateText(expression_);
}

long double TFormulaParser::EvaluateText(std::string_view text) {
    error_ = kFpOk;
    depth_ = 0;
    states_.push_back({});
    int balance = 0;
    for (char c : text) {
        if (c == '(') ++balance;
        if (c == ')') --balance;
    }
    Real result = 0;
    if (balance != 0) {
        SetError(kFpParentheses);
    } else {
        TFpState& s = State();
        s.text.reserve(text.size() + 1);
        s.text.assign(text);
        s.text += '\0';
        s.pos = 0;
        AdvancePastSpaces();
        if (Ch() == '\0' && State().pos == State().text.size())
            SetError(kFpEmpty);
        else
            result = ReadExpression();
    }
    states_.pop_back();
    if (error_ != kFpOk) return 0;
    // -0 from "-0" or a negated zero prints and compares as plain 0.
    return result == 0 ? 0 : result;
}

// expression: sum, then "&" expression, "|" expression or one comparison and
// a sum. "&" and "|" group to the right; they are read in a loop and folded
// from the right so that a long chain does not recurse.
long double TFormulaParser::ReadExpression() {
    std::vector<Real> operands;
    std::vector<char> ops;
    Real value = ReadSum();
    if (error_) return 0;
    for (;;) {
        char c = Ch();
        if (c == '&' || c == '|') {
            operands.push_back(value);
            ops.push_back(c);
            AdvancePastSpaces();
            value = ReadSum();
            if (error_) return 0;
            continue;
        }
        if (c == '<' || c == '=' || c == '>') {
            AdvancePastSpaces();
            char op = c;
            char second = 0;
            if (c == '<' && (Ch() == '=' || Ch() == '>')) second = Ch();
            if (c == '>' && Ch() == '=') second = Ch();
            if (second) AdvancePastSpaces();
            Real right = ReadSum();
            if (error_) return 0;
            bool holds = false;
            if (op == '=')
                holds = value == right;
            else if (op == '<')
                holds = second == '='   ? value <= right
                        : second == '>' ? value != right
                                        : value < right;
            else
                holds = second == '=' ? value >= right : value > right;
            value = holds ? 1 : 0;
        }
        break;
    }
    while (!ops.empty()) {
        value = Logical(ops.back(), operands.back(), value);
        ops.pop_back();
        operands.pop_back();
        if (error_) return 0;
    }
    return value;
}

// An expression inside parentheses or an argument list: one nesting level.
long double TFormulaParser::ReadNested() {
    if (depth_ >= kFpMaxNesting) {
        SetError(kFpNestingTooDeep);
        return 0;
    }
    ++depth_;
    Real v = ReadExpression();
    --depth_;
    return v;
}

long double TFormulaParser::ReadSum() {
    Real value = ReadTerm();
    if (error_) return 0;
    for (;;) {
        char c = Ch();
        if (c != '+' && c != '-') break;
        AdvancePastSpaces();
        Real right = ReadTerm();
        if (error_) return 0;
        value = c == '+' ? Add(value, right) : Subtract(value, right);
        if (error_) return 0;
    }
    switch (Ch()) {
    case '\0':
    case '&':
    case ')':
    case ',':
    case '<':
    case '=':
    case '>':
    case '|':
        return value;
    default:
        // Juxtaposed operands ("2 3", "2PI") end up here.
        SetError(kFpUnexpectedChar);
        return 0;
    }
}

long double TFormulaParser::ReadTerm() {
    Real value = ReadPower();
    if (error_) return 0;
    for (;;) {
        char c = Ch();
        if (c != '*' && c != '/') break;
        AdvancePastSpaces();
        Real right = ReadPower();
        if (error_) return 0;
        value = c == '*' ? Multiply(value, right) : Divide(value, right);
        if (error_) return 0;
    }
    return value;
}

long double TFormulaParser::ReadPower() {
    Real value = ReadFactor();
    if (error_) return 0;
    while (Ch() == '^') {
        AdvancePastSpaces();
        Real right = ReadFactor();
        if (error_) return 0;
        value = Power(value, right);
        if (error_) return 0;
    }
    return value;
}

long double TFormulaParser::ReadFactor() {
    // Signs bind tighter than "^" and take the very next character: "- 5" is
    // an error. They are counted in a loop, so "-----5" does not recurse.
    bool negate = false;
    while (Ch() == '+' || Ch() == '-') {
        if (Ch() == '-') negate = !negate;
        Advance();
    }
    Real value = 0;
    char c = Ch();
    if (c == '(') {
        AdvancePastSpaces();
        value = ReadNested();
        if (error_) return 0;
        if (Ch() != ')') {
            SetError(kFpParentheses);
            return 0;
        }
        AdvancePastSpaces();
    } else if (c == '.' || IsDigit(c)) {
        value = ReadNumber();
    } else if (IsUpperLetter(c)) {
        value = ReadName();
    } else {
        SetError(kFpUnexpectedChar);
    }
    if (error_) return 0;
    return negate ? -value : value;
}

long double TFormulaParser::ReadNumber() {
    std::string number;
    if (Ch() == '.')
        number = "0.";
    else
        number = Ch();
    Advance();
    for (;;) {
        char c = Ch();
        if (c == 'E') {
            // "1.E5" reads as "1.0E5"; one sign may follow the "E".
            if (number.back() == '.') number += '0';
            number += 'E';
            Advance();
            if (Ch() == '+' || Ch() == '-') {
                number += Ch();
                Advance();
            }
        } else if (c == '.' || IsDigit(c)) {
            number += c;
            Advance();
        } else {
            break;
        }
    }
    if (Ch() == ' ') AdvancePastSpaces();
    if (number.back() == '.' && number.find('E') == std::string::npos) number += '0';
    auto v = ParseExactLongReal(number);
    if (!v) {
        SetError(kFpBadNumber);
        return 0;
    }
    return *v;
}

long double TFormulaParser::ReadName() {
    std::string name;
    while (IsUpperLetter(Ch()) || IsDigit(Ch()) || Ch() == '_') {
        name += Ch();
        AdvancePastSpaces();
    }
    auto it = functionIndex_.find(name);
    if (it == functionIndex_.end()) {
        SetError(kFpUnknownName);
        return 0;
    }
    return CallFunction(functions_[it->second]);
}

bool TFormulaParser::ReadQuoted(std::string& out) {
    // At the opening quote; the text runs to the same quote character.
    char quote = Ch();
    if (quote != '"' && quote != '\'') {
        SetError(kFpMissingQuote);
        return false;
    }
    AdvancePastSpaces();
    while (Ch() != quote) {
        if (Ch() == '\0' && State().pos == State().text.size()) {
            SetError(kFpUnterminatedText);
            return false;
        }
        out += Ch();
        AdvancePastSpaces();
    }
    return true;
}

bool TFormulaParser::ExpectMark(char mark) {
    // An argument list that lacks its bracket or comma has the wrong count.
    if (Ch() == mark) return true;
    SetError(kFpArgumentCount);
    return false;
}

long double TFormulaParser::CallFunction(const FunctionEntry& f) {
    Real a = 0, b = 0;
    std::vector<Real> items;
    std::string textA, textB;
    switch (f.kind) {
    case 0:
        if (Ch() == '(') {
            AdvancePastSpaces();
            if (!ExpectMark(')')) return 0;
            AdvancePastSpaces();
        }
        break;
    case 1:
    case 2:
    case 3: {
        if (!ExpectMark('(')) return 0;
        AdvancePastSpaces();
        a = ReadNested();
        if (error_) return 0;
        if (f.kind == 1) {
            if (!ExpectMark(')')) return 0;
        } else {
            if (!ExpectMark(',')) return 0;
            AdvancePastSpaces();
            b = ReadNested();
            if (error_) return 0;
            if (f.kind == 3) {
                items = {a, b};
                while (Ch() == ',') {
                    AdvancePastSpaces();
                    items.push_back(ReadNested());
                    if (error_) return 0;
                }
            }
            if (!ExpectMark(')')) return 0;
        }
        AdvancePastSpaces();
        break;
    }
    case 8:
        if (Ch() == '(') {
            AdvancePastSpaces();
            if (!ReadQuoted(textA)) return 0;
            // Past the closing quote and one more character, the ")", which
            // is not checked.
            AdvancePastSpaces();
            AdvancePastSpaces();
        }
        break;
    case 9:
        if (!ExpectMark('(')) return 0;
        AdvancePastSpaces();
        if (!ReadQuoted(textA)) return 0;
        AdvancePastSpaces();
        if (!ExpectMark(',')) return 0;
        AdvancePastSpaces();
        if (!ReadQuoted(textB)) return 0;
        AdvancePastSpaces();
        if (!ExpectMark(')')) return 0;
        AdvancePastSpaces();
        break;
    default:
        // A kind no operation of this language takes: nothing serves it.
        SetError(kFpUnknownName);
        return 0;
    }
    if (!f.object) {
        SetError(kFpNoObject);
        return 0;
    }
    if (!f.operation || TBuildinFuncs::KindOf(*f.operation) != f.kind) {
        SetError(kFpUnknownName);
        return 0;
    }
    const TBuildinFuncs& obj = *f.object;
    const TBuildinFuncs::Operation& op = *f.operation;
    Real result = 0;
    switch (f.kind) {
    case 0:
        result = (obj.*std::get<TBuildinFuncs::OpNone>(op))(*this);
        break;
    case 1:
        result = (obj.*std::get<TBuildinFuncs::OpOne>(op))(*this, a);
        break;
    case 2:
        result = (obj.*std::get<TBuildinFuncs::OpTwo>(op))(*this, a, b);
        break;
    case 3:
        result = (obj.*std::get<TBuildinFuncs::OpList>(op))(*this, items);
        break;
    case 8:
        result = (obj.*std::get<TBuildinFuncs::OpText>(op))(*this, textA);
        break;
    default:
        result = (obj.*std::get<TBuildinFuncs::OpTwoTexts>(op))(*this, textA, textB);
        break;
    }
    // Literals reach 1E4932, so an unguarded function (DEG, AVG) can overflow
    // the extended range; that is out of range, not an infinite result.
    if (!std::isfinite(result)) {
        SetError(kFpOutOfRange);
        return 0;
    }
    return result;
}

// --- operators ------------------------------------------------------------------

long double TFormulaParser::Add(Real a, Real b) {
    if (std::fabs(a / 10 + b / 10) < kSumBound) return a + b;
    SetError(kFpOutOfRange);
    return 0;
}

long double TFormulaParser::Subtract(Real a, Real b) {
    if (!(std::fabs(a / 10 - b / 10) < kSumBound)) {
        SetError(kFpOutOfRange);
        return 0;
    }
    Real d = a - b;
    if (d == 0 && a != b) {
        SetError(kFpOutOfRange);
        return 0;
    }
    return d;
}

// Products and quotients are checked on their logarithms, so that neither a
// too large nor a too small magnitude (below about 1E-38) slips through.
long double TFormulaParser::Multiply(Real a, Real b) {
    if (a == 0 || b == 0) return 0;
    if (std::fabs(std::log(std::fabs(a)) + std::log(std::fabs(b))) >= kLnMax) {
        SetError(kFpOutOfRange);
        return 0;
    }
    return a * b;
}

long double TFormulaParser::Divide(Real a, Real b) {
    if (b == 0) {
        SetError(kFpDivisionByZero);
        return 0;
    }
    if (a == 0) return 0;
    if (std::fabs(std::log(std::fabs(a)) - std::log(std::fabs(b))) >= kLnMax) {
        SetError(kFpOutOfRange);
        return 0;
    }
    return a / b;
}

long double TFormulaParser::Power(Real a, Real b) {
    if (a == 0) return 0;
    Real l = std::log(std::fabs(a)) * b;
    if (l > kLnMax) {
        SetError(kFpOutOfRange);
        return 0;
    }
    Real v = std::exp(l);
    if (a < 0) {
        if (b != std::trunc(b)) {
            SetError(kFpComplexPower);
            return 0;
        }
        if (std::fmod(b, Real(2)) != 0) v = -v;
    }
    return v;
}

long double TFormulaParser::Logical(char op, Real a, Real b) {
    if ((a != 0 && a != 1) || (b != 0 && b != 1)) {
        SetError(kFpNotBoolean);
        return 0;
    }
    if (op == '&') return (a == 1 && b == 1) ? 1 : 0;
    return (a == 1 || b == 1) ? 1 : 0;
}

// --- the grid path -------------------------------------------------------------------

long double TFormulaParser::EvaluateWithValues(std::string_view text, TMyValues* grid) {
    if (!grid) {
        SetExpression(text);
        return Evaluate();
    }
    if (text.empty()) {
        grid->ClearRowsFrom(1);
        SetExpression(text);
        return Evaluate();
    }
    if (text.size() > kFpMaxGridText) throw RangeCheckError();

    // One-letter variables: a letter with no letter on either side; an "E"
    // right after a digit is an exponent.
    struct Occurrence {
        std::size_t pos;
        char letter;
    };
    std::vector<Occurrence> found;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (!IsAsciiLetter(c)) continue;
        if (i > 0 && IsAsciiLetter(text[i - 1])) continue;
        if (i + 1 < text.size() && IsAsciiLetter(text[i + 1])) continue;
        if ((c == 'E' || c == 'e') && i > 0 && IsDigit(text[i - 1])) continue;
        if (found.size() == kFpMaxGridOccurrences) throw RangeCheckError();
        found.push_back({i, c});
        std::string name(1, c);
        if (grid->FindName(name) < 0) grid->AddParam(name, "", "", "");
    }
    if (found.empty()) grid->ClearRowsFrom(1);

    std::string result;
    result.reserve(text.size() + found.size() * 8);
    std::size_t from = 0;
    for (const auto& o : found) {
        result.append(text.substr(from, o.pos - from));
        result += grid->ValueByName(std::string(1, o.letter));
        from = o.pos + 1;
    }
    result.append(text.substr(from));
    SetExpression(result);
    return Evaluate();
}

} // namespace kolvane
