#include "formula/NumberFormat.h"

#include "model/Errors.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace kolvane {

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

std::string_view TrimControl(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ')
        --e;
    return text.substr(b, e - b);
}

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Checks the number grammar; on success `body` is the text without a leading
// "+", ready for from_chars (which takes "-" but not "+").
bool ScanNumber(std::string_view text, std::string_view& body) {
    std::size_t i = 0, n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < n && IsDigit(text[i]))
        ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && IsDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (i < n && IsDigit(text[i]))
            ++i, ++expDigits;
        if (expDigits == 0) return false;
    }
    if (i != n) return false;
    body = (text[0] == '+') ? text.substr(1) : text;
    return true;
}

template <typename Real> std::optional<Real> ParseExact(std::string_view text) {
    std::string_view body;
    if (!ScanNumber(text, body)) return std::nullopt;
    Real v{};
    auto [ptr, ec] = std::from_chars(body.data(), body.data() + body.size(), v);
    if (ec == std::errc::result_out_of_range) {
        // Underflow to zero is harmless; overflow is not a number we can hold.
        // from_chars leaves v unchanged on range errors, so decide by the text.
        std::size_t epos = body.find_first_of("eE");
        bool negExp =
            epos != std::string_view::npos && epos + 1 < body.size() && body[epos + 1] == '-';
        if (negExp) return Real(0);
        return std::nullopt;
    }
    if (ec != std::errc() || ptr != body.data() + body.size()) return std::nullopt;
    return v;
}

template <typename Real> std::string Format(Real v, int precision, int minExpDigits) {
    if (std::isnan(v)) return "NAN";
    if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
    if (v == 0) return "0";
    // Round to `precision` digits once; the rounded exponent decides the notation.
    char buf[128];
    auto res =
        std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, precision - 1);
    std::string_view sci(buf, static_cast<std::size_t>(res.ptr - buf));
    bool negative = sci[0] == '-';
    if (negative) sci.remove_prefix(1);
    std::size_t epos = sci.find('e');
    std::string digits;
    for (char c : sci.substr(0, epos))
        if (c != '.') digits += c;
    int exponent = std::atoi(std::string(sci.substr(epos + 1)).c_str());
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent >= -4 && exponent < precision) {
        if (exponent < 0) {
            out += "0.";
            out.append(static_cast<std::size_t>(-exponent - 1), '0');
            out += digits;
        } else {
            std::size_t intDigits = static_cast<std::size_t>(exponent) + 1;
            if (digits.size() <= intDigits) {
                out += digits;
                out.append(intDigits - digits.size(), '0');
            } else {
                out += digits.substr(0, intDigits);
                out += '.';
                out += digits.substr(intDigits);
            }
        }
        return out;
    }
    out += digits[0];
    if (digits.size() > 1) {
        out += '.';
        out += digits.substr(1);
    }
    out += 'E';
    if (exponent < 0) out += '-';
    std::string e = std::to_string(exponent < 0 ? -exponent : exponent);
    if (static_cast<int>(e.size()) < minExpDigits)
        out.append(static_cast<std::size_t>(minExpDigits) - e.size(), '0');
    out += e;
    return out;
}

} // namespace

std::optional<double> ParseExactReal(std::string_view text) {
    return ParseExact<double>(text);
}

std::optional<long double> ParseExactLongReal(std::string_view text) {
    return ParseExact<long double>(text);
}

double StrToFloat(std::string_view text) {
    if (auto v = ParseExactReal(TrimControl(text))) return *v;
    throw ConvertError(std::string(text));
}

std::string FormatGeneral(double v, int precision, int minExpDigits) {
    return Format(v, precision, minExpDigits);
}

std::string FormatGeneral(long double v, int precision, int minExpDigits) {
    return Format(v, precision, minExpDigits);
}

std::string FloatToStr15(double v) {
    return FormatGeneral(v, 15, 1);
}

std::string DisplayFloatStr(std::string_view text) {
    std::size_t b = 0;
    while (b < text.size() && text[b] == ' ')
        ++b;
    if (auto v = ParseExactReal(text.substr(b))) return FormatGeneral(*v, 7, 4);
    return std::string(text);
}

std::string FormatFixed(double v, int decimals) {
    if (!std::isfinite(v)) return FormatGeneral(v, 15, 1);
    char buf[400]; // DBL_MAX has 309 integer digits
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    std::string out(buf, static_cast<std::size_t>(res.ptr - buf));
    if (out[0] == '-' && out.find_first_of("123456789") == std::string::npos) out.erase(0, 1);
    return out;
}

std::string ReportFloatStr(double v) {
    if (v == 0) return "0.0000";
    if (!std::isfinite(v) || std::fabs(v) >= kReportFixedLimit) return FormatGeneral(v, 7, 4);
    std::string fixed = FormatFixed(v, 4);
    // Below 0.1 (as rounded) four decimals keep fewer than four digits.
    const std::size_t lead = fixed[0] == '-' ? 1 : 0;
    if (fixed.compare(lead, 3, "0.0") == 0) return FormatGeneral(v, 7, 4);
    return fixed;
}

} // namespace kolvane
