#pragma once

#include "engine/MainFormTables.h"
#include "form/Controls.h"

#include <string>
#include <string_view>

namespace kolvane {

class TEditD;

// The unit selector beside a quantity field. Each item is a label, blanks,
// "|" and the factor to SI; picking an item gives the associated field that
// factor, so the field keeps its SI value and only the number shown changes.
class TComboBoxU : public TComboBox {
public:
    TComboBoxU(std::string name, std::vector<std::string> items);
    const char* className() const override { return "TComboBoxU"; }

    TEditD* Associated() const { return associated_; }
    void setAssociated(TEditD* field) { associated_ = field; }

    // The user picks an item: the list's own events, then the unit change.
    void Select(int index) override;
    // After the window is loaded: the first item, and its factor to the field.
    void Loaded();

    // The label of the selected item (text before the blanks and the bar).
    std::string unitLabel() const;

private:
    void applyFactor();
    TEditD* associated_ = nullptr;
};

// Reads the value after the first "|" of an item (at most `maxChars`
// characters, blanks around it ignored). ConvertError when it is no number.
double ItemValue(std::string_view item, std::size_t maxChars = 50);
// The label part of an item: the text before the "|", trailing blanks removed.
std::string ItemLabel(std::string_view item);
// Builds an item: label, blanks past the visible width, "|", value.
std::string MakeItem(std::string_view label, std::string_view value);
// The item text of a unit of the window's tables (label, blanks, bar, factor).
std::string UnitItemText(const UnitItem& u);

} // namespace kolvane
