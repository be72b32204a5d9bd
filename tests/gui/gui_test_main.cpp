#include "gui/QtUiServices.h"

#include <QApplication>
#include <gtest/gtest.h>

// GUI tests need one application object that lives on main's stack: a
// static one would be destroyed after Qt's own globals.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Nobody is there to close a message box: dialogs are answered at once.
    kolvane::DialogAutoAnswer().on = true;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
