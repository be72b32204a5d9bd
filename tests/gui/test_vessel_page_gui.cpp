// The vessel page's widgets tell a refused value as the calculation page's
// do; the rules themselves are tested in tests/core/test_vessel_page.cpp.
#include "TestWindow.h"
#include "gui/EditDWidget.h"
#include "gui/MyStatusBar.h"

#include <QApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace kolvane {
namespace {

constexpr int kVesselPage = 3;

struct VesselPageGui : testing::Test {
    void SetUp() override {
        window = ShowTestWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    QWidget* w(const char* name) { return window->widgetFor(name); }
    EditDWidget* edit(const char* name) { return qobject_cast<EditDWidget*>(w(name)); }
    QString status() { return window->myStatusBar()->panelText(1); }
    // The page that holds the control in front, the focus in the control.
    void focus(QWidget* x) {
        for (int i = 0; i < window->pages()->count(); ++i)
            if (window->pages()->widget(i)->isAncestorOf(x)) window->pages()->setCurrentIndex(i);
        x->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), x);
    }
    // Types over a line, then leaves it for `next` as a click would; the
    // focus a refusal gives back comes from the event loop.
    void typeAndLeave(const char* name, const char* text, const char* next) {
        auto* line = qobject_cast<QLineEdit*>(w(name));
        ASSERT_NE(line, nullptr) << name;
        focus(line);
        line->selectAll();
        QTest::keyClick(line, Qt::Key_Delete);
        QTest::keyClicks(line, text);
        w(next)->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
        QApplication::processEvents();
    }
    std::unique_ptr<MainWindow> window;
};

// A refused fill on the vessel page: one message, the red frame, the cursor
// back in it; the status bar keeps it only while it holds.
TEST_F(VesselPageGui, TheVesselPageFramesARefusedValueAndForgetsItOnceCorrected) {
    typeAndLeave("KvD", "1.2", "VsD");
    ASSERT_EQ(DialogAutoAnswer().shown.size(), 1u);
    EXPECT_EQ(DialogAutoAnswer().shown[0], "充装系数: 应在0与1之间");
    EXPECT_EQ(edit("KvD")->mark(), EditDWidget::Mark::Problem);
    EXPECT_EQ(QApplication::focusWidget(), edit("KvD"));
    EXPECT_EQ(window->pages()->currentIndex(), kVesselPage);
    EXPECT_TRUE(status().contains("充装系数")) << status().toStdString();

    // A field of the calculation page left: not told twice, still shown.
    typeAndLeave("TaoD", "1.5", "sfD");
    EXPECT_EQ(DialogAutoAnswer().shown.size(), 1u);
    EXPECT_TRUE(status().contains("充装系数")) << status().toStdString();

    typeAndLeave("KvD", "0.8", "VsD");
    EXPECT_EQ(edit("KvD")->mark(), EditDWidget::Mark::None);
    EXPECT_FALSE(status().contains("充装系数")) << status().toStdString();
}

} // namespace
} // namespace kolvane
