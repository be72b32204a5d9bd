#include "gui/MyStatusBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

namespace kolvane {

MyStatusBar::MyStatusBar(QWidget* parent) : QStatusBar(parent) {
    const int widths[] = {200, 200, 50};
    for (int w : widths) {
        auto* panel = new QWidget(this);
        panel->setFixedWidth(w);
        auto* layout = new QHBoxLayout(panel);
        layout->setContentsMargins(2, 0, 2, 0);
        auto* label = new QLabel(panel);
        label->setObjectName("text");
        layout->addWidget(label);
        addWidget(panel);
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
        l->setText(text);
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
