// Evaluating the property texts of the library.
#include "props/PropFormulas.h"

#include "formula/FormulaParser.h"
#include "formula/MyValues.h"
#include "formula/NumberFormat.h"
#include "model/Errors.h"
#include "model/Iapws97.h"

#include <cmath>

namespace kolvane {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

void ReplaceAll(std::string& s, std::string_view from, std::string_view to) {
    for (std::size_t p = s.find(from); p != std::string::npos; p = s.find(from, p + to.size()))
        s.replace(p, from.size(), to);
}

// A number as the platform converts it: blanks around it allowed.
double Number(std::string_view piece) {
    return StrToFloat(piece);
}

PropertyResult Failed(std::string message) {
    PropertyResult r;
    r.kind = PropertyResult::Failed;
    r.message = std::move(message);
    return r;
}

// Every property of the library is a positive quantity; anything else is a
// fault of the text, not a value to show.
PropertyResult Checked(double v) {
    if (!std::isfinite(v)) return Failed("计算结果不是有限数值");
    if (!(v > 0)) return Failed("计算结果" + FloatToStr15(v) + "不是正数");

    PropertyResult r;
    r.kind = PropertyResult::Value;
    r.value = v;
    return r;
}

// Water and steam from IAPWS-IF97 for one of its keys.
PropertyResult Iapws97Value(std::string_view key, std::string_view name, double t, double p,
                            bool vapourSide) {
    const bool cp = EqualsIgnoreAsciiCase(name, "CP"), md = EqualsIgnoreAsciiCase(name, "MD"),
               vi = EqualsIgnoreAsciiCase(name, "VI"), tc = EqualsIgnoreAsciiCase(name, "TC"),
               st = EqualsIgnoreAsciiCase(name, "ST"), hv = EqualsIgnoreAsciiCase(name, "HV");
    auto of = [&](const if97::State& s) -> PropertyResult {
        if (cp) return Checked(s.cp);
        if (md) return Checked(s.rho);
        if (vi) return Checked(if97::Viscosity(s.rho, s.T));
        if (tc) return Checked(if97::ThermalConductivity(s)); // with the critical enhancement
        return Failed("IF97不能计算此物性");
    };
    if (key == kKeyWater) {
        if (st) return Checked(if97::SurfaceTensionAtC(t));
        if (hv) return Checked(if97::SaturationAtC(t).hLatent);
        return of(if97::StateAtCKPa(t, p));
    }
    const if97::Saturation sat = if97::SaturationAtKPa(p);
    if (st) return Checked(if97::SurfaceTension(sat.T));
    if (hv) return Checked(sat.hLatent);
    const bool vapour = key == kKeySaturatedVapour || (key == kKeySaturated && vapourSide);
    return of(vapour ? sat.vapour : sat.liquid);
}

bool IsIapws97Key(std::string_view key) {
    return key == kKeyWater || key == kKeySaturated || key == kKeySaturatedLiquid ||
           key == kKeySaturatedVapour;
}

// A gas's density from an equation of state is only a gas density where the
// equation finds the gas stable: below the saturation pressure, or above Tc.
PropertyResult RefusedAsLiquid(const CorrelationVector& v) {
    PropertyResult r;
    r.kind = PropertyResult::Refused;
    r.message = "在" + FloatToStr15(v[8]) + " °C、" + FloatToStr15(v[7]) + " kPa下为液相";
    return r;
}

} // namespace

std::string_view PropertyTextBody(std::string_view text) {
    std::string_view s = Trim(text);
    for (char mark : {'?', '<', '{'})
        if (const std::size_t at = s.find(mark); at != std::string_view::npos)
            s = Trim(s.substr(0, at));
    if (const std::size_t at = s.find('='); at != std::string_view::npos)
        s = Trim(s.substr(at + 1));
    return s;
}

bool IsEquationOfStateText(std::string_view text) {
    const std::string_view s = PropertyTextBody(text);
    if (s.find("PARAMS:") != std::string_view::npos) return false;
    const std::size_t colon = s.find(':');
    return colon != std::string_view::npos && colon <= 8 && !IsIapws97Key(s.substr(0, colon));
}

