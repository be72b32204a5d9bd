#include "gui/EditDWidget.h"

#include "form/EditD.h"
#include "gui/ColorMap.h"

#include <QApplication>
#include <QFocusEvent>
#include <QPainter>
#include <QPointer>

namespace kolvane {

namespace {
// Set while a FocusReturn lives.
bool returningFocus = false;
} // namespace

bool ExitRunsOn(const QFocusEvent* e) {
    return !returningFocus && e->reason() != Qt::ActiveWindowFocusReason &&
           e->reason() != Qt::PopupFocusReason;
}

FocusReturn::FocusReturn() : outer_(returningFocus) {
    returningFocus = true;
}

FocusReturn::~FocusReturn() {
    returningFocus = outer_;
}

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
        // Typing goes on at the end of the full text; the display form, and
        // the full text of a result that cannot be typed in, are read from
        // their start.
        setCursorPosition(editing && !isReadOnly() ? static_cast<int>(want.size()) : 0);
    }
}

void EditDWidget::applyLook() {
    setEnabled(field_.enabled());
    const bool wasReadOnly = isReadOnly();
    setReadOnly(field_.readOnly());
    // Tab and Enter pass over results; a click still puts the cursor there,
    // so that the clear command can act on the field the user pointed at.
    setFocusPolicy(field_.readOnly() ? Qt::ClickFocus : Qt::StrongFocus);
    // A result shown while the cursor is in it starts at its first digit.
    if (isReadOnly() && !wasReadOnly && hasFocus()) home(false);
    setCursor(field_.cursor() == Cursor::NoEntry ? Qt::ForbiddenCursor : Qt::IBeamCursor);
    // System colours are the style's, not whatever this edit showed last: a
    // result emptied back to the window colour must not keep its old one.
    const QPalette system = QApplication::palette(this);
    QPalette p = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::Base, ToQColor(field_.color(), system));
    for (auto group : {QPalette::Active, QPalette::Inactive})
        p.setColor(group, QPalette::Text, ToQColor(field_.fontColor(), system));
    // A disabled field shows its display form in grey.
    p.setColor(QPalette::Disabled, QPalette::Text, ToQColor(kGrayText, system));
    setPalette(p);
}

void EditDWidget::setMark(Mark mark, const QString& text) {
    const QString hint = property("hint").toString();
    QString tip = text;
    if (mark == Mark::None)
        tip = hint;
    else if (!hint.isEmpty())
        tip += QLatin1Char('\n') + hint;
    setToolTip(tip);
    if (mark == mark_) return;
    mark_ = mark;
    update();
}

QColor EditDWidget::frameColor(Mark mark) {
    switch (mark) {
    case Mark::Missing:
        return QColor(40, 110, 220);
    case Mark::Warning:
        return QColor(235, 150, 0);
    case Mark::Problem:
        return QColor(215, 0, 0);
    case Mark::None:
        break;
    }
    return {};
}

void EditDWidget::paintEvent(QPaintEvent* e) {
    QLineEdit::paintEvent(e);
    if (mark_ == Mark::None) return;
    // Drawn over the style's frame rather than set by a style sheet: a sheet
    // that gives a line edit a border makes some styles drop the palette's
    // base colour, and that colour says which fields were computed.
    QPainter p(this);
    QPen pen(frameColor(mark_), 2);
    // An empty input that is still needed is not wrong: a dashed frame.
    if (mark_ == Mark::Missing) pen.setStyle(Qt::DashLine);
    p.setPen(pen);
    p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

void EditDWidget::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    showText();
    // The full text of a result is longer than the field: show where it
    // begins, not where it ends.
    if (isReadOnly() && e->reason() != Qt::MouseFocusReason) home(false);
}

void EditDWidget::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    if (ExitRunsOn(e) && field_.onExit) guard_([this] { field_.onExit(field_); });
    showText();
}

} // namespace kolvane
