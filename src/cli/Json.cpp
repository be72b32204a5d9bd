#include "cli/Json.h"

#include <cmath>

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

} // namespace kolvane
