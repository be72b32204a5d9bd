#include "engine/Errors.h"

#include <cmath>

namespace kolvane {

std::string ConvertError::messageFor(const std::string& text) {
    return "'" + text + "' is not a valid floating point value";
}

ConvertError::ConvertError(const std::string& text) : Error(messageFor(text)) {}

void RequireFinite(double v, const char* message) {
    if (!std::isfinite(v)) throw MathError(message);
}

} // namespace kolvane
