#include "gui/FocusKeys.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QTextEdit>

namespace kolvane {

FocusKeys::FocusKeys(QWidget* window) : QObject(window), window_(window) {
    // The application sees a key before any widget does; a filter on the
    // window alone would see only what its controls leave.
    qApp->installEventFilter(this);
    // A page's scroll area is no control of its own: Tab and the keys here
    // pass from the last field of a page to the next control, not to it.
    for (QScrollArea* area : window->findChildren<QScrollArea*>())
        area->setFocusPolicy(Qt::NoFocus);
}

bool FocusKeys::keepsKeys(const QWidget* w) {
    return qobject_cast<const QTextEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
           qobject_cast<const QAbstractItemView*>(w);
}

namespace {
bool TakesTabFocus(const QWidget* w, const QWidget* window) {
    return w->window() == window && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus &&
           w->isVisible() && w->isEnabled() && !w->focusProxy() &&
           !qobject_cast<const QScrollArea*>(w);
}
} // namespace

QWidget* FocusKeys::nextControl(QWidget* from, bool forward) {
    if (!from) return nullptr;
    const QWidget* window = from->window();
    // The focus chain is a ring over the whole window; once round is enough.
    QWidget* w = from;
    for (;;) {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == from) return nullptr;
        if (TakesTabFocus(w, window)) return w;
    }
}

bool FocusKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    auto* w = static_cast<QWidget*>(watched);
    auto* key = static_cast<QKeyEvent*>(event);
    // Only the first delivery, to the focused control of this window.
    if (w != QApplication::focusWidget() || w->window() != window_) return false;
    return keyPress(w, key);
}

bool FocusKeys::keyPress(QWidget* w, QKeyEvent* e) {
    // Ctrl or Alt with these keys means something else (Alt+Down opens a
    // choice box's list).
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    const int k = e->key();
    const bool enter = k == Qt::Key_Return || k == Qt::Key_Enter;
    if (!enter && k != Qt::Key_Up && k != Qt::Key_Down) return false;
    if (keepsKeys(w)) return false;

    if (QWidget* next = nextControl(w, k != Qt::Key_Up)) {
        next->setFocus(k == Qt::Key_Up ? Qt::BacktabFocusReason : Qt::TabFocusReason);
        // Leaving may have run a pass that brought a page forward or gave the
        // focus back to a refused field; only a move that held is shown.
        if (next->hasFocus())
            for (QWidget* p = next->parentWidget(); p; p = p->parentWidget())
                if (auto* area = qobject_cast<QScrollArea*>(p)) area->ensureWidgetVisible(next);
    }
    return true;
}

} // namespace kolvane
