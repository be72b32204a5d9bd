#include "gui/EditDWidget.h"

#include "engine/EditD.h"
#include "gui/ColorMap.h"

#include <QFocusEvent>
#include <QPointer>

namespace kolvane {

EditDWidget::EditDWidget(TEditD& field, Guard guard, QWidget* parent)
    : QLineEdit(parent), field_(field), guard_(std::move(guard)) {
    setObjectName(QString::fromStdString(field.name()));
    QPointer<EditDWidget> self(this);
    field_.subscribe([self](Component&, Change c) {
        if (!self) return;
        if (c == Change::Text)
            self->showText();
        else
            self->applyLook();
    });
    connect(this, &QLineEdit::textEdited, this, [this](const QString& t) {
        pushing_ = true;
        guard_([&] { field_.setText(t.toStdString()); });
        pushing_ = false;
    });
    applyLook();
    showText();
}

void EditDWidget::showText() {
    if (pushing_) return; // the user's own typing; the widget already shows it
    const bool editing = hasFocus();
    QString want = QString::fromStdString(editing ? field_.text() : field_.FloatStr());
    if (text() != want) {
        setText(want);
        // Typing goes on at the end of the full text; the display form is
        // read from its start.
        setCursorPosition(editing ? static_cast<int>(want.size()) : 0);
    }
}

void EditDWidget::applyLook() {
    setEnabled(field_.enabled());
    setReadOnly(field_.readOnly());
    setCursor(field_.cursor() == Cursor::NoEntry ? Qt::ForbiddenCursor : Qt::IBeamCursor);
    QPalette p = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::Base, ToQColor(field_.color(), p));
    for (auto group : {QPalette::Active, QPalette::Inactive})
        p.setColor(group, QPalette::Text, ToQColor(field_.fontColor(), p));
    // A disabled field shows its display form in grey.
    p.setColor(QPalette::Disabled, QPalette::Text, ToQColor(kGrayText, p));
    setPalette(p);
}

void EditDWidget::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    showText();
}

void EditDWidget::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    // Leaving the field for another control runs its exit handler; a dialog
    // or another window taking the focus does not.
    if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason &&
        field_.onExit) {
        guard_([this] { field_.onExit(field_); });
    }
    showText();
}

} // namespace kolvane
