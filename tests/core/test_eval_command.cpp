#include "cli/Cli.h"
#include "cli/Json.h"
#include "formula/FormulaParser.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <sstream>

namespace kolvane {
namespace {

struct CliRun {
    int code;
    std::string out;
    std::string err;
};

CliRun Eval(std::vector<std::string> args) {
    args.insert(args.begin(), "eval");
    std::ostringstream out, err;
    int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

struct TextRow {
    const char* name;
    std::vector<std::string> args;
    const char* out;
};

class EvalText : public testing::TestWithParam<TextRow> {};

TEST_P(EvalText, PrintsValueCodeAndMessage) {
    CliRun r = Eval(GetParam().args);
    EXPECT_EQ(r.code, kCliOk) << r.err;
    EXPECT_EQ(r.out, GetParam().out);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, EvalText, testing::Values(
    TextRow{"plain_value", {"2+3*4"}, "14\n0\n结果正确\n"},
    TextRow{"fifteen_digits", {"PI"}, "3.14159265358979\n0\n结果正确\n"},
    TextRow{"scientific", {"SINH(87)"}, "3.03801511252844E37\n0\n结果正确\n"},
    TextRow{"formula_error_is_a_result", {"1/0"}, "0\n9\n被0除\n"},
    TextRow{"negative_formula_is_not_an_option", {"-5"}, "-5\n0\n结果正确\n"},
    TextRow{"after_double_dash", {"--", "--5"}, "5\n0\n结果正确\n"},
    TextRow{"double_minus_formula", {"--5"}, "5\n0\n结果正确\n"},
    TextRow{"triple_minus_formula", {"---(2)"}, "-2\n0\n结果正确\n"},
    TextRow{"empty_formula", {""}, "0\n6\n空字符串\n"},
    TextRow{"variables_need_the_grid", {"t*2"}, "0\n38\n函数名不存在!\n"},
    TextRow{"grid_default_values", {"t+p", "--grid"}, "120\n0\n结果正确\n"},
    TextRow{"grid_var_sets_value", {"--grid", "--var", "t=-5", "t^2"}, "25\n0\n结果正确\n"},
    TextRow{"grid_var_adds_row", {"--grid", "--var=x=3", "x*t"}, "60\n0\n结果正确\n"},
    TextRow{"grid_var_any_case", {"--grid", "--var", "T=1", "t"}, "1\n0\n结果正确\n"},
    TextRow{"json_with_expression_and_grid", {"2*t", "--grid", "--json", "--var", "y=4"},
            R"({"value":40,"error":0,"message":"结果正确","expression":"2*20","grid":[["t","20","C","温度"],["p","100","kPa","压力"],["y","4","",""],["","","",""]]})" "\n"},
    TextRow{"json_without_grid_reports_the_error", {"--json", "IF(2,1,0)"},
            R"j({"value":0,"error":36,"message":"条件表达式值应为\"是\"或\"否\"","expression":"IF(2,1,0)","grid":[]})j" "\n"},
    TextRow{"json_grid_without_variables_is_emptied", {"--json", "--grid", "3*4"},
            R"({"value":12,"error":0,"message":"结果正确","expression":"3*4","grid":[["","","",""],["","","",""],["","","",""],["","","",""]]})" "\n"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// Reads numbers as long double, so values beyond the double range come back whole.
using WideJson = nlohmann::basic_json<std::map, std::vector, std::string, bool, std::int64_t,
                                      std::uint64_t, long double>;

struct NumberRow {
    const char* name;
    const char* formula;
    const char* text; // the value as written
    int error;
    bool wide; // beyond the double range: reads back only as a long double
};

class EvalJsonNumber : public testing::TestWithParam<NumberRow> {};

TEST_P(EvalJsonNumber, ReadsBackAsTheEvaluatedValue) {
    CliRun r = Eval({GetParam().formula, "--json"});
    EXPECT_EQ(r.out.rfind(std::string("{\"value\":") + GetParam().text + ",", 0), 0u) << r.out;
    WideJson j = WideJson::parse(r.out);
    EXPECT_EQ(j["error"], GetParam().error);
    TFormulaParser parser;
    parser.SetExpression(GetParam().formula);
    long double v = parser.Evaluate();
    if (GetParam().wide)
        EXPECT_EQ(j["value"].get<long double>(), v);
    else
        EXPECT_EQ(nlohmann::json::parse(r.out)["value"].get<double>(), static_cast<double>(v));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, EvalJsonNumber, testing::Values(
    NumberRow{"beyond_double_max", "1E400", "1e+400", 0, true},
    NumberRow{"beyond_double_max_negative", "-1E400", "-1e+400", 0, true},
    NumberRow{"below_smallest_double", "1E-400", "1e-400", 0, true},
    NumberRow{"function_result", "INT(-1E4000)", "-1e+4000", 0, true},
    NumberRow{"rounds_to_infinity", "1.7976931348623159E308", "1.7976931348623159e+308", 0, true},
    NumberRow{"subnormal", "1.2345678901234567E-310", "1.2345678901234567e-310", 0, true},
    NumberRow{"largest_double", "1.7976931348623157E308", "1.7976931348623157e+308", 0, false},
    NumberRow{"ordinary", "PI", "3.141592653589793", 0, false},
    NumberRow{"error_result", "1/0", "0", 9, false}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(EvalJson, TextIsUnescapedAndStrayBytesBecomeReplacementCharacters) {
    CliRun r = Eval({"--grid", "--json", "--var", "z=中文", "t"});
    EXPECT_NE(r.out.find(R"(["z","中文","",""])"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("\\u"), std::string::npos) << r.out;
    r = Eval({"--json", "1+\xFF\x01"}); // strict readers refuse bytes that are no UTF-8
    EXPECT_EQ(nlohmann::json::parse(r.out)["expression"], "1+\xEF\xBF\xBD\x01");
}

TEST(JsonNumbers, NotFiniteIsNullAndExactIntegersHaveNoFraction) {
    EXPECT_EQ(JsonNumberText(std::numeric_limits<long double>::infinity()), "null");
    EXPECT_EQ(DumpJson(JsonNumber(9007199254740992.0)), "9007199254740992");
    EXPECT_EQ(DumpJson(JsonNumber(18014398509481984.0)), "1.8014398509481984e+16");
    EXPECT_EQ(DumpWithLeadingNumber("v", "1e+400", Json::object()), R"({"v":1e+400})");
}

TEST(EvalGrid, TooLongATextFailsAndAVariableWithoutTheGridIsWarned) {
    CliRun r = Eval({"--grid", std::string(256, '1')});
    EXPECT_EQ(r.code, kCliFailed);
    EXPECT_EQ(r.err, "error: Range check error\n");
    EXPECT_EQ(r.out, "");
    // The same text is fine without the grid.
    EXPECT_EQ(Eval({std::string(256, '1')}).code, kCliOk);
    // A variable without the grid is used by nothing: a warning, not a failure.
    r = Eval({"1", "--var", "t=2"});
    EXPECT_EQ(r.code, kCliOk);
    EXPECT_NE(r.err.find("--grid"), std::string::npos);
}

struct BadRow {
    const char* name;
    std::vector<std::string> args;
};

class EvalBadArguments : public testing::TestWithParam<BadRow> {};

TEST_P(EvalBadArguments, ExitTwoWithUsage) {
    CliRun r = Eval(GetParam().args);
    EXPECT_EQ(r.code, kCliBadArguments);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("usage: kolvane-cli eval"), std::string::npos) << r.err;
}

INSTANTIATE_TEST_SUITE_P(Rows, EvalBadArguments,
                         testing::Values(BadRow{"no_formula", {}},
                                         BadRow{"only_options", {"--grid", "--json"}},
                                         BadRow{"two_formulas", {"1", "2"}},
                                         BadRow{"unknown_option", {"--fast", "1"}},
                                         BadRow{"var_without_value", {"1", "--var"}},
                                         BadRow{"var_without_equals", {"1", "--var", "t"}},
                                         BadRow{"var_without_name", {"1", "--var", "=3"}}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kolvane
