#pragma once

#include <QLineEdit>
#include <functional>

namespace kolvane {

class TEditD;

// Runs a handler at the event boundary (see RunGuarded).
using Guard = std::function<void(const std::function<void()>&)>;

// The quantity edit: shows the display form when it does not have the focus
// and the raw text while the user types; colours, read-only flag, cursor and
// enabled state follow the field.
class EditDWidget : public QLineEdit {
    Q_OBJECT
public:
    EditDWidget(TEditD& field, Guard guard, QWidget* parent = nullptr);
    TEditD& field() const { return field_; }

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void showText();
    void applyLook();

    TEditD& field_;
    Guard guard_;
    bool pushing_ = false;
};

} // namespace kolvane
