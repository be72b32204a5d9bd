#pragma once

#include <nlohmann/json.hpp>

#include <map>
#include <string>
#include <string_view>

namespace kolvane {

// The CLI's machine-readable output. Members keep the order they are added
// in, so the objects read like the window: title first, components in form
// order.
using Json = nlohmann::ordered_json;

// A double as a JSON value: null when it is not finite; an integral value
// that a double holds exactly (up to 2^53) as an integer, so 60 stays "60"
// rather than "60.0"; any other value as the shortest text that reads back
// as the same double.
Json JsonNumber(double d);

// One line of JSON. UTF-8 passes through unescaped; a byte sequence that is
// not UTF-8 (an argument typed in another encoding) becomes U+FFFD, so the
// output stays valid JSON instead of the dump throwing.
std::string DumpJson(const Json& j);

// The JSON number text of an evaluator result. A value that a double holds
// (zero, or a normal double after rounding) is written as JsonNumber writes
// it. A finite value beyond the double range, above about 1.8E308 or below
// about 2.2E-308 in magnitude, is written with the shortest digits that read
// back as the same long double ("1e+400"): JSON numbers have no range, and
// turning 1E400 into null or 1E-400 into 0 would report a valid result
// wrongly. A value that is not finite is "null".
std::string JsonNumberText(long double v);

// `object` (a JSON object) written with the member `key`: `numberText` in
// front of its own members. nlohmann::json has no value type for a number
// text, so the member is joined to the dump.
std::string DumpWithLeadingNumber(std::string_view key, const std::string& numberText,
                                  const Json& object);

// `j` written as DumpJson writes it, except that each value whose address
// is a key of `numberTexts` (a placeholder inside `j`) is written as the
// number text mapped to it: the way to put JsonNumberText's numbers beyond
// the double range anywhere in a document.
std::string DumpWithNumberTexts(const Json& j,
                                const std::map<const Json*, std::string>& numberTexts);

} // namespace kolvane
