#include "gui/QtUiServices.h"

#include "gui/MyStatusBar.h"

#include <QApplication>
#include <QMessageBox>

#include <exception>

namespace kolvane {

namespace {
QString Q(const std::string& s) {
    return QString::fromStdString(s);
}
} // namespace

void QtUiServices::message(const std::string& caption, const std::string& text, MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning:
        QMessageBox::warning(parent_, Q(caption), Q(text));
        break;
    case MessageKind::Error:
        QMessageBox::critical(parent_, Q(caption), Q(text));
        break;
    default:
        QMessageBox::information(parent_, Q(caption), Q(text));
        break;
    }
}

Answer QtUiServices::question(const std::string& caption, const std::string& text, bool withCancel,
                              Answer defaultAnswer) {
    auto buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel) buttons |= QMessageBox::Cancel;
    auto def = defaultAnswer == Answer::Yes  ? QMessageBox::Yes
               : defaultAnswer == Answer::No ? QMessageBox::No
                                             : QMessageBox::Cancel;
    auto r = QMessageBox::question(parent_, Q(caption), Q(text), buttons, def);
    if (r == QMessageBox::Yes) return Answer::Yes;
    if (r == QMessageBox::No) return Answer::No;
    return Answer::Cancel;
}

void QtUiServices::statusText(int panel, const std::string& text) {
    if (statusBar_) statusBar_->setPanelText(panel, Q(text));
}

void QtUiServices::beep() {
    QApplication::beep();
}

void RunGuarded(QWidget* parent, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        QMessageBox::critical(parent, QStringLiteral("错误"), QString::fromStdString(e.what()));
    }
}

} // namespace kolvane
