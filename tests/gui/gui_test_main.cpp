#include <QApplication>
#include <gtest/gtest.h>

// GUI tests need one application object that lives on main's stack: a
// static one would be destroyed after Qt's own globals.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
