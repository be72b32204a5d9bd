#include "form/ListControls.h"

namespace kolvane {

TCheckListBox::TCheckListBox(std::string name, std::vector<Item> items)
    : Component(std::move(name)), items_(std::move(items)) {}

void TCheckListBox::setItems(std::vector<Item> items) {
    if (items == items_) return;
    items_ = std::move(items);
    notify(Change::Items);
}

bool TCheckListBox::setItem(std::size_t index, std::string text, bool checked) {
    if (index >= items_.size()) return false;
    Item& it = items_[index];
    if (it.text == text && it.checked == checked) return true;
    it.text = std::move(text);
    it.checked = checked;
    notify(Change::Items);
    return true;
}

} // namespace kolvane
