#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kolvane {

// Reading and writing numbers. "." is always the decimal point, whatever the
// locale; nothing here calls a locale-dependent routine.

// Removes characters at or below the blank (blanks, tabs, line ends and other
// control characters) from both ends.
std::string_view TrimControl(std::string_view text);

// Names (components, properties, list sections, fluids) compare ignoring the
// case of ASCII letters only; other bytes must match exactly.
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

// Parses text that must be exactly a number: optional sign, digits with an
// optional "." (at least one digit in all), optional exponent "E"/"e" with an
// optional sign and at least one digit. Nothing else, not even blanks.
// Returns nothing when the text is not such a number or overflows a double.
std::optional<double> ParseExactReal(std::string_view text);
std::optional<long double> ParseExactLongReal(std::string_view text);

// The conversion of a field's text: trimmed of blanks and control characters
// at both ends, then parsed exactly. Raises ConvertError naming the text.
double StrToFloat(std::string_view text);

// General format: v rounded to `precision` significant digits; fixed notation
// when 0.0001 <= |v| < 10^precision, otherwise one digit, ".", the other
// digits, "E", "-" for a negative exponent and the exponent with at least
// minExpDigits digits. Trailing zeros and a bare point are dropped; zero is
// "0". Non-finite values are written "NAN", "INF" or "-INF".
std::string FormatGeneral(double v, int precision, int minExpDigits);
std::string FormatGeneral(long double v, int precision, int minExpDigits);

// The value text of a field: 15 significant digits ("0.5", "9E-5", "2E20").
std::string FloatToStr15(double v);

// The display form of a field's text: when the whole text, leading blanks
// allowed, is a number, that number with 7 significant digits and at least
// four exponent digits ("1.234E-0005"); otherwise the text itself.
std::string DisplayFloatStr(std::string_view text);

// v in fixed notation with exactly `decimals` decimals ("2.5000"); "-" only
// before a nonzero digit. Non-finite values as FormatGeneral writes them.
std::string FormatFixed(double v, int decimals);

// The report's form of a value: four decimals ("1234.5000") where they keep
// at least four significant digits, else the display form of seven
// significant digits ("1.35E-0005"), so a nonzero value is never printed as
// zero. From kReportFixedLimit on, where the display form itself turns to an
// exponent, the display form too ("2.3413E0009" rather than
// "2341300080.0000"). Zero is "0.0000".
inline constexpr double kReportFixedLimit = 1e7;
std::string ReportFloatStr(double v);

} // namespace kolvane
