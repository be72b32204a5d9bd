#pragma once

#include <QObject>

class QKeyEvent;
class QWidget;

namespace kolvane {

// The window's own use of Enter and the arrow keys, seen before the focused
// control: Enter and Down move to the next control that Tab would reach, Up
// to the previous one, and the key goes no further. So a closed choice box
// keeps its choice (Alt+Down or a click opens its list): an arrow that both
// moved on and chose would change an input behind the user's back. Boxes
// that use these keys themselves (multi-line text, tables) keep them.
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
};

} // namespace kolvane
