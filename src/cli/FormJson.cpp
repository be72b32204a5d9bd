#include "cli/FormJson.h"

#include "cli/Json.h"
#include "form/FormKolvane.h"
#include "formula/NumberFormat.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <optional>
#include <sstream>
#include <vector>

namespace kolvane {

namespace {

// The SI value of a field's text: the double product where it is a normal
// double (as it always was written), else the product in long double, so
// that 1E308 t (1E311 kg) or 1E-308 g is written as the number it is and
// never as null or 0. Empty when the text is no number.
std::optional<std::string> SiNumberText(const TEditD& e, Json& asDouble) {
    auto v = ParseExactReal(TrimControl(e.text()));
    if (!v) return std::nullopt;
    const double si = *v * e.exchange();
    const bool lost = !std::isfinite(si) || (si == 0 && *v != 0 && e.exchange() != 0) ||
                      (si != 0 && std::fabs(si) < DBL_MIN);
    if (!lost) {
        asDouble = JsonNumber(si);
        return std::nullopt;
    }
    // The text read again in long double, so 1E308 stays 1E308 and not the
    // double nearest to it.
    const std::string_view text = TrimControl(e.text());
    long double exact = *v;
    const char* first = text.data() + (!text.empty() && text.front() == '+' ? 1 : 0);
    std::from_chars(first, text.data() + text.size(), exact);
    return JsonNumberText(exact * e.exchange());
}

Json EditDJson(const TFormKolvane& w, const TEditD& e, std::optional<std::string>& bigSi) {
    Json j = {{"kind", "EditD"}, {"text", e.text()}, {"exchange", JsonNumber(e.exchange())}};
    Json si = nullptr;
    bigSi = SiNumberText(e, si);
    j["si"] = si; // a placeholder where bigSi holds the number
    j["display"] = e.FloatStr();
    j["color"] = static_cast<long long>(e.color());
    j["readOnly"] = e.readOnly();
    j["enabled"] = e.enabled();
    const TComboBoxU* u = w.selectorOf(e);
    j["unitIndex"] = u ? u->itemIndex() : -1;
    j["unit"] = u ? u->unitLabel() : std::string();
    j["caption"] = e.caption();
    return j;
}

// Pages, group boxes and menu commands are layout, not state.
bool IsReported(const Component& c) {
    return !dynamic_cast<const TContainer*>(&c) && std::string_view(c.className()) != "TMenuItem";
}

// The members of one component; an empty object for a kind without state
// worth reporting.
Json ComponentJson(const TFormKolvane& w, const Component& c, std::optional<std::string>& bigSi) {
    if (auto* e = dynamic_cast<const TEditD*>(&c)) return EditDJson(w, *e, bigSi);
    if (auto* l = dynamic_cast<const TComboBox*>(&c))
        return {{"kind", "ComboBox"},
                {"index", l->itemIndex()},
                {"text", l->text()},
                {"enabled", l->enabled()}};
    if (auto* b = dynamic_cast<const TCheckBox*>(&c))
        return {{"kind", "CheckBox"}, {"checked", b->checked()}, {"enabled", b->enabled()}};
    if (auto* t = dynamic_cast<const TEdit*>(&c))
        return {{"kind", "Edit"},
                {"text", t->text()},
                {"enabled", t->enabled()},
                {"readOnly", t->readOnly()}};
    if (auto* lab = dynamic_cast<const TLabel*>(&c))
        return {{"kind", "Label"}, {"caption", lab->caption()}, {"enabled", lab->enabled()}};
    if (auto* r = dynamic_cast<const TRichEdit*>(&c))
        return {{"kind", "RichEdit"}, {"text", r->text()}, {"enabled", r->enabled()}};
    if (auto* btn = dynamic_cast<const TButton*>(&c))
        return {{"kind", "Button"}, {"caption", btn->caption()}, {"enabled", btn->enabled()}};
    return Json::object();
}

bool IsComputedLook(const TEditD& e) {
    return e.readOnly() && e.color() != kClWindow && e.color() != kClBtnFace;
}

const char* LookName(const TEditD& e) {
    if (!e.enabled()) return "停用";
    if (IsComputedLook(e)) return "计算";
    if (e.readOnly()) return "结果";
    return "输入";
}

} // namespace

std::size_t DisplayWidth(std::string_view s) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < s.size();) {
        auto c = static_cast<unsigned char>(s[i]);
        std::size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : 4;
        width += len >= 3 ? 2 : 1; // CJK and full-width forms are 3-byte sequences
        i += len;
    }
    return width;
}

std::string FormToJson(const TFormKolvane& w) {
    Json components = Json::object();
    std::vector<std::pair<std::string, std::string>> bigSi; // component, number text
    for (const auto& c : w.form().components()) {
        if (!IsReported(*c)) continue;
        std::optional<std::string> big;
        components[c->name()] = ComponentJson(w, *c, big);
        if (big) bigSi.emplace_back(c->name(), *big);
    }
    // What the latest pass had to say besides its numbers.
    const PassReport& report = w.lastPass();
    Json warnings = Json::array();
    for (const auto& warning : report.warnings)
        warnings.push_back({{"field", warning.field}, {"text", warning.text}});
    Json missing = Json::object();
    for (const auto& m : report.missing) {
        // A result named twice gathers its fields under one key rather than
        // the second list replacing the first.
        Json& fields = missing[m.result];
        if (!fields.is_array()) fields = Json::array();
        for (const auto& f : m.fields)
            fields.push_back(f);
    }
    // The dynamic check of the sizing; null where it computed nothing.
    auto number = [](const std::optional<double>& v) { return v ? JsonNumber(*v) : Json(nullptr); };
    const BatchCheck& c = report.check;
    const bool ran = report.hasCheck;
    Json check = {{"areaNeeded_m2", ran ? number(c.areaNeeded) : Json(nullptr)},
                  {"tActual_s", ran ? number(c.tActual) : Json(nullptr)},
                  {"tTheoretical_s", ran ? number(c.tTheoretical) : Json(nullptr)},
                  {"ratio", number(report.checkRatio())}};
    Json errors = Json::array();
    for (const auto& p : report.problems)
        errors.push_back({{"field", p.field}, {"text", p.text}});
    Json j = {{"title", w.title()},
              {"projectFileName", w.ProjectFileName()},
              {"projectChanged", w.ProjectChanged()},
              {"components", std::move(components)},
              {"warnings", std::move(warnings)},
              {"missing", std::move(missing)},
              {"check", std::move(check)},
              {"errors", std::move(errors)}};
    std::map<const Json*, std::string> numbers;
    for (const auto& [name, text] : bigSi)
        numbers[&j["components"][name]["si"]] = text;
    return DumpWithNumberTexts(j, numbers);
}

std::string PadRight(const std::string& s, std::size_t width) {
    std::size_t w = DisplayWidth(s);
    return w >= width ? s : s + std::string(width - w, ' ');
}

std::string FieldsTable(const TFormKolvane& w) {
    std::ostringstream out;
    out << PadRight("名称", 14) << PadRight("字段", 9) << PadRight("数值", 16)
        << PadRight("单位", 16) << "状态\n";
    for (const auto& c : w.form().components()) {
        auto* e = dynamic_cast<const TEditD*>(c.get());
        if (!e) continue;
        const TComboBoxU* u = w.selectorOf(*e);
        out << PadRight(e->caption(), 14) << PadRight(e->name(), 9) << PadRight(e->FloatStr(), 16)
            << PadRight(u ? u->unitLabel() : "", 16) << LookName(*e) << '\n';
    }
    return out.str();
}

} // namespace kolvane
