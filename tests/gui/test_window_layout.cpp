#include "gui/MainWindow.h"
#include "gui/QtUiServices.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace kolvane {
namespace {

struct LayoutTest : testing::Test {
    void SetUp() override {
        DialogAutoAnswer() = AutoAnswer{};
        DialogAutoAnswer().on = true;
        UseApplicationFont();
        window = std::make_unique<MainWindow>("/tmp/");
        window->openProject(KOLVANE_EXAMPLES_DIR "/hot-water-storage-tank.kvp");
    }
    // Every visible widget of page `index`, shown in a window of `size`,
    // lies inside the part of the window the page shows, the scroll area's
    // viewport, and inside its own parent; no scroll bar shows.
    void expectAllVisible(int index, QSize size) {
        window->pages()->setCurrentIndex(index);
        window->resize(size);
        window->show();
        QApplication::processEvents();
        const std::string which =
            window->pages()->tabText(index).toStdString() + " at " + std::to_string(size.width());
        EXPECT_EQ(window->size(), size) << which;
        auto* page = qobject_cast<QScrollArea*>(window->pages()->widget(index));
        ASSERT_NE(page, nullptr) << which;
        EXPECT_FALSE(page->horizontalScrollBar()->isVisible()) << which;
        EXPECT_FALSE(page->verticalScrollBar()->isVisible()) << which;
        const QRect shown = page->viewport()->rect();
        int checked = 0;
        for (QWidget* w : page->widget()->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(page->widget()) || w->isWindow()) continue;
            const std::string what =
                which + ": " + w->metaObject()->className() + " " + w->objectName().toStdString();
            const QRect at(w->mapTo(page->viewport(), QPoint(0, 0)), w->size());
            EXPECT_TRUE(shown.contains(at))
                << what << " reaches " << at.right() << "," << at.bottom();
            QWidget* parent = w->parentWidget();
            if (parent && parent != page->widget()) {
                EXPECT_TRUE(parent->rect().contains(w->geometry()))
                    << what << " cut by " << parent->objectName().toStdString();
            }
            // A group squeezed below what it needs is cut as well.
            const QSize need = w->minimumSizeHint();
            if (need.isValid() && qobject_cast<QGroupBox*>(w)) {
                EXPECT_GE(w->width(), need.width()) << what;
                EXPECT_GE(w->height(), need.height()) << what;
            }
            ++checked;
        }
        EXPECT_GT(checked, 0) << which;
    }
    std::unique_ptr<MainWindow> window;
};

TEST_F(LayoutTest, EveryPageFitsAt1024By768And1280By1024) {
    for (QSize size : {QSize(1024, 768), QSize(1280, 1024)}) {
        for (int i = 0; i < window->pages()->count(); ++i) {
            // The curve page draws itself to its size.
            if (qobject_cast<QScrollArea*>(window->pages()->widget(i))) expectAllVisible(i, size);
        }
        // The calculation page's groups of fields are all there, none hidden
        // to make it fit.
        window->pages()->setCurrentIndex(1);
        for (const char* name : {"GBBasic", "GBSummary", "GBVesselBalance", "GBVesselParams",
                                 "GBTubeBalance", "GBTubeParams"})
            EXPECT_TRUE(window->widgetFor(name) && window->widgetFor(name)->isVisible()) << name;
    }
}

TEST_F(LayoutTest, ActivationPutsAMovedOrResizedWindowBack) {
    window->show();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->resize(700, 500);
    window->move(40, 30);
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QApplication::processEvents();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(window->size(), QSize(1024, 768));
    EXPECT_EQ(window->pos(), QPoint(0, 0));
}

TEST_F(LayoutTest, AScreenshotKeepsTheSizeItAsksFor) {
    const QString path = QDir::tempPath() + "/kolvane-layout-shot.png";
    ASSERT_TRUE(window->saveScreenshot(path, 1, QSize(1280, 1024)));
    EXPECT_EQ(QImage(path).size(), QSize(1280, 1024));
    QApplication::setActiveWindow(window.get());
    QApplication::processEvents();
    EXPECT_EQ(window->size(), QSize(1280, 1024)) << "an activation keeps the asked size";
    // A page or menu that is not there writes nothing.
    QFile::remove(path);
    EXPECT_FALSE(window->saveScreenshot(path, window->pages()->count(), QSize(1024, 768)));
    EXPECT_FALSE(window->saveScreenshot(path, -1, QSize(1024, 768)));
    EXPECT_FALSE(window->saveScreenshot(path, 1, QSize(1024, 768), "MNothing"));
    EXPECT_FALSE(QFile::exists(path));
    // A menu drawn open changes the picture below its title.
    ASSERT_TRUE(window->saveScreenshot(path, 1, QSize(1024, 768)));
    const QImage closed(path);
    ASSERT_TRUE(window->saveScreenshot(path, 1, QSize(1024, 768), "MReport"));
    const QImage open(path);
    ASSERT_EQ(open.size(), closed.size());
    EXPECT_NE(open, closed);
    QFile::remove(path);
}

} // namespace
} // namespace kolvane
