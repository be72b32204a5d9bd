#pragma once

#include <QImage>
#include <QSize>
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

// The chart of the window's last pass as a picture of `size` pixels on
// white; a null image when the pass gave no curve. Needs a QApplication.
QImage HeatingCurvePicture(const TFormKolvane& window, QSize size = QSize(1000, 650));

} // namespace kolvane
