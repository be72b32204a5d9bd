#pragma once

#include <QWidget>

class QChart;
class QChartView;
class QLabel;
class QLineSeries;

namespace kolvane {

class TFormKolvane;

// The page "升温曲线": the contents' temperature over the heating time with
// the theoretical and the actual area, the medium's mean temperature and the
// target as lines; a hint instead while the last pass gave no theoretical
// area.
class CurvePage : public QWidget {
    Q_OBJECT
public:
    explicit CurvePage(const TFormKolvane& window, QWidget* parent = nullptr);
    // Draws the curves of the window's last pass.
    void refresh();
    bool hasCurve() const { return hasCurve_; }
    QLineSeries* theoretical() const { return theoretical_; }
    QLineSeries* actual() const { return actual_; }
    QString note() const;
    // The chart as a picture of the given size, for the PDF.
    QPixmap picture(QSize size);

private:
    const TFormKolvane& window_;
    QChart* chart_;
    QChartView* view_;
    QLabel* note_;
    QLineSeries *theoretical_, *actual_, *medium_, *target_;
    bool hasCurve_ = false;
};

} // namespace kolvane
