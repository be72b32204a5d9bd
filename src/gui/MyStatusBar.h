#pragma once

#include <QStatusBar>
#include <QString>
#include <vector>

class QLabel;
class QProgressBar;

namespace kolvane {

// Three panels: the hint of the control under the mouse, the calculation's
// messages, and a progress panel hosting the progress bar (PIndex).
//
// The panels are laid out here rather than by QStatusBar's item layout,
// whose temporary messages would hide them: a status tip (an action's or a
// widget's) is shown in panel 0 instead, as is the hint or tooltip of the
// control the mouse rests on.
class MyStatusBar : public QStatusBar {
    Q_OBJECT
    Q_PROPERTY(int PIndex READ PIndex WRITE setPIndex)
public:
    explicit MyStatusBar(QWidget* parent = nullptr);

    int panelCount() const { return static_cast<int>(panels_.size()); }
    // The width a panel is given; the message panel takes what the window
    // has to spare beyond it.
    int panelWidth(int panel) const;
    // Where a panel lies in the status bar, inside its sunken frame.
    QRect panelRect(int panel) const;
    void setPanelText(int panel, const QString& text);
    QString panelText(int panel) const;

    int PIndex() const { return pIndex_; }
    // An index outside the panels is ignored.
    void setPIndex(int index);
    QProgressBar* progressBar() const { return progress_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Panel {
        int width;
        QLabel* label;
        QString text;
    };
    void layoutPanels();
    void showHintOf(QWidget* w);

    std::vector<Panel> panels_;
    QProgressBar* progress_;
    int pIndex_ = 2;
};

} // namespace kolvane
