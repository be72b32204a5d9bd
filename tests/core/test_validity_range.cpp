// The validity range in a property record's note, and the check of a state
// against it.
#include "props/ValidityRange.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kolvane {
namespace {

// A range as one line: "t -50..400 p ..1000|-50~400 °C|≤1 MPa".
std::string Describe(const std::optional<ValidityRange>& r) {
    if (!r) return "none";
    std::ostringstream s;
    auto bound = [&s](std::optional<double> x) {
        if (x) s << *x;
    };
    s << "t ";
    bound(r->tMin);
    s << "..";
    bound(r->tMax);
    s << " p ";
    bound(r->pMin);
    s << "..";
    bound(r->pMax);
    s << "|" << r->temperatureText << "|" << r->pressureText;
    return s.str();
}

TEST(ValidityRange, ParsesTheRangeOfANote) {
    const std::pair<const char*, const char*> rows[] = {
        {"cp:Incropera表A.4;密度按理想气体;-50~400C,≤1MPa",
         "t -50..400 p ..1000|-50~400 °C|≤1 MPa"},
        {"VDI传热图册D3.1(PPDS);-40~110C", "t -40..110 p ..|-40~110 °C|"},
        {"IAPWS-IF97饱和线;0.6113kPa~16.529MPa", "t .. p 0.6113..16529||0.6113 kPa~16.529 MPa"},
        {"≤2MPa", "t .. p ..2000||≤2 MPa"},
        // A remark holding a range is not the range; the last range piece is.
        {"cp常数(Poling式,-50~150C内±0.5%);密度维里式;-50~400C,≤5MPa",
         "t -50..400 p ..5000|-50~400 °C|≤5 MPa"},
        {"cp常数(Poling式,-50~150C内±0.5%)", "none"},
        {"cp:维里剩余项(常压下约偏低1~2%)", "none"},
        {"-50~400C;0~100C;", "t 0..100 p ..|0~100 °C|"},
        // Full-width separators, °C and ℃, blanks, the unit's letter case.
        {"注释； -40 ～ 110 ℃ ， <= 2 Mpa ", "t -40..110 p ..2000|-40~110 °C|≤2 MPa"},
        {"+5.5~60°C", "t 5.5..60 p ..|+5.5~60 °C|"},
        // What is no range.
        {"", "none"},
        {"-50~400", "none"},          // no unit
        {"400~-50C", "none"},         // bounds reversed
        {"-300~20C", "none"},         // below absolute zero
        {"1E2~3E2C", "none"},         // no exponents
        {"≤0MPa", "none"},            // no pressure
        {"≤1bar", "none"},            // a unit not read
        {"≤1MPa,≤2MPa", "none"},      // two pressure parts
        {"0~1C,2~3C", "none"},        // two temperature parts
        {"0~1C,≤1MPa,≤2MPa", "none"}, // three parts
        {"0~100C 常压", "none"},      // more after the range
    };
    for (auto [note, expected] : rows)
        EXPECT_EQ(Describe(ParseValidityRange(note)), expected) << note;
}

TEST(ValidityRange, TellsThePartsAStateLiesOutside) {
    const ValidityRange range = *ParseValidityRange("-50~400C,≤1MPa");
    const std::tuple<std::optional<double>, std::optional<double>, const char*> rows[] = {
        {20, 100, ""},
        {-50, 1000, ""}, // the bounds belong to the range
        {400, 1000, ""},
        {400.001, 100, "-50~400 °C"},
        {-50.001, 100, "-50~400 °C"},
        {20, 1000.001, "≤1 MPa"},
        {500, 2000, "-50~400 °C、≤1 MPa"},
        {std::nullopt, 2000, "≤1 MPa"}, // what is not known is not checked
        {500, std::nullopt, "-50~400 °C"},
    };
    for (auto [t, p, expected] : rows)
        EXPECT_EQ(OutsideValidityRange(range, t, p), expected)
            << t.value_or(-999) << " C, " << p.value_or(-999) << " kPa";
    const ValidityRange saturated = *ParseValidityRange("0.6113kPa~16.529MPa");
    EXPECT_EQ(OutsideValidityRange(saturated, 900, 0.6), "0.6113 kPa~16.529 MPa");
    EXPECT_EQ(OutsideValidityRange(saturated, 900, 16529), "") << "no temperature bound";
}

} // namespace
} // namespace kolvane
