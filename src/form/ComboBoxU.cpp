#include "form/ComboBoxU.h"

#include "form/EditD.h"
#include "formula/NumberFormat.h"
#include "model/Errors.h"

namespace kolvane {

double ItemValue(std::string_view item, std::size_t maxChars) {
    std::size_t bar = item.find('|');
    std::string_view rest =
        bar == std::string_view::npos ? std::string_view() : item.substr(bar + 1);
    return StrToFloat(rest.substr(0, maxChars));
}

std::string ItemLabel(std::string_view item) {
    std::string_view label = item.substr(0, item.find('|'));
    while (!label.empty() && label.back() == ' ')
        label.remove_suffix(1);
    return std::string(label);
}

std::string MakeItem(std::string_view label, std::string_view value) {
    // The blanks push the bar and the value beyond the visible width.
    std::string s(label);
    s.append(35, ' ');
    s += '|';
    s += value;
    return s;
}

std::string UnitItemText(const UnitItem& u) {
    return MakeItem(u.label, u.factor);
}

TComboBoxU::TComboBoxU(std::string name, std::vector<std::string> items)
    : TComboBox(std::move(name), std::move(items)) {}

void TComboBoxU::applyFactor() {
    if (!associated_ || itemIndex() < 0) return;
    // Convert first: a bad factor leaves the field's factor and text alone.
    double f = ItemValue(text());
    associated_->setExchange(f);
}

void TComboBoxU::Select(int index) {
    TComboBox::Select(index);
    applyFactor();
}

void TComboBoxU::Loaded() {
    if (items().empty()) return;
    setItemIndex(0);
    applyFactor();
}

std::string TComboBoxU::unitLabel() const {
    return ItemLabel(text());
}

} // namespace kolvane
