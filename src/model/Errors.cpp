#include "model/Errors.h"

#include <cmath>

namespace kolvane {

std::string ConvertError::messageFor(const std::string& text) {
    return "'" + text + "' is not a valid floating point value";
}

ConvertError::ConvertError(const std::string& text) : Error(messageFor(text)) {}

namespace {
std::string Joined(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines)
        s += (s.empty() ? "" : "\n") + l;
    return s;
}
} // namespace

CalculationError::CalculationError(std::vector<std::string> lines)
    : Error(Joined(lines)), lines_(std::move(lines)) {}

void RequireFinite(double v, const char* message) {
    if (!std::isfinite(v)) throw MathError(message);
}

} // namespace kolvane
