#pragma once

#include "print/CurveChart.h"

#include <QWidget>

class QChartView;
class QLabel;
class QLineSeries;

namespace kolvane {

class TFormKolvane;

// The page "升温曲线": the heating curve of the last pass in a chart view,
// a hint instead while the last pass gave no theoretical area.
class CurvePage : public QWidget {
    Q_OBJECT
public:
    explicit CurvePage(const TFormKolvane& window, QWidget* parent = nullptr);
    // Draws the curves of the window's last pass.
    void refresh();
    // After a pass: redrawn now when the page shows, else when it is shown
    // or asked (the pass does not wait for a chart nobody sees).
    void passChanged();
    bool hasCurve() { return current().hasCurve_; }
    QLineSeries* theoretical() { return current().curve_.theoretical(); }
    QLineSeries* actual() { return current().curve_.actual(); }
    QString note();

protected:
    void showEvent(QShowEvent* event) override;

private:
    const TFormKolvane& window_;
    HeatingCurveChart curve_;
    QChartView* view_;
    QLabel* note_;
    bool hasCurve_ = false;
    bool stale_ = false;

    CurvePage& current() {
        if (stale_) refresh();
        return *this;
    }
};

} // namespace kolvane
