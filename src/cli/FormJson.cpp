#include "cli/FormJson.h"

#include "cli/Json.h"
#include "engine/FormKolvane.h"
#include "engine/NumberFormat.h"

#include <sstream>

namespace kolvane {

namespace {

void WriteEditD(JsonWriter& j, const TFormKolvane& w, const TEditD& e) {
    j.key("kind").value("EditD").key("text").value(e.text()).key("exchange").value(e.exchange());
    j.key("si");
    if (auto v = ParseExactReal(TrimControl(e.text())))
        j.value(*v * e.exchange());
    else
        j.null();
    j.key("display").value(e.FloatStr());
    j.key("color").value(static_cast<long long>(e.color()));
    j.key("readOnly").value(e.readOnly()).key("enabled").value(e.enabled());
    const TComboBoxU* u = w.selectorOf(e);
    j.key("unitIndex").value(u ? u->itemIndex() : -1);
    j.key("unit").value(u ? u->unitLabel() : std::string());
    j.key("caption").value(e.caption());
}

// Pages, group boxes and menu commands are layout, not state.
bool IsReported(const Component& c) {
    return !dynamic_cast<const TContainer*>(&c) && std::string_view(c.className()) != "TMenuItem";
}

void WriteComponent(JsonWriter& j, const TFormKolvane& w, const Component& c) {
    if (auto* e = dynamic_cast<const TEditD*>(&c)) {
        WriteEditD(j, w, *e);
    } else if (auto* l = dynamic_cast<const TComboBox*>(&c)) {
        j.key("kind").value("ComboBox").key("index").value(l->itemIndex());
        j.key("text").value(l->text()).key("enabled").value(l->enabled());
    } else if (auto* b = dynamic_cast<const TCheckBox*>(&c)) {
        j.key("kind").value("CheckBox").key("checked").value(b->checked());
        j.key("enabled").value(b->enabled());
    } else if (auto* t = dynamic_cast<const TEdit*>(&c)) {
        j.key("kind").value("Edit").key("text").value(t->text());
        j.key("enabled").value(t->enabled()).key("readOnly").value(t->readOnly());
    } else if (auto* lab = dynamic_cast<const TLabel*>(&c)) {
        j.key("kind").value("Label").key("caption").value(lab->caption());
        j.key("enabled").value(lab->enabled());
    } else if (auto* r = dynamic_cast<const TRichEdit*>(&c)) {
        j.key("kind").value("RichEdit").key("text").value(r->text());
        j.key("enabled").value(r->enabled());
    } else if (auto* btn = dynamic_cast<const TButton*>(&c)) {
        j.key("kind").value("Button").key("caption").value(btn->caption());
        j.key("enabled").value(btn->enabled());
    }
}

std::string PadRight(const std::string& s, std::size_t width) {
    std::size_t w = DisplayWidth(s);
    return w >= width ? s : s + std::string(width - w, ' ');
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
    JsonWriter j;
    j.beginObject();
    j.key("title").value(w.title());
    j.key("projectFileName").value(w.ProjectFileName());
    j.key("projectChanged").value(w.ProjectChanged());
    j.key("components").beginObject();
    for (const auto& c : w.form().components()) {
        if (!IsReported(*c)) continue;
        j.key(c->name()).beginObject();
        WriteComponent(j, w, *c);
        j.endObject();
    }
    j.endObject();
    // What the latest pass had to say besides its numbers.
    const PassReport& report = w.lastPass();
    j.key("warnings").beginArray();
    for (const auto& warning : report.warnings) {
        j.beginObject().key("field").value(warning.field).key("text").value(warning.text);
        j.endObject();
    }
    j.endArray();
    j.key("missing").beginObject();
    for (const auto& m : report.missing) {
        j.key(m.result).beginArray();
        for (const auto& f : m.fields)
            j.value(f);
        j.endArray();
    }
    j.endObject();
    j.key("errors").beginArray();
    for (const auto& p : report.problems) {
        j.beginObject().key("field").value(p.field).key("text").value(p.text);
        j.endObject();
    }
    j.endArray();
    j.endObject();
    return j.str();
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
