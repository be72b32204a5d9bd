// The vessel page's widgets tell a refused value as the calculation page's
// do; the rules themselves are tested in tests/core/test_vessel_page.cpp.
#include "TestWindow.h"
#include "gui/EditDWidget.h"
#include "gui/MyStatusBar.h"

#include <QTabWidget>
#include <gtest/gtest.h>

namespace kolvane {
namespace {

// Steps on the widgets: one message, the red frame and the cursor back on
// the vessel page; the status bar keeps it while it holds, on any page.
TEST(VesselPageGui, ARefusedFillIsFramedToldOnceAndForgottenOnceCorrected) {
    auto window = ShowTestWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    auto edit = [&](const char* name) {
        return qobject_cast<EditDWidget*>(window->widgetFor(name));
    };
    auto typeAndLeave = [&](const char* name, const char* text, const char* next) {
        window->pages()->setCurrentIndex(name[0] == 'T' ? 1 : 3);
        edit(name)->setFocus(Qt::MouseFocusReason);
        edit(name)->clear();
        QTest::keyClicks(edit(name), text);
        edit(next)->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
        QApplication::processEvents(); // the focus a refusal gives back
    };
    const QString fill = "充装系数: 应在0与1之间";
    auto status = [&] { return window->myStatusBar()->panelText(1); };

    typeAndLeave("KvD", "1.2", "VsD");
    EXPECT_EQ(DialogAutoAnswer().shown, std::vector<std::string>{fill.toStdString()});
    EXPECT_EQ(edit("KvD")->mark(), EditDWidget::Mark::Problem);
    EXPECT_EQ(QApplication::focusWidget(), edit("KvD"));
    typeAndLeave("TaoD", "5400", "sfD");
    EXPECT_EQ(DialogAutoAnswer().shown.size(), 1u) << "told once";
    EXPECT_TRUE(status().contains(fill)) << status().toStdString();
    typeAndLeave("KvD", "0.8", "VsD");
    EXPECT_EQ(edit("KvD")->mark(), EditDWidget::Mark::None);
    EXPECT_FALSE(status().contains(fill)) << status().toStdString();
}

} // namespace
} // namespace kolvane
