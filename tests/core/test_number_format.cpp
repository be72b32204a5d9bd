#include "engine/NumberFormat.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

namespace kolvane {
namespace {

struct WriteRow {
    const char* name;
    double value;
    const char* text;
};

class WriteValueText : public testing::TestWithParam<WriteRow> {};

TEST_P(WriteValueText, FifteenDigitGeneralFormat) {
    EXPECT_EQ(FloatToStr15(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WriteValueText,
    testing::Values(WriteRow{"half", 0.5, "0.5"}, WriteRow{"lowest_fixed", 0.0001, "0.0001"},
                    WriteRow{"below_fixed_goes_scientific", 0.00009, "9E-5"},
                    WriteRow{"large_scientific", 2e20, "2E20"}, WriteRow{"zero", 0.0, "0"},
                    WriteRow{"negative_zero", -0.0, "0"}, WriteRow{"integer", 120.0, "120"},
                    WriteRow{"one_third", 1.0 / 3.0, "0.333333333333333"},
                    WriteRow{"negative", -2.5, "-2.5"},
                    WriteRow{"just_below_1e15", 999999999999999.0, "999999999999999"},
                    WriteRow{"at_1e15_scientific", 1e15, "1E15"},
                    WriteRow{"rounds_up_into_scientific", 999999999999999.9, "1E15"},
                    WriteRow{"tiny_negative_exponent", 1.5e-300, "1.5E-300"},
                    WriteRow{"rounding_15_digits", 0.1 + 0.2, "0.3"},
                    WriteRow{"many_digits", 123456.789012345678, "123456.789012346"},
                    WriteRow{"negative_scientific", -3.25e-7, "-3.25E-7"}),
    [](const auto& info) { return std::string(info.param.name); });

struct DisplayRow {
    const char* name;
    const char* text;
    const char* shown;
};

class DisplayForm : public testing::TestWithParam<DisplayRow> {};

TEST_P(DisplayForm, SevenDigitsFourExponentDigits) {
    EXPECT_EQ(DisplayFloatStr(GetParam().text), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DisplayForm,
    testing::Values(DisplayRow{"rounds_to_seven", "123.456789", "123.4568"},
                    DisplayRow{"trailing_zero_dropped", "1.50", "1.5"},
                    DisplayRow{"small_scientific_padded", "0.00001234", "1.234E-0005"},
                    DisplayRow{"large_scientific_padded", "12345678", "1.234568E0007"},
                    DisplayRow{"tolerance_text", "1E-6", "1E-0006"},
                    DisplayRow{"plain_integer_unchanged", "100", "100"},
                    DisplayRow{"one_third", "0.333333333333333", "0.3333333"},
                    DisplayRow{"leading_blanks_allowed", "  2.50", "2.5"},
                    DisplayRow{"trailing_blank_not_a_number", "2.50 ", "2.50 "},
                    DisplayRow{"empty_stays_empty", "", ""}, DisplayRow{"words_stay", "abc", "abc"},
                    DisplayRow{"rounds_up_to_ten_million", "9999999.6", "1E0007"},
                    DisplayRow{"negative_exponent_text", "-5e-5", "-5E-0005"},
                    DisplayRow{"plus_sign", "+3", "3"},
                    DisplayRow{"comma_is_not_a_point", "1,5", "1,5"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadNumber, AcceptsTheNumberGrammar) {
    EXPECT_DOUBLE_EQ(StrToFloat("120"), 120.0);
    EXPECT_DOUBLE_EQ(StrToFloat("  -1.5e3\t"), -1500.0);
    EXPECT_DOUBLE_EQ(StrToFloat("+2E-2"), 0.02);
    EXPECT_DOUBLE_EQ(StrToFloat(".5"), 0.5);
    EXPECT_DOUBLE_EQ(StrToFloat("5."), 5.0);
    EXPECT_DOUBLE_EQ(StrToFloat("1e-400"), 0.0); // underflow reads as zero
}

TEST(ReadNumber, RejectsWhatIsNotANumber) {
    for (const char* bad : {"", "   ", "abc", "1,5", "1.2.3", "e5", "1e", "1e+", "--1", "0x10",
                            "inf", "nan", "1 2", ".", "1e400"}) {
        EXPECT_THROW(StrToFloat(bad), ConvertError) << "text: '" << bad << "'";
    }
}

TEST(ReadNumber, ErrorNamesTheText) {
    try {
        StrToFloat("abc");
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
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
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(WriteNumber, NonFiniteValuesAreNamed) {
    EXPECT_EQ(FloatToStr15(std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(FloatToStr15(-std::numeric_limits<double>::infinity()), "-INF");
    EXPECT_EQ(FloatToStr15(std::nan("")), "NAN");
}

TEST(WriteNumber, LongDoubleKeepsItsOwnRounding) {
    EXPECT_EQ(FormatGeneral(1.0L / 3.0L, 15, 1), "0.333333333333333");
    EXPECT_EQ(FormatGeneral(2.5e-4000L, 15, 1), "2.5E-4000");
}

TEST(WriteNumber, RoundTripsFifteenDigits) {
    for (double v : {1.0 / 7.0, 2.718281828459045, 6.02214076e23, 1.602176634e-19, 101325.0}) {
        double back = StrToFloat(FloatToStr15(v));
        EXPECT_NEAR(back, v, std::fabs(v) * 1e-14) << v;
    }
}

} // namespace
} // namespace kolvane
