#include "cli/Json.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <stdexcept>

namespace kolvane {

Json JsonNumber(double d) {
    if (!std::isfinite(d)) return nullptr;
    constexpr double kExactIntegers = 9007199254740992.0; // 2^53
    // -0 keeps its sign as a double.
    if (d == std::trunc(d) && std::fabs(d) <= kExactIntegers && !(d == 0 && std::signbit(d)))
        return static_cast<std::int64_t>(d);
    return d;
}

std::string DumpJson(const Json& j) {
    return j.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string JsonNumberText(long double v) {
    if (!std::isfinite(v)) return "null";
    double d = static_cast<double>(v);
    if (v == 0 || (std::isfinite(d) && std::fabs(d) >= DBL_MIN)) return DumpJson(JsonNumber(d));
    // Beyond the double range: overflow to infinity, or underflow to zero or
    // a subnormal, which keeps fewer digits than the value has.
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

std::string DumpWithLeadingNumber(std::string_view key, const std::string& numberText,
                                  const Json& object) {
    if (!object.is_object()) throw std::invalid_argument("DumpWithLeadingNumber needs an object");
    std::string rest = DumpJson(object); // "{}" or "{...}"
    std::string out = "{" + DumpJson(Json(std::string(key))) + ":" + numberText;
    if (rest.size() > 2) out += ',';
    out.append(rest, 1);
    return out;
}

namespace {
void DumpInto(std::string& out, const Json& j, const std::map<const Json*, std::string>& texts) {
    if (auto at = texts.find(&j); at != texts.end()) {
        out += at->second;
    } else if (j.is_object()) {
        out += '{';
        bool first = true;
        for (const auto& [key, value] : j.items()) {
            if (!first) out += ',';
            first = false;
            out += DumpJson(Json(key));
            out += ':';
            DumpInto(out, value, texts);
        }
        out += '}';
    } else if (j.is_array()) {
        out += '[';
        for (std::size_t i = 0; i < j.size(); ++i) {
            if (i) out += ',';
            DumpInto(out, j[i], texts);
        }
        out += ']';
    } else {
        out += DumpJson(j);
    }
}
} // namespace

std::string DumpWithNumberTexts(const Json& j,
                                const std::map<const Json*, std::string>& numberTexts) {
    if (numberTexts.empty()) return DumpJson(j);
    std::string out;
    DumpInto(out, j, numberTexts);
    return out;
}

} // namespace kolvane
