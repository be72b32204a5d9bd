#include "gui/MyStatusBar.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QStyle>
#include <algorithm>
#include <qdrawutil.h>

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

// Between two panels' frames.
constexpr int kGap = 2;
// Kept free at the right end of the last panel for the size grip.
constexpr int kGripRoom = 12;

// The hint a control shows: its status tip, else the hint of its component,
// else its tooltip; a control without one shows its parent's.
QString HintOf(const QWidget* w) {
    for (; w; w = w->parentWidget()) {
        if (!w->statusTip().isEmpty()) return w->statusTip();
        const QString hint = w->property("hint").toString();
        if (!hint.isEmpty()) return hint;
        if (!w->toolTip().isEmpty()) return w->toolTip();
        if (w->isWindow()) break;
    }
    return {};
}

} // namespace

MyStatusBar::MyStatusBar(QWidget* parent) : QStatusBar(parent) {
    for (int width : {200, 200, 50}) {
        auto* label = new ElidedLabel(this);
        label->setObjectName("text");
        label->setIndent(0);
        panels_.push_back({width, label, {}});
    }
    progress_ = new QProgressBar(this);
    progress_->setObjectName("ProgressBar");
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    // A status tip, and whatever else is shown as a temporary message, goes
    // to the hint panel.
    connect(this, &QStatusBar::messageChanged, this,
            [this](const QString& text) { setPanelText(0, text); });
    // The hint of the control under the mouse, also where it is a tooltip
    // only (toolbar buttons, the fields' hints).
    qApp->installEventFilter(this);
    setPIndex(2);
}

int MyStatusBar::panelWidth(int panel) const {
    if (panel < 0 || panel >= panelCount()) return 0;
    return panels_[static_cast<std::size_t>(panel)].width;
}

QRect MyStatusBar::panelRect(int panel) const {
    if (panel < 0 || panel >= panelCount()) return {};
    // Fixed widths from the left, the last panel at the right end and the
    // message panel between them taking the rest.
    const int last = panelCount() - 1;
    int left = 0;
    for (int i = 0; i < panel; ++i)
        left += panelWidth(i);
    int right = left + panelWidth(panel);
    if (panel == last) {
        left = std::max(left, width() - panelWidth(panel));
        right = left + panelWidth(panel);
    } else if (panel == 1) {
        right = std::max(right, width() - panelWidth(last));
    }
    return QRect(QPoint(left, 2), QPoint(right - kGap - 1, height() - 2));
}

QSize MyStatusBar::sizeHint() const {
    int w = 0;
    for (int i = 0; i < panelCount(); ++i)
        w += panelWidth(i);
    return {w, fontMetrics().height() + 8};
}

QSize MyStatusBar::minimumSizeHint() const {
    return sizeHint();
}

void MyStatusBar::setPanelText(int panel, const QString& text) {
    if (panel < 0 || panel >= panelCount()) return;
    // Panel 0 is the status bar's temporary message: set through it, so that
    // a status tip of the text it showed before is not taken as no change.
    if (panel == 0 && text != currentMessage()) {
        showMessage(text); // comes back here through messageChanged
        return;
    }
    Panel& p = panels_[static_cast<std::size_t>(panel)];
    p.text = text;
    static_cast<ElidedLabel*>(p.label)->setFullText(text);
}

QString MyStatusBar::panelText(int panel) const {
    if (panel < 0 || panel >= panelCount()) return {};
    return panels_[static_cast<std::size_t>(panel)].text;
}

void MyStatusBar::setPIndex(int index) {
    if (index < 0 || index >= panelCount()) return;
    // The panel that hosted the bar shows its text again; the new one is
    // drawn by the bar.
    const int old = std::min(pIndex_, panelCount() - 1);
    panels_[static_cast<std::size_t>(old)].label->show();
    pIndex_ = index;
    panels_[static_cast<std::size_t>(index)].label->hide();
    layoutPanels();
    update();
}

void MyStatusBar::layoutPanels() {
    for (int i = 0; i < panelCount(); ++i) {
        const QRect r = panelRect(i);
        QRect text = r.adjusted(3, 1, -3, -1);
        if (i == panelCount() - 1) text.setRight(std::min(text.right(), r.right() - kGripRoom));
        panels_[static_cast<std::size_t>(i)].label->setGeometry(text);
    }
    // The bar covers its panel's frame, one pixel beyond it to the left, top
    // and bottom; in the last panel it leaves the size grip its room.
    const QRect host = panelRect(pIndex_);
    QRect bar = host.adjusted(-1, -1, 0, 1);
    if (pIndex_ == panelCount() - 1) bar.setRight(host.right() - kGripRoom);
    progress_->setGeometry(bar);
    progress_->show();
    progress_->raise();
}

void MyStatusBar::resizeEvent(QResizeEvent* e) {
    QStatusBar::resizeEvent(e);
    layoutPanels();
}

void MyStatusBar::paintEvent(QPaintEvent*) {
    // Each panel in a sunken frame, so that the panels are told apart; the
    // temporary message QStatusBar would draw is panel 0's text here.
    QPainter p(this);
    for (int i = 0; i < panelCount(); ++i)
        if (i != pIndex_) qDrawShadePanel(&p, panelRect(i), palette(), true, 1);
}

bool MyStatusBar::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type == QEvent::Enter || type == QEvent::Leave) && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        if (window() && w->window() == window() && w != this && !isAncestorOf(w)) {
            // Entering shows the control's hint; leaving it returns to its
            // parent's, where the mouse now is.
            showHintOf(type == QEvent::Enter ? w : w->parentWidget());
        }
    }
    return QStatusBar::eventFilter(watched, event);
}

void MyStatusBar::showHintOf(QWidget* w) {
    const QString hint = HintOf(w).replace(QLatin1Char('\n'), QLatin1Char(' '));
    // Through the temporary message, which a status tip sets as well, so
    // that both always agree on what panel 0 shows.
    if (hint.isEmpty())
        clearMessage();
    else
        showMessage(hint);
}

} // namespace kolvane
