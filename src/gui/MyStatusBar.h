#pragma once

#include <QStatusBar>
#include <vector>

class QLabel;
class QProgressBar;

namespace kolvane {

// Three panels: the hint of the control under the mouse, the calculation's
// messages, and a progress panel hosting the progress bar (PIndex).
class MyStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit MyStatusBar(QWidget* parent = nullptr);

    int panelCount() const { return static_cast<int>(panels_.size()); }
    void setPanelText(int panel, const QString& text);
    QString panelText(int panel) const;

    int PIndex() const { return pIndex_; }
    // An index outside the panels is ignored.
    void setPIndex(int index);
    QProgressBar* progressBar() const { return progress_; }

private:
    std::vector<QWidget*> panels_;
    QProgressBar* progress_;
    int pIndex_ = 2;
};

} // namespace kolvane
