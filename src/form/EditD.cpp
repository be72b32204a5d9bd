#include "form/EditD.h"

#include "form/Controls.h"
#include "form/Form.h"
#include "formula/NumberFormat.h"
#include "model/Errors.h"

#include <cmath>

namespace kolvane {

TEditD::TEditD(std::string name) : TEdit(std::move(name)) {
    // A new field may receive solved values; the flag also sets the border
    // and the blue font, which the window's layout then overrides.
    setMyResolved(true);
}

void TEditD::setExchange(double factor) {
    std::string_view trimmed = TrimControl(text());
    if (!trimmed.empty()) {
        if (auto v = ParseExactReal(trimmed)) {
            double shown = *v * exchange_ / factor;
            RequireFinite(shown, "单位换算结果溢出");
            exchange_ = factor;
            setText(FloatToStr15(shown));
            return;
        }
    }
    exchange_ = factor;
}

std::optional<double> TEditD::SIValueOrNull() const {
    if (!parsed_) {
        number_ = ParseExactReal(TrimControl(text()));
        parsed_ = true;
    }
    if (!number_) return std::nullopt;
    return *number_ * exchange_;
}

double TEditD::SIValue() const {
    auto v = SIValueOrNull();
    if (!v) throw ConvertError(text());
    return *v;
}

void TEditD::SetSIValue(double value) {
    double shown = value / exchange_;
    RequireFinite(shown, "计算结果不是有限数值，可能是输入数据错误");
    setText(FloatToStr15(shown));
    // The field keeps the number it was given: the next pass reads it back
    // without parsing the text (which holds it to 15 digits) again.
    number_ = shown;
    parsed_ = true;
}

std::string TEditD::FloatStr() const {
    return DisplayFloatStr(text());
}

void TEditD::setCursor(Cursor c) {
    if (c == cursor_) return;
    cursor_ = c;
    notify(Change::Look);
}

void TEditD::setMyResolved(bool flag) {
    myResolved_ = flag;
    border3d_ = flag;
    setFontColor(kBlue);
    notify(Change::Look);
}

TLabel* TEditD::MyLabel() const {
    if (labelName_.empty() || !owner()) return nullptr;
    return owner()->findAs<TLabel>(labelName_);
}

std::string TEditD::caption() const {
    TLabel* l = MyLabel();
    return l ? l->caption() : std::string();
}

void TEditD::listProperties(std::vector<PropertyAccess>& out) const {
    TEdit::listProperties(out);
    using V = PropertyValue;
    auto self = [](const Component& c) -> const TEditD& { return static_cast<const TEditD&>(c); };
    auto mut = [](Component& c) -> TEditD& { return static_cast<TEditD&>(c); };
    out.push_back({"Exchange", PropertyKind::Float,
                   [=](const Component& c) { return V(self(c).exchange()); },
                   [=](Component& c, const V& v) { mut(c).setExchange(std::get<double>(v)); }});
    out.push_back({"MyResolved", PropertyKind::Enumeration,
                   [=](const Component& c) { return V(EnumFromBool(self(c).MyResolved())); },
                   [=](Component& c, const V& v) { mut(c).setMyResolved(BoolFromEnum(v)); }});
}

bool FieldsFilled(std::initializer_list<const TEditD*> fields) {
    return FieldsFilledRange(fields);
}

bool IsBlank(const TEditD& field) {
    return TrimControl(field.text()).empty();
}

TEditD* PutComputedValue(TEditD& field, Color color, double value, double tolerance) {
    RequireFinite(value, "计算结果不是有限数值，可能是输入数据错误");
    // A text that is no number is overwritten like an empty one.
    if (auto shown = field.SIValueOrNull()) {
        double old = *shown;
        double d = old == 0 ? std::fabs(value - old) : std::fabs((value - old) / old);
        if (d < tolerance) return nullptr;
    }
    field.SetSIValue(value);
    field.setColor(color);
    field.setReadOnly(true);
    field.setCursor(Cursor::NoEntry);
    return &field;
}

TEditD* ClearComputedField(TEditD& field) {
    if (field.text().empty() && field.color() == kClWindow) return nullptr;
    field.setText("");
    field.setColor(kClWindow);
    field.setReadOnly(false);
    field.setCursor(Cursor::Default);
    return &field;
}

} // namespace kolvane
