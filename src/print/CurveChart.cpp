#include "print/CurveChart.h"

#include "engine/ComboBoxU.h"
#include "engine/FormKolvane.h"
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
    x->setTitleText(QStringLiteral("时间 (%1)").arg(unit));
    const double pad = std::max(1.0, (high - low) * 0.05);
    y->setRange(low - pad, high + pad);
    y->applyNiceNumbers(); // round ticks
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

QImage HeatingCurvePicture(const TFormKolvane& window, QSize size) {
    HeatingCurveChart curve;
    QGraphicsScene scene; // owns the chart from here
    scene.addItem(curve.chart());
    if (!curve.fill(window)) return {};
    curve.chart()->setGeometry(QRectF(QPointF(0, 0), QSizeF(size)));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    scene.render(&painter, QRectF(image.rect()), QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return image;
}

} // namespace kolvane
