#include "formula/BuildinFuncs.h"
#include "formula/FormulaParser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

namespace kolvane {
namespace {

// A formula, the value it must give (relative 1e-15) and its error code.
struct Case {
    const char* name;
    const char* text;
    long double value;
    int error;
};

class Function : public testing::TestWithParam<Case> {};

TEST_P(Function, GivesValueOrErrorCode) {
    const Case& c = GetParam();
    TFormulaParser p;
    long double v = p.EvaluateText(c.text);
    EXPECT_EQ(p.ErrorCode(), c.error) << c.text;
    if (c.error != kFpOk) {
        EXPECT_EQ(v, 0.0L) << c.text;
    } else {
        double tol = 1e-15 * std::max(1.0, std::fabs(static_cast<double>(c.value)));
        EXPECT_NEAR(static_cast<double>(v), static_cast<double>(c.value), tol) << c.text;
    }
}

std::string CaseName(const testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

constexpr long double kPi = 3.14159265358979323846264338327950288L;

INSTANTIATE_TEST_SUITE_P(
    Circular, Function,
    testing::Values(Case{"tan_zero", "TAN(0)", 0, 0}, Case{"sec_zero", "SEC(0)", 1, 0},
                    Case{"tan_pole", "TAN(PI/2)", 0, kFpTanUndefined},
                    Case{"tan_negative_pole", "TAN(-3*PI/2)", 0, kFpTanUndefined},
                    Case{"tan_at_pi_defined", "TAN(PI)", std::tan(kPi), 0},
                    Case{"sec_pole", "SEC(PI/2)", 0, kFpSecUndefined},
                    Case{"cot_zero", "COT(0)", 0, kFpCotUndefined},
                    Case{"csc_pi", "CSC(PI)", 0, kFpCscUndefined},
                    Case{"csc_zero", "CSC(0)", 0, kFpCscUndefined},
                    Case{"csc_regular", "CSC(PI/2)", 1, 0}, Case{"cot_regular", "COT(PI/4)", 1, 0},
                    Case{"tan_regular", "TAN(PI/4)", 1, 0},
                    Case{"sin_cos", "SIN(PI/6)+COS(0)", 1.5, 0},
                    Case{"arctan", "ARCTAN(1)*4", kPi, 0}, Case{"degrees", "DEG(PI)", 180, 0},
                    Case{"radians", "RAD(180)", kPi, 0}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Logic, Function,
    testing::Values(Case{"and_with_false", "AND(1,1,0)", 0, 0},
                    Case{"and_all_true", "AND(1,1,1)", 1, 0},
                    Case{"or_one_true", "OR(0,0,1)", 1, 0}, Case{"or_none", "OR(0,0)", 0, 0},
                    Case{"or_non_boolean", "OR(0,2)", 0, kFpNotBoolean},
                    Case{"and_non_boolean_late", "AND(0,1,0.5)", 0, kFpNotBoolean},
                    Case{"xor_same", "XOR(1,1)", 0, 0}, Case{"xor_differ", "XOR(1,0)", 1, 0},
                    Case{"xor_non_boolean", "XOR(1,3)", 0, kFpNotBoolean},
                    Case{"not_zero", "NOT(0)", 1, 0}, Case{"not_one", "NOT(1)", 0, 0},
                    Case{"not_two", "NOT(2)", 0, kFpNotBoolean}, Case{"true", "TRUE", 1, 0},
                    Case{"false", "FALSE", 0, 0}, Case{"if_true", "IF(1,10,20)", 10, 0},
                    Case{"if_false", "IF(0,10,20)", 20, 0},
                    Case{"if_comparison", "IF((2>1),10,20)", 10, 0},
                    Case{"if_non_boolean", "IF(2,10,20)", 0, kFpIfCondition},
                    Case{"if_two_items", "IF(1,10)", 0, kFpIfArgumentCount},
                    Case{"if_four_items", "IF(1,10,20,30)", 0, kFpIfArgumentCount},
                    Case{"if_error_in_other_branch", "IF(1,10,SQRT(-1))", 0, kFpSqrtDomain}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(ExponentialsAndPowers, Function,
                         testing::Values(Case{"exp_one_is_e", "EXP(1)-E", 0, 0},
                                         Case{"e_value", "E", 2.71828182845904523536L, 0},
                                         Case{"exp_too_small", "EXP(-90)", 0, kFpOutOfRange},
                                         Case{"exp_too_large", "EXP(88)", 0, kFpOutOfRange},
                                         Case{"exp_in_range", "EXP(87)", std::exp(87.0L), 0},
                                         Case{"log_hundred", "LOG(100)", 2, 0},
                                         Case{"ln_e", "LN(E)", 1, 0},
                                         Case{"ln_zero", "LN(0)", 0, kFpLogDomain},
                                         Case{"log_negative", "LOG(-1)", 0, kFpLogDomain},
                                         Case{"sqrt_negative", "SQRT(-1)", 0, kFpSqrtDomain},
                                         Case{"sqrt_value", "SQRT(2)", 1.41421356237309504880L, 0},
                                         Case{"sqr_negative", "SQR(-3)", 9, 0},
                                         Case{"sqr_zero", "SQR(0)", 0, 0},
                                         Case{"sqr_too_small", "SQR(1E-20)", 0, kFpOutOfRange},
                                         Case{"sqr_too_large", "SQR(1E19)", 0, kFpOutOfRange},
                                         Case{"sqr_large_in_range", "SQR(1E18)", 1e36L, 0}),
                         CaseName);

INSTANTIATE_TEST_SUITE_P(
    Rounding, Function,
    testing::Values(Case{"sgn_zero", "SGN(0)", 1, 0}, Case{"sgn_negative", "SGN(-0.5)", -1, 0},
                    Case{"int_negative", "INT(-2.7)", -2, 0},
                    Case{"int_positive", "INT(2.7)", 2, 0},
                    Case{"frac_negative", "FRAC(-2.7)", -0.7L, 0},
                    Case{"round_half_up", "ROUND(2.5)", 3, 0},
                    Case{"round_half_down", "ROUND(-2.5)", -3, 0},
                    Case{"round_below_half", "ROUND(2.49)", 2, 0},
                    Case{"round_large_unchanged", "ROUND(3000000000.5)", 3000000000.5L, 0},
                    Case{"round_limit_unchanged", "ROUND(-2147483646.5)", -2147483646.5L, 0},
                    Case{"deg_beyond_extended_range", "DEG(1E4932)", 0, kFpOutOfRange},
                    Case{"avg_beyond_extended_range", "AVG(1E4932,1E4932)", 0, kFpOutOfRange},
                    Case{"abs", "ABS(-4)", 4, 0}, Case{"max", "MAX(3,7,5)", 7, 0},
                    Case{"min", "MIN(3,7,5)", 3, 0}, Case{"min_negative", "MIN(-1,-9)", -9, 0}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Hyperbolic, Function,
    testing::Values(Case{"sinh_limit", "SINH(88)", 0, kFpHyperbolicRange},
                    Case{"sinh_87", "SINH(87)", std::sinh(87.0L), 0},
                    Case{"sinh_tiny_keeps_digits", "SINH(1E-10)", 1e-10L, 0},
                    Case{"cosh_zero", "COSH(0)", 1, 0},
                    Case{"cosh_limit", "COSH(-88)", 0, kFpHyperbolicRange},
                    Case{"tanh_one", "TANH(1)", std::tanh(1.0L), 0},
                    Case{"csch_zero", "CSCH(0)", 0, kFpCschUndefined},
                    Case{"csch_one", "CSCH(1)", 1 / std::sinh(1.0L), 0},
                    Case{"sech_zero", "SECH(0)", 1, 0},
                    Case{"coth_zero", "COTH(0)", 0, kFpCothUndefined},
                    Case{"coth_limit", "COTH(100)", 0, kFpHyperbolicRange},
                    Case{"arcsinh_one", "ARCSINH(1)", std::asinh(1.0L), 0},
                    Case{"arcsinh_large_negative", "ARCSINH(-1E10)", std::asinh(-1e10L), 0},
                    Case{"arcsinh_limit", "ARCSINH(1E19)", 0, kFpHyperbolicRange},
                    Case{"arccosh_one", "ARCCOSH(1)", 0, 0},
                    Case{"arccosh_below_one", "ARCCOSH(0.5)", 0, kFpArccoshDomain},
                    Case{"arctanh_one", "ARCTANH(1)", 0, kFpArctanhDomain},
                    Case{"arctanh_half", "ARCTANH(0.5)", std::atanh(0.5L), 0},
                    Case{"arccsch_zero", "ARCCSCH(0)", 0, kFpArccschUndefined},
                    Case{"arccsch_negative", "ARCCSCH(-2)", std::asinh(-0.5L), 0},
                    Case{"arccsch_limit", "ARCCSCH(1E19)", 0, kFpHyperbolicRange},
                    Case{"arcsech_zero", "ARCSECH(0)", 0, kFpArcsechDomain},
                    Case{"arcsech_two", "ARCSECH(2)", 0, kFpArcsechDomain},
                    Case{"arcsech_half", "ARCSECH(0.5)", std::acosh(2.0L), 0},
                    Case{"arcsech_limit_first", "ARCSECH(1E19)", 0, kFpHyperbolicRange},
                    Case{"arccoth_one", "ARCCOTH(1)", 0, kFpArccothDomain},
                    Case{"arccoth_two", "ARCCOTH(2)", std::atanh(0.5L), 0}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Statistics, Function,
    testing::Values(Case{"avg", "AVG(1,2,3)", 2, 0}, Case{"avgerage", "AVGERAGE(1,2,3)", 2, 0},
                    Case{"std_two", "STD(2,4)", 1.41421356237309504880L, 0},
                    Case{"stdev_two", "STDEV(2,4)", 1.41421356237309504880L, 0},
                    Case{"std_four", "STD(1,2,3,4)", 1.29099444873580562839L, 0},
                    Case{"std_equal_items", "STD(0.1,0.1,0.1)", 0, 0},
                    Case{"std_close_large_items", "STD(100000000.5,100000001.5)",
                         0.70710678118654752440L, 0},
                    Case{"std_item_too_small", "STD(1E-20,1)", 0, kFpOutOfRange},
                    Case{"std_item_too_large", "STD(1E20,1)", 0, kFpOutOfRange},
                    Case{"std_zero_item_allowed", "STD(0,2)", 1.41421356237309504880L, 0},
                    Case{"mean_not_implemented", "MEAN(1,2)", 0, kFpNotImplemented},
                    Case{"sum", "SUM(1,2,3)", 6, 0},
                    Case{"sum_overflow", "SUM(5E37,5E37)", 0, kFpOutOfRange},
                    Case{"sum_negative", "SUM(-1,-2.5)", -3.5, 0}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(Texts, Function,
                         testing::Values(Case{"length_hello_world", "LENGTH('Hello World')", 10, 0},
                                         Case{"length_counts_characters", "LENGTH('温度')", 2, 0},
                                         Case{"strcomp_case", "STRCOMP('abc','ABC')", 1, 0},
                                         Case{"strcomp_spaces", "STRCOMP('a b','ab')", 1, 0},
                                         Case{"strcomp_differ", "STRCOMP('abc','abd')", 0, 0}),
                         CaseName);

INSTANTIATE_TEST_SUITE_P(
    RandomArguments, Function,
    testing::Values(Case{"rnd_fraction", "RND(2.5)", 0, kFpRndRange},
                    Case{"rnd_huge", "RND(1E20)", 0, kFpRndRange},
                    Case{"rnd_beyond_int32", "RND(3000000000)", 0, kFpRndRange},
                    Case{"rnd_zero", "RND(0)", 0, 0}, Case{"rnd_one", "RND(1)", 0, 0},
                    Case{"rnd_int32_max_accepted", "RND(2147483647)*0", 0, 0}),
    CaseName);

// Bounds and integrality over many draws; nothing depends on the seed.
TEST(Random, RandLiesInUnitIntervalAndSpreads) {
    TFormulaParser p;
    long double lo = 1, hi = 0, sum = 0;
    const int n = 4000;
    for (int i = 0; i < n; ++i) {
        long double r = p.EvaluateText("RAND");
        ASSERT_EQ(p.ErrorCode(), kFpOk);
        ASSERT_GE(r, 0.0L);
        ASSERT_LT(r, 1.0L);
        lo = std::min(lo, r);
        hi = std::max(hi, r);
        sum += r;
    }
    EXPECT_LT(lo, 0.01L);
    EXPECT_GT(hi, 0.99L);
    EXPECT_NEAR(static_cast<double>(sum / n), 0.5, 0.05);
}

TEST(Random, RndGivesEveryIntegerBelowItsArgument) {
    TFormulaParser p;
    std::set<long double> seen;
    for (int i = 0; i < 2000; ++i) {
        long double r = p.EvaluateText("RND(10)");
        ASSERT_EQ(p.ErrorCode(), kFpOk);
        ASSERT_EQ(r, std::trunc(r));
        ASSERT_GE(r, 0.0L);
        ASSERT_LE(r, 9.0L);
        seen.insert(r);
    }
    EXPECT_EQ(seen.size(), 10u);
}

TEST(Random, RndOfNegativeArgumentMirrorsTheRange) {
    TFormulaParser p;
    for (int i = 0; i < 500; ++i) {
        long double r = p.EvaluateText("RND(-5)");
        ASSERT_EQ(p.ErrorCode(), kFpOk);
        ASSERT_EQ(r, std::trunc(r));
        ASSERT_GT(r, -5.0L);
        ASSERT_LE(r, 0.0L);
    }
}

// Lists of exactly the minimum length reach the operations directly too.
TEST(Operations, CalledThroughTheTableByName) {
    TFormulaParser p;
    TBuildinFuncs f;
    const auto* op = TBuildinFuncs::FindOperation("msin");
    ASSERT_NE(op, nullptr);
    auto sin = std::get<TBuildinFuncs::OpOne>(*op);
    EXPECT_EQ((f.*sin)(p, 0), 0.0L);
    EXPECT_EQ(TBuildinFuncs::FindOperation("mOr"), nullptr);
    EXPECT_NE(TBuildinFuncs::FindOperation("MPI"), nullptr);
}

TEST(Operations, AverageOfNoItemsIsAnError) {
    TFormulaParser p;
    TBuildinFuncs f;
    p.SetExpression("0");
    EXPECT_EQ(f.mAvg(p, {}), 0.0L);
    EXPECT_EQ(p.ErrorCode(), kFpAverageEmpty);
}

TEST(Operations, StdOfOneItemIsAnError) {
    TFormulaParser p;
    TBuildinFuncs f;
    p.SetExpression("0");
    long double one[] = {3};
    EXPECT_EQ(f.mStd(p, one), 0.0L);
    EXPECT_EQ(p.ErrorCode(), kFpStdDevTooFew);
}

} // namespace
} // namespace kolvane
