#include "gui/MainWindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QFont>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    QString screenshot;
    int page = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
            screenshot = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(argv[i], "--page") == 0 && i + 1 < argc) {
            page = std::atoi(argv[++i]);
        }
    }
    // A screenshot needs no display.
    if (!screenshot.isEmpty() && !std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);

    QApplication app(argc, argv);
    QApplication::setApplicationName("Kolvane");
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPointSize(9);
    QApplication::setFont(font);

    std::string programDir =
        QFileInfo(QApplication::applicationFilePath()).absolutePath().toStdString() + "/";
    kolvane::MainWindow window(programDir);
    if (!screenshot.isEmpty()) {
        if (!window.saveScreenshot(screenshot, page)) {
            std::cerr << "error: cannot write " << screenshot.toStdString() << '\n';
            return 1;
        }
        return 0;
    }
    window.showMaximized();
    return QApplication::exec();
}
