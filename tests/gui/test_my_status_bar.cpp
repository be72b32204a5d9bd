#include "TestWindow.h"
#include "form/FormKolvane.h"
#include "form/UiServices.h"
#include "gui/EditDWidget.h"
#include "gui/MyStatusBar.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

namespace kolvane {
namespace {

// A status bar on a window of its own, at the size the program opens at.
struct StatusBarTest : testing::Test {
    void SetUp() override {
        host.resize(1024, 768);
        bar = new MyStatusBar(&host);
        host.setStatusBar(bar);
        auto* central = new QWidget;
        button = new QPushButton("x", central);
        button->setToolTip("按钮的提示");
        host.setCentralWidget(central);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    }
    QLabel* label(int panel) { return bar->findChildren<QLabel*>("text").value(panel); }
    QMainWindow host;
    MyStatusBar* bar = nullptr;
    QPushButton* button = nullptr;
};

// Side by side, the message panel taking what the others leave, and framed
// apart: the frame lines where one panel ends and the next begins.
TEST_F(StatusBarTest, ThreePanelsSideBySideFramedApart) {
    ASSERT_EQ(bar->panelCount(), 3);
    const QRect r0 = bar->panelRect(0), r1 = bar->panelRect(1), r2 = bar->panelRect(2);
    for (const QRect& r : {r0, r1, r2})
        EXPECT_TRUE(bar->rect().contains(r));
    EXPECT_LT(r0.right(), r1.left());
    EXPECT_LT(r1.right(), r2.left());
    EXPECT_EQ(r0.left(), 0);
    EXPECT_NEAR(r0.width(), 200, 3);
    EXPECT_NEAR(r2.width(), 50, 3);
    EXPECT_NEAR(r2.right(), bar->width() - 1, 3) << "the progress panel ends the bar";
    EXPECT_GE(r1.width(), 198);
    EXPECT_NEAR(r1.left(), 200, 1);
    EXPECT_GE(bar->height(), bar->fontMetrics().height() + 4) << "room for a line of text";
    EXPECT_EQ(bar->panelRect(3), QRect());

    const QImage shot = bar->grab().toImage();
    const int y = r0.center().y();
    const QColor inside = shot.pixelColor(r0.center().x(), y);
    EXPECT_NE(shot.pixelColor(r0.right(), y), inside);
    EXPECT_NE(shot.pixelColor(r1.left(), y), inside);
    EXPECT_NE(shot.pixelColor(r0.center().x(), r0.top()), inside);
}

// The bar covers the panel PIndex names, one pixel beyond its left, top and
// bottom; in the last panel the size grip's 12 pixels are left free at its
// right, in another one it goes to the panel's right edge. The panel it
// leaves shows its text again; indexes outside the panels are ignored.
TEST_F(StatusBarTest, TheProgressBarCoversThePanelPIndexNames) {
    QProgressBar* progress = bar->progressBar();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(bar->PIndex(), 2);
    for (int wrong : {-1, 3, 100}) {
        bar->setPIndex(wrong);
        EXPECT_EQ(bar->PIndex(), 2) << wrong;
    }
    bar->setPanelText(0, "提示");
    bar->setPanelText(2, "进度");
    for (const auto& [index, grip] :
         {std::pair{2, 12}, std::pair{1, 0}, std::pair{0, 0}, std::pair{2, 12}}) {
        ASSERT_TRUE(bar->setProperty("PIndex", index));
        EXPECT_EQ(bar->PIndex(), index);
        const QRect p = bar->panelRect(index);
        EXPECT_EQ(progress->geometry(), QRect(QPoint(p.left() - 1, p.top() - 1),
                                              QPoint(p.right() - grip, p.bottom() + 1)))
            << index;
        // Inside the bar, but in the first panel for the pixel left of it.
        EXPECT_TRUE(index == 0 || bar->rect().contains(progress->geometry())) << index;
        EXPECT_TRUE(progress->isVisible()) << index;
        EXPECT_EQ(label(0)->isVisible(), index != 0) << index;
        EXPECT_EQ(label(2)->isVisible(), index != 2) << index;
        EXPECT_EQ(label(0)->text() + '|' + label(2)->text(), "提示|进度") << index;
    }
    EXPECT_GT(progress->geometry().left(), bar->panelRect(1).right()) << "clear of the message";
    // And it follows the panel when the window is resized.
    bar->setPIndex(1);
    host.resize(800, 600);
    QApplication::processEvents();
    EXPECT_EQ(progress->geometry().right(), bar->panelRect(1).right());
    EXPECT_TRUE(progress->isVisible());
}

TEST_F(StatusBarTest, StatusTipsGoToTheHintPanelAndHideNothing) {
    bar->setPanelText(1, "计算的消息");
    QStatusTipEvent tip("状态提示");
    QApplication::sendEvent(button, &tip);
    EXPECT_EQ(bar->panelText(0), "状态提示");
    EXPECT_EQ(bar->panelText(1), "计算的消息");
    EXPECT_TRUE(label(0)->isVisible());
    EXPECT_TRUE(label(1)->isVisible());
    EXPECT_TRUE(bar->progressBar()->isVisible());

    // An action's status tip, as a menu shows it when the mouse is on it.
    QAction action("打开");
    action.setStatusTip("打开项目文件");
    action.showStatusText(button);
    EXPECT_EQ(bar->panelText(0), "打开项目文件");
    QStatusTipEvent none{QString()};
    QApplication::sendEvent(button, &none);
    EXPECT_EQ(bar->panelText(0), "");

    // Emptied by the program in between, the same tip shows again.
    action.showStatusText(button);
    bar->setPanelText(0, QString());
    EXPECT_EQ(bar->panelText(0), "");
    action.showStatusText(button);
    EXPECT_EQ(bar->panelText(0), "打开项目文件");

    // The tooltip of the control under the mouse, then the same text
    // through a status tip, is still shown; leaving it goes back to its
    // parent, which has no hint.
    QEvent enter(QEvent::Enter), leave(QEvent::Leave);
    QApplication::sendEvent(button, &enter);
    QStatusTipEvent same("按钮的提示");
    QApplication::sendEvent(button, &same);
    EXPECT_EQ(bar->panelText(0), "按钮的提示");
    QApplication::sendEvent(button, &leave);
    EXPECT_EQ(bar->panelText(0), "");
}

// The hints of the main window's own controls.
struct WindowHintsTest : testing::Test {
    void SetUp() override {
        window = ShowTestWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    std::unique_ptr<MainWindow> window;
};

TEST_F(WindowHintsTest, ToolbarButtonsPropertyButtonsAndFieldsShowTheirHints) {
    auto* toolBar = window->findChild<QToolBar*>("ToolBar1");
    ASSERT_NE(toolBar, nullptr);
    auto* field = qobject_cast<EditDWidget*>(window->widgetFor("MaoD"));
    ASSERT_NE(field, nullptr);
    field->setProperty("hint", "容器内物料的质量");
    field->setMark(EditDWidget::Mark::Missing, "理论面积还需要此项"); // its hint, not its mark
    const struct {
        QWidget* widget;
        const char* hint;
    } rows[] = {
        {toolBar->widgetForAction(window->findChild<QAction*>("SBClear")), "清除光标处数据"},
        {window->widgetFor("SBP11"), "选择膨胀系数"},
        {field, "容器内物料的质量"}};
    QEvent enter(QEvent::Enter), leave(QEvent::Leave);
    for (const auto& r : rows) {
        ASSERT_NE(r.widget, nullptr) << r.hint;
        QApplication::sendEvent(r.widget, &enter);
        EXPECT_EQ(window->myStatusBar()->panelText(0), r.hint);
        QApplication::sendEvent(r.widget, &leave);
        EXPECT_EQ(window->myStatusBar()->panelText(0), "") << r.hint;
    }
}

} // namespace
} // namespace kolvane
