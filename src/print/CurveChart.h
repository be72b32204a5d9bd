#pragma once

#include "print/ReportPages.h"

#include <QString>

class QChart;
class QLineSeries;

namespace kolvane {

class TFormKolvane;

// The heating curve as a Qt chart: the contents' temperature with the
// theoretical and the actual area, the dynamic check's curve with the
// actual area, the medium's mean temperature and the target, time in the
// heating time's unit. The page "升温曲线" shows it and
// the PDF export draws it.
class HeatingCurveChart {
public:
    // The chart is made empty; whoever shows it (a view, a scene) owns it.
    HeatingCurveChart();
    QChart* chart() const { return chart_; }
    // Draws the curves of the window's last pass; false, with the series
    // empty, when the pass gave no theoretical area.
    bool fill(const TFormKolvane& window);
    // A line for the user: the hint without a curve, or when the actual
    // area reaches the target earlier; empty otherwise.
    QString note() const { return note_; }
    QLineSeries* theoretical() const { return theoretical_; }
    QLineSeries* actual() const { return actual_; }
    QLineSeries* checked() const { return checked_; }

private:
    QChart* chart_;
    QLineSeries *theoretical_, *actual_, *checked_, *medium_, *target_;
    QString note_;
};

// The chart of the window's last pass as a figure of the report's PDF,
// drawn in vectors into the rectangle it is given; empty when the pass gave
// no curve. Needs a QApplication.
PageFigure HeatingCurveFigure(const TFormKolvane& window);

// A round tick step (1, 2, 2.5 or 5 times a power of ten) for an axis from 0
// to `span`: one that divides it into four to ten equal intervals, nearest
// six, where there is one (0.25 h for 1.5 h); else the finest that leaves at
// most eight.
double RoundTickStep(double span);

} // namespace kolvane
