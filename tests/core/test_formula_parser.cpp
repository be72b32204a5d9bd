#include "formula/FormulaParser.h"
#include "formula/MyValues.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace kolvane {
namespace {

// One formula and what it must give: a value (within a relative 1e-15) and
// an error code. A formula with an error must yield exactly 0.
struct Case {
    const char* name;
    std::string text;
    long double value;
    int error;
};

std::string CaseName(const testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

void ExpectCase(TFormulaParser& p, long double got, const Case& c) {
    EXPECT_EQ(p.ErrorCode(), c.error) << "formula: " << c.text;
    if (c.error != kFpOk) {
        EXPECT_EQ(got, 0.0L) << "formula: " << c.text;
    } else {
        long double tol = 1e-15L * std::max(1.0L, std::fabs(c.value));
        EXPECT_NEAR(static_cast<double>(got), static_cast<double>(c.value),
                    static_cast<double>(tol))
            << "formula: " << c.text;
    }
}

class Formula : public testing::TestWithParam<Case> {};

TEST_P(Formula, GivesValueOrErrorCode) {
    TFormulaParser p;
    long double v = p.EvaluateText(GetParam().text);
    ExpectCase(p, v, GetParam());
}

constexpr long double kPi = 3.14159265358979323846264338327950288L;

INSTANTIATE_TEST_SUITE_P(EmptyText, Formula,
                         testing::Values(Case{"empty", "", 0, kFpEmpty},
                                         Case{"three_blanks", "   ", 0, kFpEmpty},
                                         Case{"only_parentheses", "()", 0, kFpUnexpectedChar}),
                         CaseName);

INSTANTIATE_TEST_SUITE_P(Precedence, Formula,
                         testing::Values(Case{"times_before_plus", "2+3*4", 14, 0},
                                         Case{"parentheses_first", "(2+3)*4", 20, 0},
                                         Case{"minus_left_to_right", "10-4-3", 3, 0},
                                         Case{"divide_left_to_right", "100/10/5", 2, 0},
                                         Case{"power_left_to_right", "2^3^2", 64, 0},
                                         Case{"sign_tighter_than_power", "-2^2", 4, 0},
                                         Case{"negative_exponent", "2^-1", 0.5, 0},
                                         Case{"power_before_times", "3*2^2", 12, 0},
                                         Case{"blanks_between_operators", "  2 +  3 * 4 ", 14, 0},
                                         Case{"nested_parentheses", "((2))*((3+1))", 8, 0},
                                         Case{"lower_case_names", "sin(0)+Cos(0)", 1, 0},
                                         Case{"trailing_comma_ends_top_level", "1,5", 1, 0}),
                         CaseName);

INSTANTIATE_TEST_SUITE_P(
    PowerRule, Formula,
    testing::Values(Case{"negative_base_fractional_exponent", "-8^(1/3)", 0, kFpComplexPower},
                    Case{"negative_base_odd_exponent", "(-2)^3", -8, 0},
                    Case{"negative_base_even_exponent", "(-2)^4", 16, 0},
                    Case{"zero_to_zero", "0^0", 0, 0}, Case{"zero_to_negative", "0^-1", 0, 0},
                    Case{"one_to_huge", "1^1E30", 1, 0},
                    Case{"overflow", "10^38", 0, kFpOutOfRange},
                    Case{"just_inside", "10^37", 1e37L, 0},
                    Case{"underflow_not_checked", "10^-40", 1e-40L, 0},
                    Case{"negative_base_huge_even", "(-0.5)^1E30", 0, 0},
                    Case{"overflow_before_complex_check", "(-10)^40.5", 0, kFpOutOfRange}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(MagnitudeGuards, Formula,
                         testing::Values(Case{"division_by_zero", "1/0", 0, kFpDivisionByZero},
                                         Case{"zero_dividend", "0/5", 0, 0},
                                         Case{"zero_by_zero", "0/0", 0, kFpDivisionByZero},
                                         Case{"product_too_large", "1E20*1E20", 0, kFpOutOfRange},
                                         Case{"product_too_small", "1E-20*1E-20", 0, kFpOutOfRange},
                                         Case{"product_with_zero", "1E-20*0", 0, 0},
                                         Case{"product_in_range", "1E18*1E19", 1e37L, 0},
                                         Case{"quotient_too_large", "1/1E-38", 0, kFpOutOfRange},
                                         Case{"quotient_too_small", "1E-30/1E10", 0, kFpOutOfRange},
                                         Case{"quotient_in_range", "1E30/1E-7", 1e37L, 0},
                                         Case{"sum_too_large", "5E37+5E37", 0, kFpOutOfRange},
                                         Case{"sum_in_range", "4E37+5E37", 9e37L, 0},
                                         Case{"difference_too_large", "-5E37-5E37", 0,
                                              kFpOutOfRange},
                                         Case{"difference_in_range", "5E37-5E37", 0, 0},
                                         Case{"huge_literal_alone", "1E100", 1e100L, 0},
                                         Case{"huge_literal_in_sum", "1E100+1", 0, kFpOutOfRange}),
                         CaseName);

INSTANTIATE_TEST_SUITE_P(
    Numbers, Formula,
    testing::Values(
        Case{"leading_point", ".5", 0.5, 0}, Case{"trailing_point", "5.", 5, 0},
        Case{"point_then_exponent", "1.E2", 100, 0}, Case{"lower_case_exponent", "1e2", 100, 0},
        Case{"signed_exponent", "1E+2*1e-2", 1, 0}, Case{"two_points", "1.2.3", 0, kFpBadNumber},
        Case{"exponent_without_digits", "2E", 0, kFpBadNumber},
        Case{"exponent_sign_without_digits", "2E+", 0, kFpBadNumber},
        Case{"two_exponents", "1E2E3", 0, kFpBadNumber},
        Case{"lone_point_reads_as_zero", ".", 0, 0},
        Case{"literal_beyond_extended", "1E5000", 0, kFpBadNumber},
        Case{"literal_below_extended", "1E-5000", 0, 0},
        Case{"blank_inside_number", "1 .5", 0, kFpUnexpectedChar},
        Case{"number_then_blank", "12 ", 12, 0},
        Case{"many_digits", "123456789012345678901234567890", 1.2345678901234567890e29L, 0}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    JuxtapositionAndSigns, Formula,
    testing::Values(Case{"two_numbers", "2 3", 0, kFpUnexpectedChar},
                    Case{"number_then_name", "2PI", 0, kFpUnexpectedChar},
                    Case{"sign_then_blank", "- 5", 0, kFpUnexpectedChar},
                    Case{"negative_number", "-5", -5, 0},
                    Case{"blank_after_parenthesis", "( -5)", -5, 0},
                    Case{"double_minus", "--5", 5, 0}, Case{"mixed_signs", "+-+5", -5, 0},
                    Case{"sign_before_parenthesis", "-(2+1)", -3, 0},
                    Case{"times_negative", "2*-3", -6, 0}, Case{"minus_negative", "2--3", 5, 0},
                    Case{"sign_blank_sign", "- -5", 0, kFpUnexpectedChar},
                    Case{"parenthesis_then_parenthesis", "(2)(3)", 0, kFpUnexpectedChar},
                    Case{"non_ascii_operand", "温度", 0, kFpUnexpectedChar},
                    Case{"dangling_operator", "2+", 0, kFpUnexpectedChar},
                    Case{"operator_at_start", "*2", 0, kFpUnexpectedChar}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Comparisons, Formula,
    testing::Values(Case{"less", "1<2", 1, 0}, Case{"less_equal", "2<=2", 1, 0},
                    Case{"not_equal", "1<>1", 0, 0}, Case{"blank_inside_operator", "1< =1", 1, 0},
                    Case{"greater_equal", "2>=3", 0, 0}, Case{"greater", "2>1", 1, 0},
                    Case{"equal", "1 = 1", 1, 0}, Case{"sums_compared", "1+1=2", 1, 0},
                    Case{"rest_after_comparison_not_read", "1<2<3", 1, 0},
                    Case{"and_after_comparison_not_read", "1<2 & 0", 1, 0},
                    Case{"comparison_in_parentheses", "(1<2) & 0", 0, 0},
                    Case{"and_inside_parentheses_after_comparison", "(1<2 & 0)", 0,
                         kFpParentheses}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Logic, Formula,
    testing::Values(Case{"and_non_boolean", "1 & 2", 0, kFpNotBoolean},
                    Case{"or_groups_right", "1 | 0 & 0", 1, 0},
                    Case{"and_groups_right", "0 & 1 | 1", 0, 0}, Case{"and_chain", "1&1&1&1", 1, 0},
                    Case{"or_chain", "0|0|0|1", 1, 0}, Case{"comparison_on_right", "1 & 1<2", 1, 0},
                    Case{"non_boolean_left_of_or", "2 | 1<2", 0, kFpNotBoolean},
                    Case{"double_ampersand", "1&&1", 0, kFpUnexpectedChar},
                    Case{"fraction_is_not_boolean", "0.5 | 1", 0, kFpNotBoolean}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Parentheses, Formula,
    testing::Values(Case{"missing_close", "(1+2", 0, kFpParentheses},
                    Case{"extra_close", "1+2)", 0, kFpParentheses},
                    Case{"counted_inside_quotes", "LENGTH('(')", 0, kFpParentheses},
                    Case{"call_missing_close", "SIN(1", 0, kFpParentheses},
                    Case{"comma_inside_parentheses", "(1,2)", 0, kFpParentheses},
                    Case{"balanced_but_misordered", ")1(", 0, kFpUnexpectedChar}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    NamesAndCalls, Formula,
    testing::Values(Case{"constant", "PI", kPi, 0},
                    Case{"constant_with_empty_call", "PI()", kPi, 0},
                    Case{"constant_blank_call", "PI( )", kPi, 0},
                    Case{"constant_with_argument", "PI(1)", 0, kFpArgumentCount},
                    Case{"blank_joins_name", "SIN 1", 0, kFpUnknownName},
                    Case{"blank_inside_name", "S IN(0)", 0, 0},
                    Case{"list_with_one_item", "MAX(5)", 0, kFpArgumentCount},
                    Case{"list_with_two_items", "MAX(5,7)", 7, 0},
                    Case{"unknown_function", "FOO(1)", 0, kFpUnknownName},
                    Case{"unknown_variable", "t*2", 0, kFpUnknownName},
                    Case{"function_without_call", "SIN", 0, kFpArgumentCount},
                    Case{"one_argument_given_two", "SIN(1,2)", 0, kFpArgumentCount},
                    Case{"two_arguments_given_one", "XOR(1)", 0, kFpArgumentCount},
                    Case{"two_arguments_given_three", "XOR(1,0,1)", 0, kFpArgumentCount},
                    Case{"empty_argument", "SIN()", 0, kFpUnexpectedChar},
                    Case{"trailing_comma_in_list", "MAX(1,2,)", 0, kFpUnexpectedChar},
                    Case{"nested_calls", "MAX(SIN(0), ABS(-3), 2)", 3, 0},
                    Case{"call_then_operator", "ABS(-2) * 3", 6, 0},
                    Case{"name_with_digits_and_underscore", "A_1(2)", 0, kFpUnknownName}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    QuotedTexts, Formula,
    testing::Values(Case{"spaces_removed", "LENGTH('a b')", 2, 0},
                    Case{"double_quotes", "LENGTH(\"abc\")", 3, 0},
                    Case{"other_quote_inside", "LENGTH('a\"b')", 3, 0},
                    Case{"empty_text", "LENGTH('')", 0, 0},
                    Case{"case_folded", "STRCOMP('Ab','aB')", 1, 0},
                    Case{"unterminated", "LENGTH('abc)", 0, kFpUnterminatedText},
                    Case{"no_quote", "LENGTH(abc)", 0, kFpMissingQuote},
                    Case{"no_parenthesis", "LENGTH", 0, 0},
                    Case{"then_operator", "LENGTH('ab')+1", 3, 0},
                    Case{"blank_before_close", "LENGTH( 'ab' )*2", 4, 0},
                    Case{"two_texts_no_comma", "STRCOMP('a' 'b')", 0, kFpArgumentCount},
                    Case{"second_text_no_quote", "STRCOMP('a',b)", 0, kFpMissingQuote},
                    Case{"second_text_unterminated", "STRCOMP('a','b)", 0, kFpUnterminatedText},
                    Case{"two_texts_no_parenthesis", "STRCOMP", 0, kFpArgumentCount},
                    Case{"two_texts_extra_argument", "STRCOMP('a','b','c')", 0, kFpArgumentCount}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    FirstErrorKept, Formula,
    testing::Values(Case{"division_then_root", "1/0 + SQRT(-1)", 0, kFpDivisionByZero},
                    Case{"root_then_division", "SQRT(-1) + 1/0", 0, kFpSqrtDomain},
                    Case{"unchosen_if_branch", "IF(1,10,SQRT(-1))", 0, kFpSqrtDomain}),
    CaseName);

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Nesting, Formula,
    testing::Values(Case{"parentheses_at_limit", Repeat("(", 256) + "7" + Repeat(")", 256), 7, 0},
                    Case{"parentheses_beyond_limit", Repeat("(", 257) + "7" + Repeat(")", 257), 0,
                         kFpNestingTooDeep},
                    Case{"calls_beyond_limit", Repeat("ABS(", 300) + "1" + Repeat(")", 300), 0,
                         kFpNestingTooDeep},
                    Case{"very_deep_unbalanced", Repeat("(", 100000), 0, kFpParentheses},
                    Case{"very_deep_balanced", Repeat("(", 100000) + Repeat(")", 100000), 0,
                         kFpNestingTooDeep},
                    Case{"long_sign_run", Repeat("-", 100001) + "5", -5, 0},
                    Case{"long_and_chain", "1" + Repeat("&1", 100000), 1, 0},
                    Case{"long_sum", "0" + Repeat("+1", 100000), 100000, 0}),
    CaseName);

// --- the parser object -----------------------------------------------------------

TEST(FormulaParserState, StartsWithExpressionZero) {
    TFormulaParser p;
    EXPECT_EQ(p.Expression(), "0");
    EXPECT_EQ(p.Evaluate(), 0.0L);
    EXPECT_EQ(p.ErrorCode(), kFpOk);
}

TEST(FormulaParserState, EvaluationAndSetExpressionClearTheError) {
    TFormulaParser p;
    p.EvaluateText("1/0");
    EXPECT_EQ(p.ErrorCode(), kFpDivisionByZero);
    EXPECT_EQ(p.EvaluateText("2*3"), 6.0L);
    EXPECT_EQ(p.ErrorCode(), kFpOk);
    p.EvaluateText("1/0");
    p.SetExpression("4");
    EXPECT_EQ(p.ErrorCode(), kFpOk);
    EXPECT_EQ(p.Evaluate(), 4.0L);
}

TEST(FormulaParserState, SetErrorKeepsTheFirstCode) {
    TFormulaParser p;
    p.SetExpression("1");
    p.SetError(7);
    p.SetError(9);
    EXPECT_EQ(p.ErrorCode(), 7);
    EXPECT_EQ(p.ErrorMessage(), "LN(x) or LOG(x) for x<=0 -> complex number");
}

TEST(FormulaParserState, NegativeZeroComesOutAsZero) {
    TFormulaParser p;
    long double v = p.EvaluateText("-0");
    EXPECT_EQ(v, 0.0L);
    EXPECT_FALSE(std::signbit(v));
}

TEST(FormulaParserRegistry, MessagesInRegistrationOrderWithExactTexts) {
    TFormulaParser p;
    std::vector<std::string> expected = {
        "0=结果正确",
        "1=无效的数字",
        "2=未知的函数",
        "3=( ) 不匹配",
        "4=Real exponent -> complex number",
        "6=空字符串",
        "9=被0除",
        "10=函数或常量太多",
        "11=Intermediate result out of range",
        "12=函数名称中有无效的字符",
        "14=参数数目不正确",
        "30=函数已存在",
        "32=Function not fully implemented yet",
        "33=遗失字符串引用",
        "34=字符串引用结束符不匹配!",
        "5=TAN( (2n+1)*PI/2 ) not defined",
        "13=非布尔表达式",
        "7=LN(x) or LOG(x) for x<=0 -> complex number",
        "8=SQRT(x) for x<0 -> complex number",
        "17=Csc( n*PI ) not defined",
        "18=Sec( (2n+1)*PI/2 ) not defined",
        "19=Cot( n*PI ) not defined",
        "20=Parameter to large",
        "21=Csch(0) not defined",
        "22=Coth(0) not defined",
        "23=ArcCosh(x) not defined for x<1",
        "24=ArcTanh(x) not defined for Abs(x)=>1",
        "25=Arccsch(0) not defined",
        "26=Arcsech(x) not defined for x<=0 or x>1",
        "27=Arccoth(x) not defined for Abs(x)<=1",
        "28=Average not defined for zero items",
        "29=Standard deviation not defined for less than two items",
        "37=RND range to large",
        "35=if needs exact 3 parameters",
        "36=条件表达式值应为\"是\"或\"否\"",
        "38=函数名不存在!",
        "39=未发现对象!",
        "40=括号或参数嵌套超过256层",
    };
    EXPECT_EQ(p.MessageLines(), expected);
}

TEST(FormulaParserRegistry, FunctionsInRegistrationOrderWithKinds) {
    TFormulaParser p;
    std::vector<std::string> expected = {
        "ARCTAN=1",   "COS=1",     "DEG=1",     "PI=0",      "RAD=1",     "SIN=1",     "TAN=1",
        "AND=3",      "FALSE=0",   "OR=3",      "TRUE=0",    "XOR=2",     "NOT=1",     "EXP=1",
        "E=0",        "LN=1",      "LOG=1",     "SQR=1",     "SQRT=1",    "ABS=1",     "FRAC=1",
        "INT=1",      "MAX=3",     "MIN=3",     "ROUND=1",   "SGN=1",     "CSC=1",     "SEC=1",
        "COT=1",      "SINH=1",    "COSH=1",    "TANH=1",    "CSCH=1",    "SECH=1",    "COTH=1",
        "ARCSINH=1",  "ARCCOSH=1", "ARCTANH=1", "ARCCSCH=1", "ARCSECH=1", "ARCCOTH=1", "AVG=3",
        "AVGERAGE=3", "STD=3",     "STDEV=3",   "MEAN=3",    "SUM=3",     "RAND=0",    "RND=1",
        "LENGTH=8",   "STRCOMP=9", "IF=3",
    };
    EXPECT_EQ(p.FunctionLines(), expected);
    // Creation itself sets no error: every name is valid and unique.
    EXPECT_EQ(p.ErrorCode(), kFpOk);
}

TEST(FormulaParserRegistry, EveryRegisteredNameHasAnOperationOfItsKind) {
    TFormulaParser p;
    for (const auto& line : p.FunctionLines()) {
        std::string name = line.substr(0, line.find('='));
        int kind = std::stoi(line.substr(line.find('=') + 1));
        std::string op = name == "OR"         ? "mIor"
                         : name == "AVGERAGE" ? "mAverage"
                         : name == "STDEV"    ? "mStdDev"
                                              : "m" + name;
        const auto* found = TBuildinFuncs::FindOperation(op);
        ASSERT_NE(found, nullptr) << name;
        EXPECT_EQ(TBuildinFuncs::KindOf(*found), kind) << name;
    }
}

struct RegisterRow {
    const char* name;
    const char* function;
    int error;
    bool added;
};

class RegisterName : public testing::TestWithParam<RegisterRow> {};

TEST_P(RegisterName, ChecksNameAndDuplicates) {
    TFormulaParser p;
    TBuildinFuncs funcs;
    std::size_t before = p.FunctionLines().size();
    p.RegisterFunction(&funcs, GetParam().function, 1);
    EXPECT_EQ(p.ErrorCode(), GetParam().error);
    EXPECT_EQ(p.FunctionLines().size(), before + (GetParam().added ? 1 : 0));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RegisterName,
    testing::Values(RegisterRow{"new_valid_name", "MYFN", kFpOk, true},
                    RegisterRow{"duplicate", "SIN", kFpFunctionExists, false},
                    RegisterRow{"duplicate_other_case", "sin", kFpFunctionExists, false},
                    RegisterRow{"digit_first", "1AB", kFpBadFunctionName, true},
                    RegisterRow{"invalid_character", "A-B", kFpBadFunctionName, true},
                    RegisterRow{"empty_name", "", kFpBadFunctionName, true},
                    RegisterRow{"underscore_and_digits", "A_1", kFpOk, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FormulaParserRegistry, LowerCaseNameIsStoredInUpperCase) {
    TFormulaParser p;
    TBuildinFuncs funcs;
    p.RegisterFunction(&funcs, "myFn", 1);
    EXPECT_EQ(p.FunctionLines().back(), "MYFN=1");
}

TEST(FormulaParserRegistry, NameWithoutObjectOrOperation) {
    TFormulaParser p;
    TBuildinFuncs funcs;
    p.RegisterFunction(nullptr, "NOBODY", 1);
    p.RegisterFunction(&funcs, "NOOP", 1);
    EXPECT_EQ(p.EvaluateText("NOBODY(1)"), 0.0L);
    EXPECT_EQ(p.ErrorCode(), kFpNoObject);
    EXPECT_EQ(p.EvaluateText("NOOP(1)"), 0.0L);
    EXPECT_EQ(p.ErrorCode(), kFpUnknownName);
    // The arguments are still read and checked first.
    EXPECT_EQ(p.EvaluateText("NOBODY(1,2)"), 0.0L);
    EXPECT_EQ(p.ErrorCode(), kFpArgumentCount);
}

TEST(FormulaParserRegistry, SetErrorMessageReplacesOrAppends) {
    TFormulaParser p;
    std::size_t before = p.MessageLines().size();
    p.SetErrorMessage(3, "unbalanced");
    EXPECT_EQ(p.MessageFor(3), "unbalanced");
    EXPECT_EQ(p.MessageLines().size(), before);
    p.SetErrorMessage(99, "new");
    EXPECT_EQ(p.MessageFor(99), "new");
    EXPECT_EQ(p.MessageLines().back(), "99=new");
    EXPECT_EQ(p.MessageFor(98), "");
}

// --- the grid path -----------------------------------------------------------------

TMyValues StartingGrid() {
    TMyValues g;
    g.AddParam("t", "20", "C", "温度");
    g.AddParam("p", "100", "kPa", "压力");
    return g;
}

struct GridCase {
    const char* name;
    std::string text;
    const char* tValue; // value of t before the evaluation
    const char* substituted;
    long double value;
    int error;
};

class GridFormula : public testing::TestWithParam<GridCase> {};

TEST_P(GridFormula, SubstitutesAndEvaluates) {
    const GridCase& c = GetParam();
    TMyValues grid = StartingGrid();
    grid.SetValueByName("t", c.tValue);
    TFormulaParser p;
    long double v = p.EvaluateWithValues(c.text, &grid);
    EXPECT_EQ(p.Expression(), c.substituted);
    ExpectCase(p, v, Case{c.name, c.text, c.value, c.error});
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GridFormula,
    testing::Values(
        GridCase{"sum_of_variables", "t+p", "20", "20+100", 120, 0},
        GridCase{"product", "2*t", "20", "2*20", 40, 0},
        GridCase{"juxtaposed_digit_joins", "2t", "20", "220", 220, 0},
        GridCase{"no_parentheses_added", "t^2", "-5", "-5^2", 25, 0},
        GridCase{"upper_case_variable", "T+P", "20", "20+100", 120, 0},
        GridCase{"unknown_variable_is_empty", "x+1", "20", "+1", 1, 0},
        GridCase{"lone_e_is_a_variable", "2*E", "20", "2*", 0, kFpUnexpectedChar},
        GridCase{"exponent_is_kept", "1E3*t", "20", "1E3*20", 20000, 0},
        GridCase{"function_names_untouched", "EXP(1)", "20", "EXP(1)", 2.71828182845904523536L, 0},
        GridCase{"letter_inside_quotes_counts", "LENGTH('t')", "20", "LENGTH('20')", 2, 0},
        GridCase{"value_with_blanks", "t*2", " 3 ", " 3 *2", 6, 0},
        GridCase{"empty_text", "", "20", "", 0, kFpEmpty}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GridPath, MissingVariablesAreAddedOnce) {
    TMyValues grid = StartingGrid();
    TFormulaParser p;
    p.EvaluateWithValues("x+y*x", &grid);
    EXPECT_EQ(grid.Cell(3, 0), "x");
    EXPECT_EQ(grid.Cell(4, 0), "y");
    EXPECT_EQ(grid.RowCount(), 5);
    EXPECT_EQ(grid.FindName("X"), 3);
}

TEST(GridPath, TextWithoutVariablesEmptiesTheParameterRows) {
    TMyValues grid = StartingGrid();
    TFormulaParser p;
    EXPECT_EQ(p.EvaluateWithValues("3*4", &grid), 12.0L);
    EXPECT_EQ(grid.RowCount(), 5);
    EXPECT_EQ(grid.Cell(0, 0), "名称");
    for (int r = 1; r < grid.RowCount(); ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(grid.Cell(r, c), "") << r << "," << c;
}

TEST(GridPath, EmptyTextEmptiesTheParameterRows) {
    TMyValues grid = StartingGrid();
    TFormulaParser p;
    EXPECT_EQ(p.EvaluateWithValues("", &grid), 0.0L);
    EXPECT_EQ(grid.Cell(1, 0), "");
    EXPECT_EQ(grid.Cell(0, 1), "数量");
}

TEST(GridPath, WithoutGridTheTextIsEvaluatedUnchanged) {
    TFormulaParser p;
    EXPECT_EQ(p.EvaluateWithValues("2*3", nullptr), 6.0L);
    EXPECT_EQ(p.EvaluateWithValues("t", nullptr), 0.0L);
    EXPECT_EQ(p.ErrorCode(), kFpUnknownName);
}

struct LimitRow {
    const char* name;
    std::string text;
    bool refused;
};

class GridLimits : public testing::TestWithParam<LimitRow> {};

TEST_P(GridLimits, RangeCheck) {
    TMyValues grid = StartingGrid();
    TFormulaParser p;
    if (GetParam().refused) {
        EXPECT_THROW(p.EvaluateWithValues(GetParam().text, &grid), RangeCheckError);
    } else {
        EXPECT_NO_THROW(p.EvaluateWithValues(GetParam().text, &grid));
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, GridLimits,
                         testing::Values(LimitRow{"length_255", Repeat("1", 255), false},
                                         LimitRow{"length_256", Repeat("1", 256), true},
                                         LimitRow{"occurrences_100", "t" + Repeat("+t", 99), false},
                                         LimitRow{"occurrences_101", "t" + Repeat("+t", 100),
                                                  true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GridLimits, MessageIsRangeCheckError) {
    TMyValues grid;
    TFormulaParser p;
    try {
        p.EvaluateWithValues(Repeat("1", 300), &grid);
        FAIL() << "a 300-character text must be refused";
    } catch (const RangeCheckError& e) {
        EXPECT_STREQ(e.what(), "Range check error");
    }
}

} // namespace
} // namespace kolvane
