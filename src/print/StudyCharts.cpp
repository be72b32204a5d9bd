#include "print/StudyCharts.h"

#include "form/FormKolvane.h"
#include "formula/NumberFormat.h"
#include "print/CurveChart.h"

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QHorizontalStackedBarSeries>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPainter>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace kolvane {

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// A chart emptied of its series and axes, ready to be filled anew.
void Clear(QChart* chart) {
    chart->removeAllSeries();
    for (QAbstractAxis* a : chart->axes()) {
        chart->removeAxis(a);
        delete a;
    }
}

QChart* NewChart(const QString& title) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

QValueAxis* ValueAxis(const QString& title) {
    auto* a = new QValueAxis;
    a->setTitleText(title);
    a->setLabelFormat(QStringLiteral("%g"));
    return a;
}

// Line colours that stay apart on paper.
QColor LineColor(int i) {
    static const QColor colors[] = {{0, 90, 200},   {200, 40, 40}, {0, 140, 60},  {230, 130, 0},
                                    {120, 40, 160}, {0, 150, 170}, {140, 90, 40}, {90, 90, 90}};
    return colors[i % static_cast<int>(std::size(colors))];
}

QString Number(double v) {
    return Q(FormatGeneral(v, 4, 2));
}

} // namespace

QChart* NewSweepChart() {
    return NewChart(QStringLiteral("参数研究"));
}

