// The main window as the window tests start it.
#pragma once

#include "gui/MainWindow.h"
#include "gui/QtUiServices.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <memory>

namespace kolvane {

// A new main window, shown and made the active window, with every message
// box answered automatically so that no test waits for a click.
inline std::unique_ptr<MainWindow> ShowTestWindow() {
    DialogAutoAnswer() = AutoAnswer{};
    DialogAutoAnswer().on = true;
    auto window = std::make_unique<MainWindow>("/tmp/");
    window->show();
    QApplication::setActiveWindow(window.get());
    return window;
}

// Runs `act` with real message boxes: each one that shows is read as
// "title|text|icon" and closed with its `button`, or accepted if it has
// none; `waitMs` more of the event loop lets boxes shown later come too.
template <class Act>
QStringList CloseRealBoxes(Act act, QMessageBox::StandardButton button = QMessageBox::NoButton,
                           int waitMs = 0) {
    DialogAutoAnswer().on = false;
    QStringList seen;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&seen, button] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible()) {
                seen << box->windowTitle() + '|' + box->text() + '|' + QString::number(box->icon());
                if (QAbstractButton* b = box->button(button)) {
                    b->click();
                } else {
                    box->accept();
                }
            }
    });
    closer.start(10);
    act();
    QTest::qWait(waitMs);
    closer.stop();
    DialogAutoAnswer().on = true;
    return seen;
}

} // namespace kolvane
