#include "../core/TempDir.h"
#include "TestWindow.h"

#include "engine/Controls.h"
#include "engine/FormKolvane.h"
#include "gui/EditDWidget.h"
#include "gui/ReportView.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include <filesystem>

namespace kolvane {
namespace {

using testing_support::TempDir;

struct MenusToolbarTest : testing::Test {
    TempDir dir;
    std::unique_ptr<MainWindow> window;
    AutoAnswer& answers = DialogAutoAnswer();

    void SetUp() override {
        window = ShowTestWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->openProject(KOLVANE_EXAMPLES_DIR "/hot-water-storage-tank.kvp");
        answers.shown.clear();
    }
    QAction* action(const char* name) { return window->findChild<QAction*>(name); }
    int reportPage() const {
        for (int i = 0; i < window->pages()->count(); ++i)
            if (window->pages()->tabText(i) == QStringLiteral("计算报告")) return i;
        return -1;
    }
    QString report() const { return window->reportView()->toPlainText(); }
};

// The menu bar, a line a menu: its title and items, "-" for a separator, all
// between "|"; the recent-file entries are left out.
QStringList MenuOutline(QMenuBar* bar) {
    QStringList out;
    for (QAction* top : bar->actions()) {
        QStringList menu{top->text()};
        for (QAction* a : top->menu() ? top->menu()->actions() : QList<QAction*>())
            if (!a->property("recentFile").isValid()) menu << (a->isSeparator() ? "-" : a->text());
        out << menu.join(u'|');
    }
    return out;
}

TEST_F(MenusToolbarTest, TheMenuBarHasItsCaptionsAcceleratorsAndSeparatorsInOrder) {
    EXPECT_EQ(
        MenuOutline(window->menuBar()),
        (QStringList{"&F 文件|&N 新建|&O 打开|-|&S 保存|&A 另存为|&T 存为模板|-|&E 退出",
                     "&U 工具|&P 链接PROII|&H 链接HYSYS|-|&M 系统设置",
                     "&R 报表|&M 生成报表|&S 保存报表 |-|&P 打印报表|&F 导出PDF|&D 打印结构示意图",
                     "&A 关于", "&H 帮助|&D 帮助文档|&A 关于Kolvane", "&E 结束"}));
    for (const char* name : {"MFNew", "MFOpen", "MFSave", "MFAs", "MFTemp", "MFExit", "MUPROII",
                             "MUYSYS", "MUPM", "MRSimple", "MRSave", "MRPrintRep", "MRPdf",
                             "MRPrintStruct", "MAbout", "MHPDF", "MHAbout", "MExit"})
        EXPECT_NE(action(name), nullptr) << name;
    // 保存 waits for a change; a project just opened has none.
    EXPECT_FALSE(action("MFSave")->isEnabled());
    window->kolvane().field("TaoD").setText("5");
    EXPECT_TRUE(action("MFSave")->isEnabled());
}

TEST_F(MenusToolbarTest, EveryToolbarButtonHasItsHintAndAnIconOfItsOwn) {
    struct Tool {
        const char* name;
        const char* hint;
    };
    const Tool expected[] = {
        {"SBFNew", "新建"},        {"SBFOpen", "打开"},     {"SBFSave", "保存"},
        {"SBFAs", "另存为"},       {"SBFTemp", "存为模板"}, {"", ""},
        {"SBUD0", "指定塔径"},     {"SBURD0", "圆整塔径"},  {"SBPROII", " 链接PROII"},
        {"SBHysy", " 链接Hysys"},  {"SBUPM", "系统设置"},   {"", ""},
        {"SBRSimple", "生成报表"}, {"SBRSave", "保存报表"}, {"SBRPrintRep", "打印报表"},
        {"SBRPdf", "导出PDF"},     {"SBRPrintLoad", ""},    {"SBClear", "清除光标处数据"},
        {"SBHPDF", "这是什么？"},
    };
    auto* bar = window->findChild<QToolBar*>("ToolBar1");
    ASSERT_NE(bar, nullptr);
    const QList<QAction*> actions = bar->actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(std::size(expected)));
    std::vector<QImage> pictures;
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        QAction* a = actions[static_cast<qsizetype>(i)];
        const Tool& t = expected[i];
        if (!*t.name) {
            EXPECT_TRUE(a->isSeparator()) << "gap before " << expected[i + 1].name;
            continue;
        }
        EXPECT_EQ(a->objectName(), QString::fromUtf8(t.name));
        EXPECT_EQ(a->toolTip(), QString::fromUtf8(t.hint)) << t.name;
        EXPECT_EQ(a->statusTip(), QString::fromUtf8(t.hint)) << t.name;
        // An icon that draws something; the button shows it, not a text.
        ASSERT_FALSE(a->icon().isNull()) << t.name;
        const QImage picture = a->icon().pixmap(QSize(20, 20)).toImage();
        int ink = 0;
        for (int i = 0; i < picture.width() * picture.height(); ++i)
            ink += picture.pixelColor(i % picture.width(), i / picture.width()).alpha() > 0;
        EXPECT_GT(ink, 40) << t.name << " draws too little to be seen";
        auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a));
        ASSERT_NE(button, nullptr) << t.name;
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonIconOnly) << t.name;
        for (const QImage& other : pictures)
            EXPECT_NE(picture, other) << t.name << " looks like another button";
        pictures.push_back(picture);
    }
}

