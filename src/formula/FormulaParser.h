#pragma once

#include "formula/BuildinFuncs.h"
#include "model/Errors.h"

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kolvane {

class TMyValues;

// Error codes of the formula language. The first error of an evaluation is
// kept; a formula with an error yields 0.
enum FormulaError : int {
    kFpOk = 0,
    kFpBadNumber = 1,
    kFpUnexpectedChar = 2,
    kFpParentheses = 3,
    kFpComplexPower = 4,
    kFpTanUndefined = 5,
    kFpEmpty = 6,
    kFpLogDomain = 7,
    kFpSqrtDomain = 8,
    kFpDivisionByZero = 9,
    kFpTooManyFunctions = 10,
    kFpOutOfRange = 11,
    kFpBadFunctionName = 12,
    kFpNotBoolean = 13,
    kFpArgumentCount = 14,
    kFpCscUndefined = 17,
    kFpSecUndefined = 18,
    kFpCotUndefined = 19,
    kFpHyperbolicRange = 20,
    kFpCschUndefined = 21,
    kFpCothUndefined = 22,
    kFpArccoshDomain = 23,
    kFpArctanhDomain = 24,
    kFpArccschUndefined = 25,
    kFpArcsechDomain = 26,
    kFpArccothDomain = 27,
    kFpAverageEmpty = 28,
    kFpStdDevTooFew = 29,
    kFpFunctionExists = 30,
    kFpNotImplemented = 32,
    kFpMissingQuote = 33,
    kFpUnterminatedText = 34,
    kFpIfArgumentCount = 35,
    kFpIfCondition = 36,
    kFpRndRange = 37,
    kFpUnknownName = 38,
    kFpNoObject = 39,
    // Parentheses or argument lists nested deeper than kFpMaxNesting: refused
    // instead of recursing until the stack runs out.
    kFpNestingTooDeep = 40,
};

// How deep parenthesised expressions and argument lists may nest.
inline constexpr int kFpMaxNesting = 256;

// Limits of the grid path (EvaluateWithValues).
inline constexpr std::size_t kFpMaxGridText = 255;
inline constexpr std::size_t kFpMaxGridOccurrences = 100;

// Raised by the grid path for a text or a variable count beyond its limits.
class RangeCheckError : public Error {
public:
    RangeCheckError() : Error("Range check error") {}
};

// The scanner's position in one text: the text with a NUL appended, the
// 1-based position and the current character, always in upper case.
struct TFpState {
    std::string text;
    std::size_t pos = 0;
    char ch = '\0';
};

// A one-line formula language over long double: numbers, + - * / ^, one
// comparison, & and |, parentheses, named functions and quoted texts.
class TFormulaParser {
public:
    TFormulaParser();
    TFormulaParser(const TFormulaParser&) = delete;
    TFormulaParser& operator=(const TFormulaParser&) = delete;

    void SetExpression(std::string_view text);
    const std::string& Expression() const { return expression_; }

    // Evaluates the stored expression text.
    long double Evaluate();
    // Evaluates `text`; 0 when any error occurred.
    long double EvaluateText(std::string_view text);
    // Puts the grid's values in place of the one-letter variables of `text`
    // (adding the missing ones to the grid) and evaluates the result. Raises
    // RangeCheckError for a text longer than 255 characters or with more
    // than 100 variable occurrences. Without a grid the text is evaluated as
    // it is.
    long double EvaluateWithValues(std::string_view text, TMyValues* grid);

    void RegisterFunction(const TBuildinFuncs* object, std::string_view name, int kind);
    void SetErrorMessage(int code, std::string_view text);
    // Keeps the first error: a code is stored only while none is.
    void SetError(int code) {
        if (error_ == kFpOk) error_ = code;
    }

    int ErrorCode() const { return error_; }
    // The message of `code` ("" when the table has none); the current error's
    // message without an argument.
    std::string MessageFor(int code) const;
    std::string ErrorMessage() const { return MessageFor(error_); }

    // The tables as "%d=%s" and "%s=%d" lines, in registration order.
    std::vector<std::string> MessageLines() const;
    std::vector<std::string> FunctionLines() const;

    // The generator behind RAND and RND, seeded from the clock at creation.
    std::mt19937_64& Random() { return random_; }

private:
    struct FunctionEntry {
        std::string name;
        int kind;
        const TBuildinFuncs* object;
        const TBuildinFuncs::Operation* operation;
    };

    // Scanner.
    TFpState& State() { return states_.back(); }
    char Ch() { return states_.back().ch; }
    void Advance();
    void AdvancePastSpaces();

    // Grammar; each rule yields 0 once an error is set.
    long double ReadExpression();
    long double ReadNested();
    long double ReadSum();
    long double ReadTerm();
    long double ReadPower();
    long double ReadFactor();
    long double ReadNumber();
    long double ReadName();
    long double CallFunction(const FunctionEntry& f);
    bool ReadQuoted(std::string& out);
    bool ExpectMark(char mark);

    long double Add(long double a, long double b);
    long double Subtract(long double a, long double b);
    long double Multiply(long double a, long double b);
    long double Divide(long double a, long double b);
    long double Power(long double a, long double b);
    long double Logical(char op, long double a, long double b);

    void RegisterAll();

    int error_ = kFpOk;
    int depth_ = 0;
    std::string expression_ = "0";
    std::vector<std::pair<int, std::string>> messages_;
    std::vector<FunctionEntry> functions_;
    std::unordered_map<std::string, std::size_t> functionIndex_;
    std::vector<TFpState> states_;
    TBuildinFuncs funcs_;
    std::mt19937_64 random_;
};

} // namespace kolvane
