#include "form/Controls.h"

#include "model/Errors.h"

namespace kolvane {

using V = PropertyValue;

TLabel::TLabel(std::string name, std::string caption)
    : Component(std::move(name)), caption_(std::move(caption)) {}

void TLabel::setCaption(const std::string& c) {
    if (c == caption_) return;
    caption_ = c;
    notify(Change::Caption);
}

void TLabel::listProperties(std::vector<PropertyAccess>& out) const {
    Component::listProperties(out);
    out.push_back({"Caption", PropertyKind::Text,
                   [](const Component& c) { return V(static_cast<const TLabel&>(c).caption()); },
                   [](Component& c, const V& v) {
                       static_cast<TLabel&>(c).setCaption(std::get<std::string>(v));
                   }});
}

TEdit::TEdit(std::string name) : Component(std::move(name)) {}

void TEdit::setText(const std::string& t) {
    if (t == text_) return;
    text_ = t;
    textChanged();
    notify(Change::Text);
    fire(onChange);
}

void TEdit::setReadOnly(bool r) {
    if (r == readOnly_) return;
    readOnly_ = r;
    notify(Change::Look);
}

void TEdit::setColor(Color c) {
    if (c == color_) return;
    color_ = c;
    notify(Change::Look);
}

void TEdit::setFontColor(Color c) {
    if (c == fontColor_) return;
    fontColor_ = c;
    notify(Change::Look);
}

void TEdit::listProperties(std::vector<PropertyAccess>& out) const {
    Component::listProperties(out);
    auto self = [](const Component& c) -> const TEdit& { return static_cast<const TEdit&>(c); };
    auto mut = [](Component& c) -> TEdit& { return static_cast<TEdit&>(c); };
    out.push_back({"Text", PropertyKind::Text,
                   [=](const Component& c) { return V(self(c).text()); },
                   [=](Component& c, const V& v) { mut(c).setText(std::get<std::string>(v)); }});
    out.push_back({"ReadOnly", PropertyKind::Enumeration,
                   [=](const Component& c) { return V(EnumFromBool(self(c).readOnly())); },
                   [=](Component& c, const V& v) { mut(c).setReadOnly(BoolFromEnum(v)); }});
    out.push_back({"Color", PropertyKind::Integer,
                   [=](const Component& c) { return V(static_cast<long long>(self(c).color())); },
                   [=](Component& c, const V& v) {
                       mut(c).setColor(static_cast<Color>(std::get<long long>(v)));
                   }});
}

TComboBox::TComboBox(std::string name, std::vector<std::string> items)
    : Component(std::move(name)), items_(std::move(items)) {}

void TComboBox::setItems(std::vector<std::string> items) {
    items_ = std::move(items);
    itemIndex_ = -1;
    notify(Change::Items);
}

void TComboBox::setItemIndex(int index) {
    if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
    if (index == itemIndex_) return;
    itemIndex_ = index;
    notify(Change::Selection);
}

std::string TComboBox::text() const {
    return itemIndex_ >= 0 ? items_[static_cast<std::size_t>(itemIndex_)] : std::string();
}

void TComboBox::Select(int index) {
    if (index < 0 || index >= static_cast<int>(items_.size()))
        throw Error("列表" + name() + "没有第" + std::to_string(index) + "项");
    setItemIndex(index);
    fire(onClick);
    fire(onChange);
}

void TComboBox::listProperties(std::vector<PropertyAccess>& out) const {
    Component::listProperties(out);
    out.push_back(
        {"ItemIndex", PropertyKind::Integer,
         [](const Component& c) {
             return V(static_cast<long long>(static_cast<const TComboBox&>(c).itemIndex()));
         },
         [](Component& c, const V& v) {
             long long i = std::get<long long>(v);
             static_cast<TComboBox&>(c).setItemIndex(i < -1 || i > 1'000'000 ? -1
                                                                             : static_cast<int>(i));
         }});
}

TCheckBox::TCheckBox(std::string name, std::string caption)
    : Component(std::move(name)), caption_(std::move(caption)) {}

void TCheckBox::setChecked(bool c) {
    if (c == checked_) return;
    checked_ = c;
    notify(Change::Checked);
}

void TCheckBox::Click() {
    setChecked(!checked_);
    fire(onClick);
}

void TCheckBox::listProperties(std::vector<PropertyAccess>& out) const {
    Component::listProperties(out);
    out.push_back(
        {"Checked", PropertyKind::Enumeration,
         [](const Component& c) {
             return V(EnumFromBool(static_cast<const TCheckBox&>(c).checked()));
         },
         [](Component& c, const V& v) { static_cast<TCheckBox&>(c).setChecked(BoolFromEnum(v)); }});
}

TRichEdit::TRichEdit(std::string name) : Component(std::move(name)) {}

void TRichEdit::setText(const std::string& t) {
    if (t == text_) return;
    text_ = t;
    notify(Change::Text);
    fire(onChange);
}

std::vector<std::string> TRichEdit::lines() const {
    std::vector<std::string> out;
    if (text_.empty()) return out;
    std::size_t start = 0;
    while (true) {
        std::size_t nl = text_.find('\n', start);
        std::string line = text_.substr(start, nl == std::string::npos ? nl : nl - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.push_back(std::move(line));
        if (nl == std::string::npos) break;
        start = nl + 1;
        if (start == text_.size()) break; // a final line break ends the last line
    }
    return out;
}

TButton::TButton(std::string name, std::string caption, const char* className)
    : Component(std::move(name)), caption_(std::move(caption)), className_(className) {}

TContainer::TContainer(std::string name, std::string caption, const char* className)
    : Component(std::move(name)), caption_(std::move(caption)), className_(className) {}

} // namespace kolvane