TEST_F(MenusToolbarTest, EntriesWithoutACommandDoNothing) {
    window->pages()->setCurrentIndex(1);
    const QString before = report();
    const std::string taoText = window->kolvane().field("TaoD").text();
    for (const char* name : {"MUPROII", "MUYSYS", "MUPM", "MRPrintStruct", "MExit", "SBUD0",
                             "SBURD0", "SBPROII", "SBHysy", "SBUPM", "SBRPrintLoad"}) {
        QAction* a = action(name);
        ASSERT_NE(a, nullptr) << name;
        a->trigger();
        QApplication::processEvents();
        EXPECT_TRUE(answers.shown.empty()) << name;
        EXPECT_TRUE(answers.fileNames.empty()) << name;
        EXPECT_TRUE(window->isVisible()) << name << " closed the window";
        EXPECT_EQ(window->pages()->currentIndex(), 1) << name;
    }
    EXPECT_FALSE(window->kolvane().ProjectChanged());
    EXPECT_EQ(window->kolvane().field("TaoD").text(), taoText);
    EXPECT_EQ(report(), before);
}

TEST_F(MenusToolbarTest, TheReportMenuRunsWhatTheReportButtonsRun) {
    window->kolvane().form().get<TRichEdit>("RichEditReport").setText("旧的报告");
    action("MRSimple")->trigger();
    EXPECT_TRUE(report().contains(QStringLiteral("容器传热计算报告")));
    EXPECT_FALSE(report().contains(QStringLiteral("旧的报告")));
    EXPECT_EQ(window->pages()->currentIndex(), reportPage());

    const std::string menuDoc = dir.file("menu.doc"), barDoc = dir.file("bar.doc");
    answers.files = {menuDoc, barDoc};
    action("MRSave")->trigger();
    action("SBRSave")->trigger();
    ASSERT_TRUE(std::filesystem::exists(menuDoc));
    ASSERT_TRUE(std::filesystem::exists(barDoc));
    EXPECT_EQ(std::filesystem::file_size(menuDoc), std::filesystem::file_size(barDoc));

    const std::string pdf = dir.file("menu.pdf");
    answers.files = {pdf};
    action("MRPdf")->trigger();
    EXPECT_TRUE(std::filesystem::exists(pdf));
    EXPECT_TRUE(answers.shown.empty()) << answers.shown.front();
}

TEST_F(MenusToolbarTest, AboutFromTheMenuBarAndTheHelpMenu) {
    // The real box, read and closed as soon as it shows.
    answers.on = false;
    QStringList seen;
    QTimer close;
    QObject::connect(&close, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                seen << box->windowTitle() + '|' + box->text() + '|' + QString::number(box->icon());
                box->accept();
            }
    });
    close.start(10);
    action("MAbout")->trigger();
    action("MHAbout")->trigger();
    close.stop();
    answers.on = true;
    const QString about = "欢迎使用|容器传热计算(Kolvane) V2012.10.01.10 版|" +
                          QString::number(QMessageBox::Information);
    EXPECT_EQ(seen, QStringList({about, about})) << "one box from each entry";
}

TEST_F(MenusToolbarTest, TheReportPageShowsTheFieldsAsTheyAreNow) {
    window->pages()->setCurrentIndex(reportPage());
    const QString first = report();
    ASSERT_TRUE(first.contains(QStringLiteral("加热时间")));
    window->pages()->setCurrentIndex(1);
    auto* time = dynamic_cast<EditDWidget*>(window->widgetFor("TaoD"));
    ASSERT_NE(time, nullptr);
    time->setFocus(Qt::TabFocusReason);
    time->selectAll();
    QTest::keyClicks(time, "7.25");
    window->widgetFor("sfD")->setFocus(Qt::TabFocusReason); // left as a user leaves it
    QApplication::processEvents();
    EXPECT_EQ(report(), first) << "made when its page comes forward, not before";
    window->pages()->setCurrentIndex(reportPage());
    EXPECT_NE(report(), first);
    EXPECT_TRUE(report().contains(QStringLiteral("7.2500"))) << report().toStdString();
    // Selecting the page again with nothing changed gives the same report.
    const QString second = report();
    window->pages()->setCurrentIndex(0);
    window->pages()->setCurrentIndex(reportPage());
    EXPECT_EQ(report(), second);
}

TEST_F(MenusToolbarTest, ClearLeavesAnythingButAQuantityFieldAlone) {
    auto clearIn = [&](const char* name) {
        QWidget* w = window->widgetFor(name);
        ASSERT_NE(w, nullptr) << name;
        window->showPage(name);
        w->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), w) << name;
        action("SBClear")->trigger();
    };
    for (const char* name : {"HToD", "PhoD", "OBJNameD"}) {
        clearIn(name);
        EXPECT_TRUE(answers.shown.empty()) << name << " was asked about";
    }
    // A computed field answered No keeps its value and becomes an input.
    const std::string value = window->kolvane().field("QoD").text();
    ASSERT_FALSE(value.empty());
    answers.answers = {Answer::No};
    clearIn("QoD");
    ASSERT_EQ(answers.shown.size(), 1u);
    EXPECT_EQ(answers.shown[0], "你要清除数据:容器热量?");
    EXPECT_EQ(window->kolvane().field("QoD").text(), value);
    EXPECT_FALSE(dynamic_cast<EditDWidget*>(window->widgetFor("QoD"))->isReadOnly());
    EXPECT_EQ(window->kolvane().field("QoD").color(), kClWindow);
}

} // namespace
} // namespace kolvane
