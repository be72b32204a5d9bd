#pragma once

#include <QLineEdit>
#include <functional>

class QFocusEvent;

namespace kolvane {

class TEditD;

// Runs a handler at the event boundary (see RunGuarded).
using Guard = std::function<void(const std::function<void()>&)>;

// Whether leaving a control with this focus event runs its exit handler:
// moving to another control does; a dialog or another window taking the
// focus does not, nor the focus being put back after a message.
bool ExitRunsOn(const QFocusEvent* e);

// While one lives, the focus is being given back to a control after a
// message about it, and the control that loses the focus does not run its
// exit handler: the user did not leave it, and another pass would only say
// the same again. Focus events are sent while setFocus runs, so the scope of
// the setFocus call (and of a page change that hides the focused control) is
// enough.
class FocusReturn {
public:
    FocusReturn();
    ~FocusReturn();
    FocusReturn(const FocusReturn&) = delete;
    FocusReturn& operator=(const FocusReturn&) = delete;

private:
    bool outer_;
};

// The quantity edit: shows the display form when it does not have the focus
// and the raw text while the user types; colours, read-only flag, cursor and
// enabled state follow the field.
//
// What the latest pass said about the field shows as a frame drawn over the
// edit and as its tooltip. The mark belongs to the view only: the field's
// colours, which project files keep, stay as they are.
class EditDWidget : public QLineEdit {
    Q_OBJECT
public:
    // In rising order of weight: a field named by several entries shows the
    // heaviest.
    enum class Mark { None, Missing, Warning, Problem };

    EditDWidget(TEditD& field, Guard guard, QWidget* parent = nullptr);
    TEditD& field() const { return field_; }

    // The text is what the tooltip says before the field's hint.
    void setMark(Mark mark, const QString& text);
    Mark mark() const { return mark_; }
    static QColor frameColor(Mark mark);

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    void showText();
    void applyLook();

    TEditD& field_;
    Guard guard_;
    bool pushing_ = false;
    Mark mark_ = Mark::None;
};

} // namespace kolvane
