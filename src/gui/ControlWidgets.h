#pragma once

#include "gui/EditDWidget.h"

#include <QComboBox>

namespace kolvane {

class Component;
class TComboBox;

// A list or unit selector bound to its component. Items show their label
// only; the bar and the value stay in the component.
class ListWidget : public QComboBox {
    Q_OBJECT
public:
    ListWidget(TComboBox& list, Guard guard, QWidget* parent = nullptr);

protected:
    void focusOutEvent(QFocusEvent* e) override;
    // The wheel scrolls the page under a closed box; it does not change the
    // choice, which would happen unseen while the user scrolls the page.
    void wheelEvent(QWheelEvent* e) override;

private:
    void reload();
    TComboBox& list_;
    Guard guard_;
};

// Creates the widget for a plain control (label, text field, check box,
// rich text, button) bound both ways to its component; nullptr for a kind
// that has no widget of its own.
QWidget* CreateControlWidget(Component& c, const Guard& guard, QWidget* parent);

// Enabled state and hint follow the component.
void BindCommon(Component& c, QWidget* w);

} // namespace kolvane
