// kolvane-manual IN.html OUT.pdf: the manual with its bookmark outline.
#include "ManualPdf.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kolvane-manual IN.html OUT.pdf\n");
        return 2;
    }
    // The same layout wherever the build runs, with or without a display.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    QString error;
    if (!kolvane::BuildManual(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]),
                              &error)) {
        std::fprintf(stderr, "kolvane-manual: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
