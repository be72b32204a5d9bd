#pragma once

#include "form/Colors.h"
#include "form/Controls.h"

#include <optional>
#include <string>

namespace kolvane {

enum class Cursor { Default, NoEntry };

// A quantity field: a one-line text holding a number in the display unit
// whose factor is Exchange (value in SI = number shown x Exchange), with an
// input look and a computed look (coloured background, read-only, no-entry
// cursor).
class TEditD : public TEdit {
public:
    explicit TEditD(std::string name);
    const char* className() const override { return "TEditD"; }

    double exchange() const { return exchange_; }
    // Keeps the SI value of a numeric text; a non-numeric text stays as it is.
    void setExchange(double factor);

    // The value in SI units; ConvertError when the trimmed text is empty or
    // not a number.
    double SIValue() const;
    // The same, or nothing when the text is empty or not a number.
    std::optional<double> SIValueOrNull() const;
    // Shows an SI value with 15 significant digits in the display unit and
    // keeps it exactly for SIValue. A non-finite value is never written:
    // MathError instead.
    void SetSIValue(double value);

    // The display form: 7 significant digits, or the text itself.
    std::string FloatStr() const;

    Cursor cursor() const { return cursor_; }
    void setCursor(Cursor c);
    bool border3d() const { return border3d_; }

    bool MyResolved() const { return myResolved_; }
    // Stores the flag, sets the 3-D border to it and turns the font blue.
    void setMyResolved(bool flag);

    // The caption label, or nullptr when none is linked or the window no
    // longer owns a label of that name.
    TLabel* MyLabel() const;
    void setMyLabel(std::string labelName) { labelName_ = std::move(labelName); }
    const std::string& myLabelName() const { return labelName_; }
    // The label's caption, or "" without a label.
    std::string caption() const;

protected:
    void listProperties(std::vector<PropertyAccess>& out) const override;
    void textChanged() override { parsed_ = false; }

private:
    // The number the text holds, parsed once per text: the recalculation
    // pass reads the same fields many times.
    mutable bool parsed_ = false;
    mutable std::optional<double> number_;
    double exchange_ = 1.0;
    Cursor cursor_ = Cursor::Default;
    bool border3d_ = true;
    bool myResolved_ = true;
    std::string labelName_;
};

// True when every field's text, taken as it is, is non-empty.
bool FieldsFilled(std::initializer_list<const TEditD*> fields);
template <typename Range> bool FieldsFilledRange(const Range& fields) {
    for (const TEditD* f : fields)
        if (f->text().empty()) return false;
    return true;
}

// Writes `value` (SI) in the computed look unless the field already shows it
// within `tolerance` (relative; absolute when the shown value is 0). Returns
// the field when it wrote, nullptr otherwise.
TEditD* PutComputedValue(TEditD& field, Color color, double value, double tolerance);

// Empties the field and restores the input look. Returns the field when it
// changed anything, nullptr when it was already empty and in the input look.
TEditD* ClearComputedField(TEditD& field);

// True when the trimmed text is empty.
bool IsBlank(const TEditD& field);

} // namespace kolvane
