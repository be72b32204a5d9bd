// The main window as the window tests start it.
#pragma once

#include "gui/MainWindow.h"
#include "gui/QtUiServices.h"

#include <QApplication>

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

} // namespace kolvane
