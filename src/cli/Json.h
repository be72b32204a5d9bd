#pragma once

#include <nlohmann/json.hpp>

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

} // namespace kolvane
