// The validity range stated in a property record's note.
#include "props/ValidityRange.h"

#include "formula/NumberFormat.h"

#include <initializer_list>
#include <vector>

namespace kolvane {

namespace {

std::vector<std::string_view> Split(std::string_view s,
                                    std::initializer_list<std::string_view> seps) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (std::size_t i = 0; i < s.size();) {
        std::size_t len = 0;
        for (std::string_view sep : seps)
            if (s.substr(i).starts_with(sep)) len = sep.size();
        if (len == 0) {
            ++i;
            continue;
        }
        pieces.push_back(s.substr(start, i - start));
        i += len;
        start = i;
    }
    pieces.push_back(s.substr(start));
    return pieces;
}

struct Number {
    double value;
    std::string text; // as written, for the message
};

// Reads tokens from the front of a piece of the note.
struct Cursor {
    std::string_view s;

    void blanks() {
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
            s.remove_prefix(1);
    }
    bool eat(std::string_view token, bool ignoreCase = false) {
        blanks();
        if (s.size() < token.size()) return false;
        const std::string_view head = s.substr(0, token.size());
        if (ignoreCase ? !EqualsIgnoreAsciiCase(head, token) : head != token) return false;
        s.remove_prefix(token.size());
        return true;
    }
    bool done() {
        blanks();
        return s.empty();
    }
    // A plain decimal number: sign, digits, point, digits; no exponent, so
    // that "1E" of a remark is never read as one.
    std::optional<Number> number() {
        blanks();
        std::size_t n = 0;
        if (n < s.size() && (s[n] == '-' || s[n] == '+')) ++n;
        while (n < s.size() && ((s[n] >= '0' && s[n] <= '9') || s[n] == '.'))
            ++n;
        const std::optional<double> v = ParseExactReal(s.substr(0, n));
        if (!v) return std::nullopt;
        Number out{*v, std::string(s.substr(0, n))};
        s.remove_prefix(n);
        return out;
    }
    bool tilde() { return eat("~") || eat("～"); }
    bool celsius() { return eat("°C") || eat("℃") || eat("C"); }
    // The factor to kPa and the unit's name.
    std::optional<std::pair<double, const char*>> pressureUnit() {
        if (eat("kPa", true)) return std::pair{1.0, "kPa"};
        if (eat("MPa", true)) return std::pair{1000.0, "MPa"};
        return std::nullopt;
    }
};

struct Part {
    bool pressure = false;
    std::optional<double> lo, hi;
    std::string text;
};

std::optional<Part> ParsePart(std::string_view text) {
    Cursor c{text};
    if (c.eat("≤") || c.eat("<=")) {
        const auto n = c.number();
        const auto unit = n ? c.pressureUnit() : std::nullopt;
        if (!n || !unit || !c.done() || !(n->value > 0)) return std::nullopt;
        return Part{true, std::nullopt, n->value * unit->first, "≤" + n->text + " " + unit->second};
    }
    const auto lo = c.number();
    if (!lo) return std::nullopt;
    if (const auto loUnit = c.pressureUnit()) {
        if (!c.tilde()) return std::nullopt;
        const auto hi = c.number();
        const auto hiUnit = hi ? c.pressureUnit() : std::nullopt;
        if (!hi || !hiUnit || !c.done()) return std::nullopt;
        const double from = lo->value * loUnit->first, to = hi->value * hiUnit->first;
        if (!(from >= 0 && from <= to)) return std::nullopt;
        return Part{true, from, to,
                    lo->text + " " + loUnit->second + "~" + hi->text + " " + hiUnit->second};
    }
    if (!c.tilde()) return std::nullopt;
    const auto hi = c.number();
    if (!hi || !c.celsius() || !c.done()) return std::nullopt;
    if (!(lo->value >= -273.15 && lo->value <= hi->value)) return std::nullopt;
    return Part{false, lo->value, hi->value, lo->text + "~" + hi->text + " °C"};
}

} // namespace

std::optional<ValidityRange> ParseValidityRange(std::string_view note) {
    std::optional<ValidityRange> found;
    for (std::string_view piece : Split(note, {";", "；"})) {
        const std::vector<std::string_view> parts = Split(piece, {",", "，"});
        if (parts.size() > 2) continue;
        ValidityRange range;
        bool ok = true, haveT = false, haveP = false;
        for (std::string_view text : parts) {
            const std::optional<Part> part = ParsePart(text);
            bool& have = part && part->pressure ? haveP : haveT;
            if (!part || have) {
                ok = false;
                break;
            }
            have = true;
            if (part->pressure) {
                range.pMin = part->lo;
                range.pMax = part->hi;
                range.pressureText = part->text;
            } else {
                range.tMin = part->lo;
                range.tMax = part->hi;
                range.temperatureText = part->text;
            }
        }
        if (ok) found = std::move(range);
    }
    return found;
}

std::string OutsideValidityRange(const ValidityRange& range, std::optional<double> tC,
                                 std::optional<double> pKPa) {
    auto outside = [](std::optional<double> x, std::optional<double> lo, std::optional<double> hi) {
        return x && ((lo && *x < *lo) || (hi && *x > *hi));
    };
    std::string why;
    if (outside(tC, range.tMin, range.tMax)) why = range.temperatureText;
    if (outside(pKPa, range.pMin, range.pMax))
        why += (why.empty() ? "" : "、") + range.pressureText;
    return why;
}

} // namespace kolvane
