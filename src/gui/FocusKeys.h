#pragma once

#include <QObject>
#include <QPointer>

class QKeyEvent;
class QWidget;

namespace kolvane {

// The window's own use of Enter and the arrow keys, seen before the focused
// control: Enter moves to the next control that Tab would reach and goes no
// further; Up and Down move to the previous or next such control and then
// reach the control as usual (a choice box also changes its selection).
// Boxes that use these keys themselves (multi-line text, tables) keep them.
//
// A move gives the focus with the reason Tab gives, so the control that is
// left runs its exit handling as if the user had pressed Tab or clicked
// elsewhere.
class FocusKeys : public QObject {
    Q_OBJECT
public:
    // Watches the keys of `window` (its own controls, not its dialogs) for
    // as long as it lives.
    explicit FocusKeys(QWidget* window);

    // Whether a control uses Enter and the arrow keys for itself.
    static bool keepsKeys(const QWidget* w);
    // The control the focus goes to from `from`, forwards or backwards in
    // tab order, among those that take the focus by Tab; nullptr when none.
    static QWidget* nextControl(QWidget* from, bool forward);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool keyPress(QWidget* w, QKeyEvent* e);

    QWidget* window_;
    // An arrow key passed on after a move: it reaches its control, but not
    // the control's parents, which would scroll the page under the new focus.
    const QKeyEvent* passed_ = nullptr;
    QPointer<QWidget> passedTo_;
};

} // namespace kolvane
