#include "formula/NumberFormat.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

namespace kolvane {
namespace {

TEST(WriteNumber, FifteenDigitGeneralFormatAndNamedNonFiniteValues) {
    const double inf = std::numeric_limits<double>::infinity();
    // clang-format off
    const std::pair<double, const char*> rows[] = {
        {0.5, "0.5"}, {0.0001, "0.0001"}, {0.00009, "9E-5"} /* below fixed */, {2e20, "2E20"},
        {0.0, "0"}, {-0.0, "0"}, {120.0, "120"}, {1.0 / 3.0, "0.333333333333333"}, {-2.5, "-2.5"},
        {999999999999999.0, "999999999999999"}, {1e15, "1E15"}, {999999999999999.9, "1E15"},
        {1.5e-300, "1.5E-300"}, {0.1 + 0.2, "0.3"}, {123456.789012345678, "123456.789012346"},
        {-3.25e-7, "-3.25E-7"}, {inf, "INF"}, {-inf, "-INF"}, {std::nan(""), "NAN"}};
    // clang-format on
    for (const auto& [value, text] : rows)
        EXPECT_EQ(FloatToStr15(value), text) << "row " << text;
}

TEST(DisplayForm, SevenDigitsFourExponentDigitsAndNonNumbersUnchanged) {
    // clang-format off
    const std::pair<const char*, const char*> rows[] = {
        {"123.456789", "123.4568"}, {"1.50", "1.5"}, {"0.00001234", "1.234E-0005"},
        {"12345678", "1.234568E0007"}, {"1E-6", "1E-0006"}, {"100", "100"},
        {"0.333333333333333", "0.3333333"}, {"  2.50", "2.5"}, {"2.50 ", "2.50 "} /* not a number */,
        {"", ""}, {"abc", "abc"}, {"9999999.6", "1E0007"}, {"-5e-5", "-5E-0005"}, {"+3", "3"},
        {"1,5", "1,5"} /* a comma is no point */};
    // clang-format on
    for (const auto& [text, shown] : rows)
        EXPECT_EQ(DisplayFloatStr(text), shown) << "row '" << text << "'";
}

TEST(ReportForm, FourDecimalsWhileTheyKeepFourDigitsElseTheDisplayForm) {
    const double inf = std::numeric_limits<double>::infinity();
    // clang-format off
    const std::pair<double, const char*> rows[] = {
        {4e-5, "4E-0005"} /* four decimals would print 0.0000 */, {1.35e-5, "1.35E-0005"},
        {0.5, "0.5000"}, {1234.5, "1234.5000"}, {2.3413e9, "2.3413E0009"},
        {2341300080.0, "2.3413E0009"}, {0.0, "0.0000"}, {-0.0, "0.0000"},
        {-4e-5, "-4E-0005"}, {-1234.5, "-1234.5000"}, {-2.3413e9, "-2.3413E0009"},
        {0.00021, "0.00021"} /* 0.0002 kept one digit */, {0.000411234567, "0.0004112346"},
        {0.00005, "5E-0005"} /* not rounded up to 0.0001 */, {0.1, "0.1000"},
        {0.0999, "0.0999"}, {0.09999, "0.1000"} /* rounds to four digits */,
        {0.012345, "0.012345"}, {9999999.5, "9999999.5000"} /* just below the limit */,
        {kReportFixedLimit, "1E0007"}, {12345678.9, "1.234568E0007"}, {1e-300, "1E-0300"},
        {inf, "INF"}, {std::nan(""), "NAN"}};
    // clang-format on
    for (const auto& [value, text] : rows)
        EXPECT_EQ(ReportFloatStr(value), text) << "row " << text;
    EXPECT_EQ(FormatFixed(-0.001, 2), "0.00") << "no sign before zeros";
    EXPECT_EQ(FormatFixed(-63.226, 2), "-63.23");
    EXPECT_EQ(FormatFixed(2.5, 4), "2.5000");
}

TEST(ReadNumber, AcceptsTheNumberGrammarAndRejectsTheRestNamingTheText) {
    // clang-format off
    const std::pair<const char*, double> good[] = {
        {"120", 120.0}, {"  -1.5e3\t", -1500.0}, {"+2E-2", 0.02}, {".5", 0.5}, {"5.", 5.0},
        {"1e-400", 0.0} /* underflow reads as zero */};
    // clang-format on
    for (const auto& [text, value] : good)
        EXPECT_DOUBLE_EQ(StrToFloat(text), value) << "text: '" << text << "'";
    for (const char* bad : {"", "   ", "abc", "1,5", "1.2.3", "e5", "1e", "1e+", "--1", "0x10",
                            "inf", "nan", "1 2", ".", "1e400"})
        EXPECT_THROW(StrToFloat(bad), ConvertError) << "text: '" << bad << "'";
    try {
        StrToFloat("abc");
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'abc' 不是有效的数值");
    }
}

TEST(ReadNumber, IgnoresTheLocale) {
    // A German locale would write and read "," as the decimal point.
    const char* old = std::setlocale(LC_ALL, nullptr);
    std::string saved = old ? old : "C";
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) std::setlocale(LC_NUMERIC, "C");
    EXPECT_DOUBLE_EQ(StrToFloat("1.5"), 1.5);
    EXPECT_EQ(FloatToStr15(1.5), "1.5");
    EXPECT_EQ(DisplayFloatStr("0.25"), "0.25");
    EXPECT_EQ(ReportFloatStr(0.25), "0.2500");
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(WriteNumber, LongDoubleKeepsItsOwnRoundingAndFifteenDigitsRoundTrip) {
    EXPECT_EQ(FormatGeneral(1.0L / 3.0L, 15, 1), "0.333333333333333");
    EXPECT_EQ(FormatGeneral(2.5e-4000L, 15, 1), "2.5E-4000");
    for (double v : {1.0 / 7.0, 2.718281828459045, 6.02214076e23, 1.602176634e-19, 101325.0})
        EXPECT_NEAR(StrToFloat(FloatToStr15(v)), v, std::fabs(v) * 1e-14) << v;
}

} // namespace
} // namespace kolvane
