#pragma once

#include "model/Correlations.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

class TMyValues;

// The property texts of the library and their evaluation. A text is a
// constant ("4180"), a table over temperature ("0,4217;20,4182;..."), a
// method key with critical constants ("PRV:4599,190.6,98.6,0.286,0.011,16.04")
// or an expression of the formula language in which the names of critical
// constants are rewritten ("(1.2+0.0021*T)*1000+PRRCP PARAMS: ..."). A note
// after "?", "<" or "{" and a label before "=" are cut away first.

constexpr std::size_t kMaxTextSlots = 100; // slots 0..99, filled from 1
constexpr std::size_t kMaxTablePoints = 100;

// Pieces of `text` between `separator`s into slots 1, 2, ... (untrimmed);
// every slot emptied first. Pieces beyond the last slot are dropped.
void SplitText(std::string_view text, char separator,
               std::array<std::string, kMaxTextSlots>& slots);
// The pieces as numbers into slots 1, 2, ... of the correlation vector
// (slot 0 untouched). Raises ConvertError for a piece that is no number and
// Error for more numbers than the vector holds.
void SplitNumbers(std::string_view text, char separator, CorrelationVector& slots);

struct TablePoint {
    double x, y;
};
// Piecewise cubic Lagrange interpolation: all points when there are at most
// four, else the window of four around x (the end windows extrapolate).
double LagrangeValue(const std::vector<TablePoint>& points, double x);
// A table (pairs "x,y" separated by ";"), a single pair (its y) or a number.
double TableValue(std::string_view text, double x);

// The method keys that select water and steam of IAPWS-IF97 instead of a
// correlation (nothing follows the ":"): water or steam at the grid's t and
// p; saturated water at the saturation temperature of the grid's p, the
// steam when the library was opened from the steam button and the
// condensate otherwise; saturated liquid; saturated vapour. The latent heat
// (HV) is h'' - h' at the saturation temperature (for "IF97:" at t), the
// surface tension (ST) that of the liquid.
inline constexpr std::string_view kKeyWater = "IF97";
inline constexpr std::string_view kKeySaturated = "IF97S";
inline constexpr std::string_view kKeySaturatedLiquid = "IF97L";
inline constexpr std::string_view kKeySaturatedVapour = "IF97V";

// The result of evaluating one property text.
struct PropertyResult {
    enum Kind {
        Value,         // `value` holds the property in SI units
        Empty,         // no entry: the target is emptied
        NoTemperature, // the grid's t is empty: "请指定温度！", target untouched
        Failed,        // `message` says why; the target is emptied
        Refused,       // the state is one the text does not cover; `message` names
                       // it ("在-40 °C、1500 kPa下为液相"); the target is emptied
    } kind = Empty;
    double value = 0;
    std::string message;
};

// The text that is evaluated: the note after "?", "<" or "{" and a label
// before "=" cut away, blanks trimmed.
std::string_view PropertyTextBody(std::string_view text);
// True for a density text of an equation-of-state key (PRV, VRV, …), the
// only kind whose phase the library can tell.
bool IsEquationOfStateText(std::string_view text);
// True for a text that evaluates at the saturation temperature of p (the
// keys IF97S, IF97L and IF97V), whatever the grid's t.
bool IsSaturatedText(std::string_view text);

// Evaluates the property text `text` of the property `name` ("Cp", "MD",
// "VI", "TC", "ST", "HV"; case ignored) for a fluid that is a liquid when
// `liquid`, at the grid's t and p. The expression path may add rows to the
// grid for new one-letter variables. Never yields NaN, infinity or a 0 that
// stands for a failure. The density of a gas (not `liquid`) from a method
// key of an equation of state is refused where that equation finds the
// liquid stable.
// `vapourSide` picks the steam rather than the condensate for the saturated
// key (the library was opened from the steam button).
PropertyResult EvaluatePropertyText(std::string_view text, std::string_view name, bool liquid,
                                    TMyValues& grid, bool vapourSide = false);

// The expression after the rewriting of critical constants and residual
// terms, as the parser then evaluates it; `entries` are the parameter
// section's texts in slots 1..7.
std::string RewritePropertyExpression(std::string text,
                                      const std::array<std::string, kMaxTextSlots>& entries,
                                      const CorrelationVector& vector);

} // namespace kolvane
