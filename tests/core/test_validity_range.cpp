// The validity range in a property record's note; the check of states
// against it is tested with the library in test_simp_props.cpp.
#include "formula/NumberFormat.h"
#include "props/ValidityRange.h"

#include <gtest/gtest.h>

namespace kolvane {
namespace {

// "-50..400 C ..1000 kPa|-50~400 °C|≤1 MPa": the bounds, then the texts shown.
std::string Describe(const std::optional<ValidityRange>& r) {
    if (!r) return "none";
    auto b = [](std::optional<double> x) { return x ? FloatToStr15(*x) : std::string(); };
    return b(r->tMin) + ".." + b(r->tMax) + " C " + b(r->pMin) + ".." + b(r->pMax) + " kPa|" +
           r->temperatureText + "|" + r->pressureText;
}

TEST(ValidityRange, ParsesTheRangeOfANote) {
    const std::pair<const char*, const char*> rows[] = {
        {"密度按理想气体;-50~400C,≤1MPa", "-50..400 C ..1000 kPa|-50~400 °C|≤1 MPa"},
        {"饱和线;0.6113kPa~16.529MPa", ".. C 0.6113..16529 kPa||0.6113 kPa~16.529 MPa"},
        // A remark holding a range is not the range; the last range piece is.
        {"cp常数(-50~150C内±0.5%);-50~400C", "-50..400 C .. kPa|-50~400 °C|"},
        {"cp常数(-50~150C内±0.5%)", "none"},
        {"-50~400C;0~100C;", "0..100 C .. kPa|0~100 °C|"},
        // Full-width separators, ℃, blanks, the unit's letter case.
        {"注释； -40 ～ 110 ℃ ， <= 2 Mpa ", "-40..110 C ..2000 kPa|-40~110 °C|≤2 MPa"},
        {"-50~400", "none"},          // no unit
        {"400~-50C", "none"},         // bounds reversed
        {"1E2~3E2C", "none"},         // no exponents
        {"≤1MPa,≤2MPa", "none"},      // two pressure parts
        {"0~1C,≤1MPa,≤2MPa", "none"}, // three parts
        {"0~100C 常压", "none"},      // more after the range
    };
    for (auto [note, expected] : rows)
        EXPECT_EQ(Describe(ParseValidityRange(note)), expected) << note;
}

} // namespace
} // namespace kolvane
