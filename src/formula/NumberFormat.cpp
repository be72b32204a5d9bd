#include "formula/NumberFormat.h"

#include "model/Errors.h"

#include <algorithm>
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
    // Round to `precision` digits once; the rounded exponent decides the
    // notation. Built in buffers on the stack: every result of a pass is
    // written through here.
    char buf[128];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, precision - 1);
    const char* p = buf;
    const char* const end = res.ptr;
    const bool negative = *p == '-';
    if (negative) ++p;
    const char* const e = std::find(p, end, 'e');
    char digits[64];
    std::size_t nd = 0;
    for (const char* q = p; q < e && nd < sizeof digits; ++q)
        if (*q != '.') digits[nd++] = *q;
    const char* x = e + 1;
    if (x < end && *x == '+') ++x;
    int exponent = 0;
    std::from_chars(x, end, exponent);
    while (nd > 1 && digits[nd - 1] == '0')
        --nd;

    char out[160];
    std::size_t n = 0;
    auto put = [&](char c) { out[n++] = c; };
    auto putDigits = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i)
            put(digits[i]);
    };
    if (negative) put('-');
    if (exponent >= -4 && exponent < precision) {
        if (exponent < 0) {
            put('0');
            put('.');
            for (int i = 0; i < -exponent - 1; ++i)
                put('0');
            putDigits(0, nd);
        } else {
            const std::size_t intDigits = static_cast<std::size_t>(exponent) + 1;
            if (nd <= intDigits) {
                putDigits(0, nd);
                for (std::size_t i = nd; i < intDigits; ++i)
                    put('0');
            } else {
                putDigits(0, intDigits);
                put('.');
                putDigits(intDigits, nd);
            }
        }
        return std::string(out, n);
    }
    put(digits[0]);
    if (nd > 1) {
        put('.');
        putDigits(1, nd);
    }
    put('E');
    if (exponent < 0) put('-');
    char exp[16];
    const auto er = std::to_chars(exp, exp + sizeof exp, exponent < 0 ? -exponent : exponent);
    const int expDigits = static_cast<int>(er.ptr - exp);
    for (int i = expDigits; i < minExpDigits; ++i)
        put('0');
    for (const char* c = exp; c < er.ptr; ++c)
        put(*c);
    return std::string(out, n);
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
