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
    bool hasCurve() const { return hasCurve_; }
    QLineSeries* theoretical() const { return curve_.theoretical(); }
    QLineSeries* actual() const { return curve_.actual(); }
    QString note() const;

private:
    const TFormKolvane& window_;
    HeatingCurveChart curve_;
    QChartView* view_;
    QLabel* note_;
    bool hasCurve_ = false;
};

} // namespace kolvane
