#include "../core/TempDir.h"
#include "TestWindow.h"

#include "form/Controls.h"
#include "form/FormKolvane.h"
#include "gui/ReportView.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

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
}

// The hints a line, "-" for a gap; every button draws an icon of its own.
TEST_F(MenusToolbarTest, EveryToolbarButtonHasItsHintAndAnIconOfItsOwn) {
    auto* bar = window->findChild<QToolBar*>("ToolBar1");
    ASSERT_NE(bar, nullptr);
    QStringList hints;
    std::vector<QImage> pictures;
    for (QAction* a : bar->actions()) {
        hints << (a->isSeparator() ? "-" : a->toolTip());
        if (a->isSeparator()) continue;
        const std::string name = a->objectName().toStdString();
        EXPECT_EQ(a->statusTip(), a->toolTip()) << name;
        // An icon that draws something; the button shows it, not a text.
        ASSERT_FALSE(a->icon().isNull()) << name;
        const QImage picture = a->icon().pixmap(QSize(20, 20)).toImage();
        int ink = 0;
        for (int i = 0; i < picture.width() * picture.height(); ++i)
            ink += picture.pixelColor(i % picture.width(), i / picture.width()).alpha() > 0;
        EXPECT_GT(ink, 40) << name << " draws too little to be seen";
        auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a));
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonIconOnly) << name;
        for (const QImage& other : pictures)
            EXPECT_NE(picture, other) << name << " looks like another button";
        pictures.push_back(picture);
    }
    EXPECT_EQ(hints.join('|'), "新建|打开|保存|另存为|存为模板|-|指定塔径：此功能尚未提供|"
                               "圆整塔径：此功能尚未提供|链接PROII：此功能尚未提供|"
                               "链接Hysys：此功能尚未提供|系统设置：此功能尚未提供|-|生成报表|"
                               "保存报表|打印报表|导出PDF|打印结构示意图：此功能尚未提供|"
                               "清除光标处数据|这是什么？");
}

// Commands without a function are greyed out and say so; clicked, they do
// nothing. Every other entry is available.
TEST_F(MenusToolbarTest, EntriesWithoutAFunctionAreDisabledAndSaySo) {
    window->pages()->setCurrentIndex(1);
    const QString before = report();
    const std::string taoText = window->kolvane().field("TaoD").text();
    const std::set<std::string> without = {"MUPROII", "MUYSYS", "MUPM",        "MRPrintStruct",
                                           "MExit",   "SBUD0",  "SBURD0",      "SBPROII",
                                           "SBHysy",  "SBUPM",  "SBRPrintLoad"};
    auto* bar = window->findChild<QToolBar*>("ToolBar1");
    std::set<std::string> disabled;
    for (QAction* a : window->findChildren<QAction*>()) {
        const std::string name = a->objectName().toStdString();
        if (a->isSeparator() || name.empty() || a->property("recentFile").isValid()) continue;
        if (name == "MFSave") continue; // enabled with unsaved changes
        if (a->isEnabled()) {
            EXPECT_FALSE(a->toolTip().contains(QStringLiteral("此功能尚未提供"))) << name;
            continue;
        }
        disabled.insert(name);
        EXPECT_TRUE(a->toolTip().endsWith(QStringLiteral("此功能尚未提供"))) << name;
        // A menu item shows its tooltip only where its menu shows tooltips.
        for (QObject* o : a->associatedObjects())
            if (auto* menu = qobject_cast<QMenu*>(o); menu && !menu->objectName().isEmpty()) {
                EXPECT_TRUE(menu->toolTipsVisible()) << name;
            }
        // Clicked where the user clicks: nothing happens.
        if (auto* button = bar->widgetForAction(a)) {
            EXPECT_FALSE(button->isEnabled()) << name;
            QTest::mouseClick(button, Qt::LeftButton);
        } else {
            a->trigger();
        }
        QApplication::processEvents();
    }
    EXPECT_EQ(disabled, without);
    EXPECT_TRUE(answers.shown.empty());
    EXPECT_TRUE(answers.fileNames.empty());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->pages()->currentIndex(), 1);
    EXPECT_FALSE(window->kolvane().ProjectChanged());
    EXPECT_EQ(window->kolvane().field("TaoD").text(), taoText);
    EXPECT_EQ(report(), before);
}

TEST_F(MenusToolbarTest, TheVesselButtonOfTheCalculationPageOpensTheVesselPage) {
    window->pages()->setCurrentIndex(1);
    auto* button = qobject_cast<QPushButton*>(window->widgetFor("SBVessel"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QStringLiteral("容器定义…"));
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(window->pages()->tabText(window->pages()->currentIndex()),
              QStringLiteral("容器定义"));
    EXPECT_TRUE(answers.shown.empty());
    EXPECT_FALSE(window->kolvane().ProjectChanged());
}

TEST_F(MenusToolbarTest, TheReportMenuRunsWhatTheReportButtonsRun) {
    window->kolvane().form().get<TRichEdit>("RichEditReport").setText("旧的报告");
    action("MRSimple")->trigger();
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

// A name with a line break from any save dialog is told and written nowhere.
TEST_F(MenusToolbarTest, EverySaveDialogRefusesANameWithALineBreak) {
    action("MRSimple")->trigger();
    for (const char* command : {"MFAs", "MFTemp", "MRSave", "MRPdf"}) {
        answers.shown.clear();
        answers.files = {dir.file("two\nlines.kvp")};
        action(command)->trigger();
        ASSERT_EQ(answers.shown.size(), 1u) << command;
        EXPECT_NE(answers.shown[0].find("文件名含有换行符"), std::string::npos) << command;
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(MenusToolbarTest, AboutFromTheMenuBarAndTheHelpMenu) {
    // The real box, read and closed as soon as it shows.
    const QStringList seen = CloseRealBoxes([&] {
        action("MAbout")->trigger();
        action("MHAbout")->trigger();
    });
    const QString about = "欢迎使用|容器传热计算(Kolvane) V2012.10.01.10 版|" +
                          QString::number(QMessageBox::Information);
    EXPECT_EQ(seen, QStringList({about, about})) << "one box from each entry";
}

// When the page comes forward again after a change, the report is made anew
// from the fields as they are; with nothing changed it stays the same.
TEST_F(MenusToolbarTest, TheReportPageShowsTheFieldsAsTheyAreNow) {
    window->pages()->setCurrentIndex(reportPage());
    const QString first = report();
    window->pages()->setCurrentIndex(1);
    window->kolvane().field("TaoD").setText("7.25");
    window->pages()->setCurrentIndex(reportPage());
    EXPECT_NE(report(), first);
    EXPECT_TRUE(report().contains(QStringLiteral("7.2500"))) << report().toStdString();
    const QString second = report();
    window->pages()->setCurrentIndex(0);
    window->pages()->setCurrentIndex(reportPage());
    EXPECT_EQ(report(), second);
}

} // namespace
} // namespace kolvane
