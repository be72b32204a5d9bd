#include "print/CurveChart.h"

#include "form/ComboBoxU.h"
#include "form/FormKolvane.h"
#include "model/BatchCheck.h"
#include "model/HeatingCurve.h"

#include <QChart>
#include <QGraphicsScene>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <vector>

namespace kolvane {

namespace {
QLineSeries* Series(const QString& name, QColor color, Qt::PenStyle style) {
    auto* s = new QLineSeries;
    s->setName(name);
    QPen pen(color);
    pen.setWidthF(2);
    pen.setStyle(style);
    s->setPen(pen);
    return s;
}
} // namespace

HeatingCurveChart::HeatingCurveChart() : chart_(new QChart) {
    theoretical_ = Series(QStringLiteral("理论面积"), QColor(0, 90, 200), Qt::SolidLine);
    actual_ = Series(QStringLiteral("实际面积"), QColor(200, 40, 40), Qt::SolidLine);
    checked_ =
        Series(QStringLiteral("动态校核（实际面积）"), QColor(120, 40, 160), Qt::DashDotLine);
    medium_ = Series(QStringLiteral("介质平均温度"), QColor(230, 130, 0), Qt::DashLine);
    target_ = Series(QStringLiteral("目标温度"), QColor(0, 140, 60), Qt::DotLine);
    auto* x = new QValueAxis;
    auto* y = new QValueAxis;
    chart_->addAxis(x, Qt::AlignBottom);
    chart_->addAxis(y, Qt::AlignLeft);
    for (QLineSeries* s : {theoretical_, actual_, checked_, medium_, target_}) {
        chart_->addSeries(s);
        s->attachAxis(x);
        s->attachAxis(y);
    }
    chart_->setTitle(QStringLiteral("升温曲线"));
    chart_->legend()->setAlignment(Qt::AlignBottom);
}

bool HeatingCurveChart::fill(const TFormKolvane& window) {
    const PassReport& pass = window.lastPass();
    const bool hasCurve = pass.hasCurve && pass.heatingTime > 0 && std::isfinite(pass.heatingTime);
    for (QLineSeries* s : {theoretical_, actual_, checked_, medium_, target_})
        s->clear();
    auto* x = static_cast<QValueAxis*>(chart_->axes(Qt::Horizontal).value(0));
    auto* y = static_cast<QValueAxis*>(chart_->axes(Qt::Vertical).value(0));
    if (!hasCurve) {
        note_ = QStringLiteral("需要理论面积才能绘制升温曲线");
        x->setTitleText(QString());
        y->setTitleText(QString());
        return false;
    }
    // Time in the unit the heating time is shown in.
    const TEditD& tao = window.field("TaoD");
    const double factor = tao.exchange() > 0 ? tao.exchange() : 1.0;
    QString unit = QStringLiteral("s");
    if (const TComboBoxU* u = window.selectorOf(tao)) unit = QString::fromStdString(u->unitLabel());
    constexpr int points = 101;
    double low = std::min({pass.curve.t1, pass.curve.tm, pass.target});
    double high = std::max({pass.curve.t1, pass.curve.tm, pass.target});
    std::array<double, points> times{}, checked{};
    for (int i = 0; i < points; ++i)
        times[i] = pass.heatingTime * i / (points - 1);
    const bool hasCheck = pass.hasCheck && pass.actualArea > 0;
    if (hasCheck) CheckedTemperatures(pass.checkInputs, pass.actualArea, times, checked);
    for (int i = 0; i < points; ++i) {
        const double t = times[i];
        const double a = CurveTemperature(pass.curve, pass.theoreticalArea, t);
        const double b = CurveTemperature(pass.curve, pass.actualArea, t);
        theoretical_->append(t / factor, a);
        if (pass.actualArea > 0) actual_->append(t / factor, b);
        if (hasCheck) checked_->append(t / factor, checked[i]);
        low = std::min({low, a, pass.actualArea > 0 ? b : a, hasCheck ? checked[i] : a});
        high = std::max({high, a, pass.actualArea > 0 ? b : a, hasCheck ? checked[i] : a});
    }
    const double end = pass.heatingTime / factor;
    medium_->append(0, pass.curve.tm);
    medium_->append(end, pass.curve.tm);
    target_->append(0, pass.target);
    target_->append(end, pass.target);
    x->setRange(0, end);
    // Ticks at round times from 0, whatever the heating time (0.25 h, not
    // the fifths 0.375 h of a 1.5 h batch).
    x->setTickType(QValueAxis::TicksDynamic);
    x->setTickAnchor(0);
    x->setTickInterval(RoundTickStep(end));
    x->setLabelFormat(QStringLiteral("%g"));
    x->setTitleText(QStringLiteral("时间 (%1)").arg(unit));
    const double pad = std::max(1.0, (high - low) * 0.05);
    y->setRange(low - pad, high + pad);
    y->applyNiceNumbers(); // round ticks
    y->setLabelFormat(QStringLiteral("%g"));
    y->setTitleText(QStringLiteral("温度 (°C)"));

    note_.clear();
    const auto atTheoretical = TimeToReach(pass.curve, pass.theoreticalArea, pass.target);
    const auto atActual = pass.actualArea > 0
                              ? TimeToReach(pass.curve, pass.actualArea, pass.target)
                              : std::optional<double>();
    if (atActual && (!atTheoretical || *atActual < *atTheoretical))
        note_ = QStringLiteral("实际面积在 %1 %2 时达到目标温度 %3 °C，早于理论面积。")
                    .arg(*atActual / factor, 0, 'g', 4)
                    .arg(unit)
                    .arg(pass.target, 0, 'g', 4);
    if (hasCheck) {
        const auto& checkedTime = pass.check.tActual;
        note_ += checkedTime ? QStringLiteral("动态校核：实际面积在 %1 %2 时达到目标温度。")
                                   .arg(*checkedTime / factor, 0, 'g', 4)
                                   .arg(unit)
                             : QStringLiteral("动态校核：实际面积达不到目标温度。");
    }
    return true;
}

PageFigure HeatingCurveFigure(const TFormKolvane& window) {
    auto curve = std::make_shared<HeatingCurveChart>();
    auto scene = std::make_shared<QGraphicsScene>(); // owns the chart from here
    scene->addItem(curve->chart());
    if (!curve->fill(window)) return {};
    return [curve, scene](QPainter& painter, const QRectF& target) {
        // Laid out 560 units wide and scaled into the target, so the labels
        // read as 8 to 9 points on a page's width.
        const QSizeF size(560, 560 * target.height() / target.width());
        curve->chart()->setGeometry(QRectF(QPointF(0, 0), size));
        painter.setRenderHint(QPainter::Antialiasing);
        scene->render(&painter, target, QRectF(QPointF(0, 0), size));
    };
}

double RoundTickStep(double span) {
    if (!(span > 0) || !std::isfinite(span)) return 1;
    std::vector<double> steps; // the round steps from span/20 to span/2
    const double power = std::pow(10.0, std::floor(std::log10(span / 20)));
    for (double p : {power, 10 * power, 100 * power})
        for (double m : {1.0, 2.0, 2.5, 5.0})
            steps.push_back(m * p);
    // Ticks that end at the heating time, about six of them, where a round
    // step divides it; else the finest step that leaves at most eight.
    double best = 0, bestOff = 0;
    for (double step : steps) {
        const double n = span / step;
        if (n < 4 - 1e-9 || n > 10 + 1e-9 || std::fabs(n - std::round(n)) > 1e-6) continue;
        if (best == 0 || std::fabs(n - 6) < bestOff) best = step, bestOff = std::fabs(n - 6);
    }
    if (best > 0) return best;
    for (double step : steps)
        if (span / step <= 8 + 1e-9) return step;
    return steps.back();
}

} // namespace kolvane
