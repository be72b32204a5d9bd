#pragma once

#include "form/Controls.h"

#include <string>
#include <vector>

namespace kolvane {

// Controls that the main window does not use but that the form record file
// knows by class name, so that other windows (and the file format's own
// tests) can store them: a plain memo, a check-list box, a radio group and a
// radio button.

// A multi-line plain text box; stored with the tag "Memo" instead of "Rich".
class TMemo : public TRichEdit {
public:
    using TRichEdit::TRichEdit;
    const char* className() const override { return "TMemo"; }
};

// A list of items, each with a check mark.
class TCheckListBox : public Component {
public:
    struct Item {
        std::string text;
        bool checked = false;
        bool operator==(const Item&) const = default;
    };

    explicit TCheckListBox(std::string name, std::vector<Item> items = {});
    const char* className() const override { return "TCheckListBox"; }
    const std::vector<Item>& items() const { return items_; }
    void setItems(std::vector<Item> items);
    // Replaces the text and mark of an existing item; false when there is no
    // item at `index` (items are never added this way).
    bool setItem(std::size_t index, std::string text, bool checked);

private:
    std::vector<Item> items_;
};

// A group of radio buttons: stored like a list, by its item index.
class TRadioGroup : public TComboBox {
public:
    using TComboBox::TComboBox;
    const char* className() const override { return "TRadioGroup"; }
};

// A radio button: stored like a check box, by its checked state.
class TRadioButton : public TCheckBox {
public:
    using TCheckBox::TCheckBox;
    const char* className() const override { return "TRadioButton"; }
};

} // namespace kolvane