bool IsSaturatedText(std::string_view text) {
    const std::string_view s = PropertyTextBody(text);
    const std::size_t colon = s.find(':');
    if (colon == std::string_view::npos) return false;
    const std::string_view key = s.substr(0, colon);
    return key == kKeySaturated || key == kKeySaturatedLiquid || key == kKeySaturatedVapour;
}

void SplitText(std::string_view text, char separator,
               std::array<std::string, kMaxTextSlots>& slots) {
    for (auto& s : slots)
        s.clear();
    std::size_t slot = 1;
    while (!text.empty() && slot < slots.size()) {
        const std::size_t at = text.find(separator);
        slots[slot++] = std::string(text.substr(0, at));
        text = at == std::string_view::npos ? std::string_view() : text.substr(at + 1);
    }
}

void SplitNumbers(std::string_view text, char separator, CorrelationVector& slots) {
    std::size_t slot = 1;
    while (!text.empty()) {
        if (slot >= slots.size()) throw Error("数值多于20个");
        const std::size_t at = text.find(separator);
        slots[slot++] = Number(text.substr(0, at));
        text = at == std::string_view::npos ? std::string_view() : text.substr(at + 1);
    }
}

double LagrangeValue(const std::vector<TablePoint>& points, double x) {
    const std::size_t n = points.size();
    if (n == 0) throw Error("表格没有数据点");
    std::size_t first = 0, last = n - 1;
    if (n > 4) {
        std::size_t i = 0;
        while (i < n && !(x <= points[i].x))
            ++i;
        if (i >= n) {
            first = n - 4;
        } else if (i < 2) {
            first = 0;
        } else if (i + 1 > n - 1) {
            first = n - 4;
        } else {
            first = i - 2;
        }
        last = first + 3;
    }
    double sum = 0;
    for (std::size_t k = first; k <= last; ++k) {
        double term = points[k].y;
        for (std::size_t j = first; j <= last; ++j) {
            if (j == k) continue;
            const double d = points[k].x - points[j].x;
            if (d == 0) throw Error("表格中温度重复");
            term *= (x - points[j].x) / d;
        }
        sum += term;
    }
    return sum;
}

double TableValue(std::string_view s, double x) {
    if (s.find(';') != std::string_view::npos) {
        std::vector<TablePoint> points;
        while (!s.empty()) {
            const std::size_t at = s.find(';');
            std::string_view pair = s.substr(0, at);
            s = at == std::string_view::npos ? std::string_view() : s.substr(at + 1);
            if (Trim(pair).empty() && s.empty()) break; // a trailing ";"
            if (points.size() >= kMaxTablePoints) throw Error("表格多于100个数据点");
            const std::size_t comma = pair.find(',');
            if (comma == std::string_view::npos) throw ConvertError(std::string(pair));
            points.push_back({Number(pair.substr(0, comma)), Number(pair.substr(comma + 1))});
        }
        return LagrangeValue(points, x);
    }
    if (const std::size_t comma = s.find(','); comma != std::string_view::npos)
        return Number(s.substr(comma + 1));
    return Number(s);
}

std::string RewritePropertyExpression(std::string s,
                                      const std::array<std::string, kMaxTextSlots>& e,
                                      const CorrelationVector& vector) {
    if (s.find("PRRCP") != std::string::npos)
        ReplaceAll(s, "PRRCP", FloatToStr15(PRResidualCp(vector)));
    if (s.find("VRRCP") != std::string::npos)
        ReplaceAll(s, "VRRCP", FloatToStr15(VirialResidualCp(vector)));
    auto present = [&e](std::size_t n) { return !e[n].empty(); };
    if (present(1)) {
        ReplaceAll(s, "Pc", "(1.0E3*" + e[1] + ")");
        ReplaceAll(s, "Pr", "(p/" + e[1] + ")");
    }
    if (present(2)) {
        ReplaceAll(s, "Tc", e[2]);
        ReplaceAll(s, "Tr", "((t+273.15)/" + e[2] + ")");
    }
    if (present(3)) {
        ReplaceAll(s, "Vc", "(1.0E-6*" + e[3] + ")");
        ReplaceAll(s, "Vr", "(V/(1.0E6*" + e[3] + "))");
    }
    if (present(4)) {
        ReplaceAll(s, "Zc", e[4]);
        ReplaceAll(s, "Zr", "(Z/" + e[4] + ")");
    }
    if (present(5)) ReplaceAll(s, "w", e[5]);
    if (present(6)) ReplaceAll(s, "M", e[6]);
    if (present(7)) ReplaceAll(s, "B", e[7]);
    ReplaceAll(s, "T", "(t+273.15)");
    ReplaceAll(s, "P", "(1.0E3*p)");
    ReplaceAll(s, "R", "8.314");
    return s;
}

