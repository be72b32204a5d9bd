#include "gui/CurvePage.h"

#include <QChartView>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace kolvane {

CurvePage::CurvePage(const TFormKolvane& window, QWidget* parent)
    : QWidget(parent), window_(window), note_(new QLabel(this)) {
    setObjectName(QStringLiteral("TSCurve"));
    view_ = new QChartView(curve_.chart(), this); // the view owns the chart
    view_->setRenderHint(QPainter::Antialiasing);
    auto* v = new QVBoxLayout(this);
    v->addWidget(note_);
    v->addWidget(view_, 1);
    refresh();
}

QString CurvePage::note() {
    return current().note_->text();
}

void CurvePage::refresh() {
    hasCurve_ = curve_.fill(window_);
    note_->setText(curve_.note());
    stale_ = false;
}

void CurvePage::passChanged() {
    stale_ = true;
    if (isVisible()) refresh();
}

void CurvePage::showEvent(QShowEvent* event) {
    if (stale_) refresh();
    QWidget::showEvent(event);
}

} // namespace kolvane