void FillSweepChart(QChart* chart, const SweepRecord& sweep, std::size_t output) {
    Clear(chart);
    const std::size_t nIn = sweep.axes.size();
    if (nIn == 0 || output >= sweep.outputs.size() || sweep.points.empty()) return;
    const bool two = nIn == 2;
    const std::string& yTitle = sweep.headings[nIn + output];
    chart->setTitle(Q(yTitle) + QStringLiteral(" 随 ") + Q(sweep.headings[0]));

    // The second axis's values, in the order the sweep made them.
    std::vector<double> seconds;
    if (two)
        for (const SweepPoint& p : sweep.points)
            if (std::find(seconds.begin(), seconds.end(), p.inputs[1]) == seconds.end())
                seconds.push_back(p.inputs[1]);
    std::vector<double> drawn = seconds;
    if (drawn.size() > kSweepChartLines) {
        drawn.clear();
        for (int i = 0; i < kSweepChartLines; ++i)
            drawn.push_back(seconds[static_cast<std::size_t>(
                std::lround(double(i) * double(seconds.size() - 1) / (kSweepChartLines - 1)))]);
    }
    const std::size_t lines = two ? drawn.size() : 1;

    QAbstractAxis* x = nullptr;
    if (sweep.axes[0].log) {
        auto* logAxis = new QLogValueAxis;
        logAxis->setLabelFormat(QStringLiteral("%g"));
        logAxis->setMinorTickCount(8);
        x = logAxis;
    } else {
        x = ValueAxis(QString());
    }
    auto* y = ValueAxis(QString());
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    x->setTitleText(Q(sweep.headings[0]));
    y->setTitleText(Q(yTitle));
    double lo = INFINITY, hi = -INFINITY, xlo = INFINITY, xhi = -INFINITY;
    for (std::size_t l = 0; l < lines; ++l) {
        // A point without a result ends a piece of line; the next piece is a
        // series of its own with the same look, so no line bridges the gap.
        QLineSeries* s = nullptr;
        const QString name = two ? Q(sweep.headings[1]) + " = " + Number(drawn[l]) : Q(yTitle);
        bool named = false;
        for (const SweepPoint& p : sweep.points) {
            if (two && p.inputs[1] != drawn[l]) continue;
            const double v = p.results[output];
            xlo = std::min(xlo, p.inputs[0]);
            xhi = std::max(xhi, p.inputs[0]);
            if (!std::isfinite(v)) {
                s = nullptr;
                continue;
            }
            if (!s) {
                s = new QLineSeries;
                QPen pen(LineColor(static_cast<int>(l)));
                pen.setWidthF(2);
                s->setPen(pen);
                s->setPointsVisible(sweep.points.size() <= 60);
                s->setName(name);
                chart->addSeries(s);
                s->attachAxis(x);
                s->attachAxis(y);
                // One legend entry a line, not a piece.
                if (named)
                    for (QLegendMarker* m : chart->legend()->markers(s))
                        m->setVisible(false);
                named = true;
            }
            s->append(p.inputs[0], v);
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    }
    if (xlo < xhi) {
        x->setRange(xlo, xhi);
        if (auto* linear = qobject_cast<QValueAxis*>(x)) linear->applyNiceNumbers();
    }
    if (lo <= hi) {
        const double pad = hi > lo ? (hi - lo) * 0.05 : std::max(std::fabs(hi) * 0.05, 1e-9);
        y->setRange(lo - pad, hi + pad);
        y->applyNiceNumbers();
    }
    chart->legend()->setVisible(two);
}

QChart* NewBandChart() {
    return NewChart(QStringLiteral("所需面积的分布"));
}

void FillBandChart(QChart* chart, const UncertaintyResult& band) {
    Clear(chart);
    std::vector<double> v;
    for (double a : band.areaSamples)
        if (std::isfinite(a)) v.push_back(a);
    if (v.empty() || !band.areaNeeded) return;
    const auto [mn, mx] = std::minmax_element(v.begin(), v.end());
    double lo = *mn, hi = *mx;
    if (band.hasActualArea) lo = std::min(lo, band.actualArea), hi = std::max(hi, band.actualArea);
    if (!(hi > lo)) hi = lo + std::max(std::fabs(lo) * 0.01, 1e-9), lo -= (hi - lo);
    // About √N bins (at most 40), over the range of the samples.
    const int bins = std::clamp(static_cast<int>(std::sqrt(double(v.size()))), 5, 40);
    const double width = (hi - lo) / bins;
    std::vector<int> count(static_cast<std::size_t>(bins), 0);
    for (double a : v)
        ++count[static_cast<std::size_t>(std::clamp(int((a - lo) / width), 0, bins - 1))];
    auto* upper = new QLineSeries;
    int top = 0;
    for (int b = 0; b < bins; ++b) {
        upper->append(lo + b * width, count[b]);
        upper->append(lo + (b + 1) * width, count[b]);
        top = std::max(top, count[b]);
    }
    auto* bars = new QAreaSeries(upper);
    bars->setName(QStringLiteral("抽样次数"));
    bars->setColor(QColor(150, 180, 230));
    bars->setBorderColor(QColor(0, 90, 200));
    auto* x = ValueAxis(QStringLiteral("所需面积 (m2)"));
    auto* y = ValueAxis(QStringLiteral("次数"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    chart->addSeries(bars);
    bars->attachAxis(x);
    bars->attachAxis(y);
    auto mark = [&](double at, const QString& name, QColor color, Qt::PenStyle style) {
        auto* s = new QLineSeries;
        s->setName(name + " = " + Number(at));
        QPen pen(color);
        pen.setWidthF(2);
        pen.setStyle(style);
        s->setPen(pen);
        s->append(at, 0);
        s->append(at, top * 1.08);
        chart->addSeries(s);
        s->attachAxis(x);
        s->attachAxis(y);
    };
    const Percentiles& p = *band.areaNeeded;
    mark(p.p10, QStringLiteral("P10"), QColor(0, 140, 60), Qt::DashLine);
    mark(p.p50, QStringLiteral("P50"), QColor(0, 0, 0), Qt::SolidLine);
    mark(p.p90, QStringLiteral("P90"), QColor(200, 40, 40), Qt::DashLine);
    if (band.hasActualArea)
        mark(band.actualArea, QStringLiteral("实际面积"), QColor(120, 40, 160), Qt::DotLine);
    x->setRange(lo, hi);
    x->applyNiceNumbers();
    y->setRange(0, top * 1.1);
    y->applyNiceNumbers();
    y->setLabelFormat(QStringLiteral("%d"));
}

QChart* NewTornadoChart() {
    return NewChart(QStringLiteral("各因素对所需面积的影响"));
}

void FillTornadoChart(QChart* chart, const UncertaintyResult& band) {
    Clear(chart);
    const double nominal = band.nominalAreaNeeded;
    auto* low = new QBarSet(QStringLiteral("因素取下限"));
    auto* high = new QBarSet(QStringLiteral("因素取上限"));
    low->setColor(QColor(0, 140, 60));
    high->setColor(QColor(200, 40, 40));
    QStringList names;
    double reach = 0;
    // A horizontal bar chart draws its first category at the bottom: the
    // largest swing goes last, on top.
    for (auto b = band.tornado.rbegin(); b != band.tornado.rend(); ++b) {
        const double l = std::isfinite(b->low) ? b->low - nominal : 0;
        const double h = std::isfinite(b->high) ? b->high - nominal : 0;
        low->append(l);
        high->append(h);
        reach = std::max({reach, std::fabs(l), std::fabs(h)});
        names << Q(b->factor);
    }
    if (names.isEmpty()) return;
    auto* series = new QHorizontalStackedBarSeries;
    series->append(low);
    series->append(high);
    chart->addSeries(series);
    auto* categories = new QBarCategoryAxis;
    categories->append(names);
    categories->setTruncateLabels(false); // the factor is the point of the bar
    auto* x = ValueAxis(QStringLiteral("所需面积的变化 (m2)，基准 %1 m2").arg(Number(nominal)));
    chart->addAxis(categories, Qt::AlignLeft);
    chart->addAxis(x, Qt::AlignBottom);
    series->attachAxis(categories);
    series->attachAxis(x);
    if (!(reach > 0)) reach = std::max(nominal * 0.01, 1e-9);
    x->setRange(-reach * 1.1, reach * 1.1);
    x->applyNiceNumbers();
}

PageFigure SweepFigure(const SweepRecord& sweep, std::size_t output) {
    if (sweep.points.empty() || output >= sweep.outputs.size()) return {};
    auto scene = std::make_shared<QGraphicsScene>(); // owns the chart
    QChart* chart = NewSweepChart();
    FillSweepChart(chart, sweep, output);
    scene->addItem(chart);
    // On paper the value axis is titled with its unit alone (the chart's
    // title names the quantity): a chart drawn without a view lays its
    // vertical title out in far less room than the axis has, and the
    // caption with its unit came out as "…".
    const std::string& heading = sweep.headings[sweep.axes.size() + output];
    const std::size_t blank = heading.rfind(' ');
    for (QAbstractAxis* a : chart->axes(Qt::Vertical))
        a->setTitleText(blank == std::string::npos ? QString() : Q(heading.substr(blank + 1)));
    return [chart, scene](QPainter& painter, const QRectF& target) {
        // Laid out 560 units wide and scaled into the target, as the heating
        // curve is, so the labels read as 8 to 9 points.
        const QSizeF size(560, 560 * target.height() / target.width());
        chart->setGeometry(QRectF(QPointF(0, 0), size));
        // Laid out now: a layout left to the event loop would not be done
        // before the chart is drawn.
        if (QGraphicsLayout* layout = chart->layout()) {
            layout->invalidate();
            layout->activate();
        }
        painter.setRenderHint(QPainter::Antialiasing);
        scene->render(&painter, target, QRectF(QPointF(0, 0), size));
    };
}

std::vector<PageFigure> ReportFigures(const TFormKolvane& window) {
    std::vector<PageFigure> figures{HeatingCurveFigure(window)};
    const StudyRecord& st = window.studies();
    if (st.inReport && st.sweep && SameInputs(st.sweep->base, window.lastCase()))
        figures.push_back(SweepFigure(*st.sweep, st.sweep->chartOutput));
    return figures;
}

} // namespace kolvane
