#include "model/Errors.h"

#include <cmath>

namespace kolvane {

std::string Abbreviate(std::string_view text, std::size_t maxChars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // A UTF-8 character starts at every byte that is not a continuation.
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (chars++ == maxChars) return std::string(text.substr(0, i)) + "…";
    }
    return std::string(text);
}

std::string ConvertError::messageFor(const std::string& text) {
    return "'" + Abbreviate(text) + "' 不是有效的数值";
}

ConvertError::ConvertError(const std::string& text) : Error(messageFor(text)) {}

void RequireFinite(double v, const char* message) {
    if (!std::isfinite(v)) throw MathError(message);
}

} // namespace kolvane
