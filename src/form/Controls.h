#pragma once

#include "form/Colors.h"
#include "form/Component.h"

#include <string>
#include <vector>

namespace kolvane {

// The plain controls of a window. Each is small; the quantity field and the
// unit selector, which carry the calculation's behaviour, have their own files.

class TLabel : public Component {
public:
    explicit TLabel(std::string name, std::string caption = {});
    const char* className() const override { return "TLabel"; }
    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& c);

protected:
    void listProperties(std::vector<PropertyAccess>& out) const override;

private:
    std::string caption_;
};

// A plain one-line text field; also the base of the quantity field.
class TEdit : public Component {
public:
    explicit TEdit(std::string name);
    const char* className() const override { return "TEdit"; }
    const std::string& text() const { return text_; }
    void setText(const std::string& t);
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool r);
    Color color() const { return color_; }
    void setColor(Color c);
    Color fontColor() const { return fontColor_; }
    void setFontColor(Color c);

protected:
    void listProperties(std::vector<PropertyAccess>& out) const override;
    // Runs after the text changed, before observers and the change event.
    virtual void textChanged() {}

private:
    std::string text_;
    bool readOnly_ = false;
    Color color_ = kClWindow;
    Color fontColor_ = kClWindowText;
};

// A drop-down list. Setting the index from code runs no event; a user's pick
// (Select) runs the click event, then the change event.
class TComboBox : public Component {
public:
    explicit TComboBox(std::string name, std::vector<std::string> items = {});
    const char* className() const override { return "TComboBox"; }
    const std::vector<std::string>& items() const { return items_; }
    void setItems(std::vector<std::string> items);
    int itemIndex() const { return itemIndex_; }
    // From code: no event. An index outside the list selects nothing (-1).
    void setItemIndex(int index);
    // The selected item's text, "" when nothing is selected.
    std::string text() const;
    // The user picks item `index`. Raises Error for an index outside the list.
    virtual void Select(int index);

protected:
    void listProperties(std::vector<PropertyAccess>& out) const override;

private:
    std::vector<std::string> items_;
    int itemIndex_ = -1;
};

class TCheckBox : public Component {
public:
    explicit TCheckBox(std::string name, std::string caption = {});
    const char* className() const override { return "TCheckBox"; }
    const std::string& caption() const { return caption_; }
    bool checked() const { return checked_; }
    // From code: no event.
    void setChecked(bool c);
    // The user clicks: the state toggles, then the click event runs.
    void Click();

protected:
    void listProperties(std::vector<PropertyAccess>& out) const override;

private:
    std::string caption_;
    bool checked_ = false;
};

// A multi-line text box (the comment boxes and the report page).
class TRichEdit : public Component {
public:
    explicit TRichEdit(std::string name);
    const char* className() const override { return "TRichEdit"; }
    // Lines joined by "\n".
    const std::string& text() const { return text_; }
    void setText(const std::string& t);
    std::vector<std::string> lines() const;

private:
    std::string text_;
};

// A push or speed button; `className` tells which.
class TButton : public Component {
public:
    TButton(std::string name, std::string caption, const char* className = "TSpeedButton");
    const char* className() const override { return className_; }
    const std::string& caption() const { return caption_; }
    void Click() { fire(onClick); }

private:
    std::string caption_;
    const char* className_;
};

// A group box or a page of the page control; holds other components.
class TContainer : public Component {
public:
    TContainer(std::string name, std::string caption, const char* className);
    const char* className() const override { return className_; }
    const std::string& caption() const { return caption_; }

private:
    std::string caption_;
    const char* className_;
};

} // namespace kolvane