PropertyResult EvaluatePropertyText(std::string_view text, std::string_view name, bool liquid,
                                    TMyValues& grid, bool vapourSide) {
    const std::string t = grid.ValueByName("t");
    if (t.empty()) {
        PropertyResult r;
        r.kind = PropertyResult::NoTemperature;
        r.message = "请指定温度！";
        return r;
    }
    const std::string_view s = PropertyTextBody(text);
    if (s.empty()) return {};

    // The grid's p and t by position, as the number lists append them.
    const std::vector<std::string> values = grid.Values();
    const std::string p = values.size() > 2 ? values[2] : std::string();
    const std::string tByRow = values.size() > 1 ? values[1] : std::string();

    try {
        std::array<std::string, kMaxTextSlots> entries;
        CorrelationVector vector{};
        std::string formula(s);
        if (const std::size_t at = formula.find("PARAMS:"); at != std::string::npos) {
            const std::string list(Trim(std::string_view(formula).substr(at + 7)));
            formula = std::string(Trim(std::string_view(formula).substr(0, at)));
            SplitText(list, ',', entries);
            SplitNumbers(list + "," + p + "," + tByRow, ',', vector);
        }

        // A method key: a short name and ":" at position 1 to 9.
        if (const std::size_t colon = formula.find(':'); colon != std::string::npos && colon <= 8) {
            const std::string key = formula.substr(0, colon);
            if (IsIapws97Key(key)) {
                if (p.empty()) return Failed("请指定压力");
                return Iapws97Value(key, name, Number(t), Number(p), vapourSide);
            }
            vector[0] = key == "VRV" ? 1 : 0;
            SplitNumbers(formula.substr(colon + 1) + "," + p + "," + tByRow, ',', vector);
            if (name == "MD" && !liquid &&
                (vector[0] == 1 ? VirialPhase(vector) : PRPhase(vector)) == EosPhase::Liquid)
                return RefusedAsLiquid(vector);
            if (name == "MD")
                return Checked(vector[0] == 1 ? VirialDensity(vector, liquid)
                                              : PRDensity(vector, liquid));
            if (name == "VI" && vector[0] == 0) return Checked(PRViscosity(vector, liquid));
            if (name == "TC" && vector[0] == 0) return Checked(PRConductivity(vector, liquid));
            return Failed("方法" + key + "不能计算此物性");
        }

        if (formula.empty()) return {};
        if (formula.find(',') != std::string::npos || ParseExactReal(Trim(formula)))
            return Checked(TableValue(formula, Number(t)));

        if (formula.find("PRRCP") != std::string::npos ||
            formula.find("VRRCP") != std::string::npos) {
            if (entries[1].empty()) return Failed("PRRCP/VRRCP需要PARAMS:给出临界常数");
        }
        const std::string rewritten = RewritePropertyExpression(formula, entries, vector);
        // The parser empties the grid for a formula without variables, which
        // would take t and p from every later property: it works on a copy,
        // and only the variables it adds come back to the user's grid.
        TMyValues scratch = grid;
        TFormulaParser parser;
        const long double v = parser.EvaluateWithValues(rewritten, &scratch);
        const std::vector<std::string> known = grid.Names();
        for (int row = 1; row < scratch.RowCount(); ++row) {
            const std::string& n = scratch.Cell(row, TMyValues::kColName);
            bool have = false;
            for (const auto& k : known)
                have = have || EqualsIgnoreAsciiCase(k, n);
            if (!n.empty() && !have) grid.AddParam(n, "", "", "");
        }
        if (parser.ErrorCode() != kFpOk)
            return Failed("公式错误（" + std::to_string(parser.ErrorCode()) + "）：" +
                          parser.ErrorMessage());
        return Checked(static_cast<double>(v));
    } catch (const Error& e) {
        return Failed(e.what());
    }
}

} // namespace kolvane
