#include "gui/MyStatusBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>

namespace kolvane {

namespace {

// A one-line label that asks for no width of its own, so that the panel
// decides it and a long text never widens the window: the text is cut with
// an ellipsis where the panel ends, and the tooltip then holds all of it.
class ElidedLabel : public QLabel {
public:
    using QLabel::QLabel;
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }
    QSize sizeHint() const override { return {0, QLabel::sizeHint().height()}; }
    void setFullText(const QString& text) {
        setText(text);
        updateToolTip();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QRect r = contentsRect();
        p.setPen(palette().color(foregroundRole()));
        p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter,
                   fontMetrics().elidedText(text(), Qt::ElideRight, r.width()));
    }
    void resizeEvent(QResizeEvent* e) override {
        QLabel::resizeEvent(e);
        updateToolTip();
    }

private:
    void updateToolTip() {
        const bool cut = fontMetrics().horizontalAdvance(text()) > contentsRect().width();
        setToolTip(cut ? text() : QString());
    }
};

} // namespace

MyStatusBar::MyStatusBar(QWidget* parent) : QStatusBar(parent) {
    // The message panel takes the width the others leave; the hint and
    // progress panels keep theirs.
    const int widths[] = {200, 200, 50};
    for (int i = 0; i < 3; ++i) {
        auto* panel = new QWidget(this);
        if (i == 1)
            panel->setMinimumWidth(widths[i]);
        else
            panel->setFixedWidth(widths[i]);
        auto* layout = new QHBoxLayout(panel);
        layout->setContentsMargins(2, 0, 2, 0);
        auto* label = new ElidedLabel(panel);
        label->setObjectName("text");
        layout->addWidget(label);
        addWidget(panel, i == 1 ? 1 : 0);
        panels_.push_back(panel);
    }
    progress_ = new QProgressBar(this);
    progress_->setObjectName("ProgressBar");
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    setPIndex(2);
}

void MyStatusBar::setPanelText(int panel, const QString& text) {
    if (panel < 0 || panel >= panelCount()) return;
    if (auto* l = panels_[static_cast<std::size_t>(panel)]->findChild<QLabel*>("text"))
        static_cast<ElidedLabel*>(l)->setFullText(text);
}

QString MyStatusBar::panelText(int panel) const {
    if (panel < 0 || panel >= panelCount()) return {};
    auto* l = panels_[static_cast<std::size_t>(panel)]->findChild<QLabel*>("text");
    return l ? l->text() : QString();
}

void MyStatusBar::setPIndex(int index) {
    if (index < 0 || index >= panelCount()) return;
    int old = pIndex_ < panelCount() ? pIndex_ : panelCount() - 1;
    // The old host panel shows text again; the new one hosts the bar.
    if (auto* l = panels_[static_cast<std::size_t>(old)]->findChild<QLabel*>("text")) l->show();
    pIndex_ = index;
    QWidget* host = panels_[static_cast<std::size_t>(index)];
    if (auto* l = host->findChild<QLabel*>("text")) l->hide();
    progress_->setParent(host);
    host->layout()->addWidget(progress_);
    progress_->show();
}

} // namespace kolvane
