#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kolvane {

// The range of states a library record's data hold for, as its note states
// it: a temperature range in °C and a pressure limit or range in kPa or MPa.
struct ValidityRange {
    std::optional<double> tMin, tMax; // °C
    std::optional<double> pMin, pMax; // kPa
    // The two parts as the messages show them: "-50~400 °C", "≤1 MPa",
    // "0.6113 kPa~16.529 MPa" ("" for a part the note does not give).
    std::string temperatureText, pressureText;
};

// The range in a record's note. The note is read as pieces between ";"
// (or "；"), and a piece that is wholly a range counts; the last such piece
// wins. A range piece is one or two parts between "," (or "，"), at most one
// of each kind:
//   temperature  "-50~400C"   ("°C" or "℃" also, "～" for "~")
//   pressure     "≤1MPa"      ("<=" also; kPa or MPa, ASCII case ignored)
//                "0.6113kPa~16.529MPa"
// Blanks between the tokens are allowed; a lower bound above the upper one
// is no range. Nothing when the note states no range (a piece such as
// "cp常数(-50~150C内±0.5%)" is a remark, not the range).
std::optional<ValidityRange> ParseValidityRange(std::string_view note);

// The parts of `range` that the state lies outside, joined by "、"; "" when
// it lies inside. A quantity that is not known (nullopt) is not checked.
std::string OutsideValidityRange(const ValidityRange& range, std::optional<double> tC,
                                 std::optional<double> pKPa);

} // namespace kolvane
