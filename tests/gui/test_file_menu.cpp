#include "../core/TempDir.h"

#include "engine/FormKolvane.h"
#include "gui/MainWindow.h"
#include "records/FormRecord.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

namespace kolvane {
namespace {

using testing_support::TempDir;

// The application object: the one the test program made, or one made here.
void EnsureApplication() {
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "test_file_menu";
    static char* argv[] = {name, nullptr};
    // Never destroyed: it must outlive every widget of every test.
    new QApplication(argc, argv);
}

struct FileMenuTest : testing::Test {
    static void SetUpTestSuite() { EnsureApplication(); }

    TempDir dir;
    std::unique_ptr<MainWindow> window;

    void SetUp() override {
        window = std::make_unique<MainWindow>(dir.path().string() + "/");
        window->show();
    }
    std::string project(const char* name, const char* mass) {
        ScriptedUiServices ui;
        TFormKolvane other(ui);
        other.field("MaoD").setText(mass);
        std::string p = dir.file(name);
        SaveFormRecord(other.form(), p, false, {});
        return p;
    }
    QStringList texts() const {
        QStringList out;
        for (QAction* a : window->fileMenu()->actions())
            out << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    }
    QAction* action(const QString& text) const {
        for (QAction* a : window->fileMenu()->actions())
            if (a->text() == text) return a;
        return nullptr;
    }
};

TEST_F(FileMenuTest, OpeningAProjectNamesItInTheTitleAndTheRecentFiles) {
    EXPECT_EQ(texts(), (QStringList{"&N 新建", "&O 打开", "-", "&S 保存", "&A 另存为",
                                    "&T 存为模板", "-", "&E 退出"}));
    std::string a = project("a.kvp", "1");
    window->openProject(a);
    QString qa = QString::fromStdString(a);
    EXPECT_EQ(window->windowTitle(),
              QStringLiteral("容器传热计算(Kolvane)V2012.10.01.10-[") + qa + "]");
    EXPECT_EQ(texts(), (QStringList{"&N 新建", "&O 打开", "-", "&S 保存", "&A 另存为",
                                    "&T 存为模板", "-", "&1  " + qa, "-", "&E 退出"}));
    EXPECT_FALSE(action("&S 保存")->isEnabled());
}

TEST_F(FileMenuTest, ARecentEntryReopensItsProject) {
    std::string a = project("a.kvp", "1"), b = project("b.kvp", "2");
    window->openProject(a);
    window->openProject(b);
    QAction* entry = action("&2  " + QString::fromStdString(a));
    ASSERT_NE(entry, nullptr);
    entry->trigger();
    QApplication::processEvents(); // the old entries go with the event loop
    EXPECT_EQ(window->kolvane().field("MaoD").text(), "1");
    EXPECT_NE(window->windowTitle().indexOf(QString::fromStdString(a)), -1);
    EXPECT_EQ(action("&1  " + QString::fromStdString(a))->isEnabled(), true);
    EXPECT_EQ(texts().size(), 11);
}

TEST_F(FileMenuTest, AnUnchangedProjectClosesWithoutAsking) {
    window->openProject(project("a.kvp", "1"));
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(FileMenuTest, TheToolbarSaveButtonWritesTheProject) {
    std::string a = project("a.kvp", "1");
    window->openProject(a);
    window->kolvane().field("MaoD").setText("3");
    EXPECT_TRUE(action("&S 保存")->isEnabled());
    auto* save = window->findChild<QAction*>("SBFSave");
    ASSERT_NE(save, nullptr);
    save->trigger();
    EXPECT_FALSE(window->kolvane().ProjectChanged());
    EXPECT_FALSE(action("&S 保存")->isEnabled());
    EXPECT_NE(testing_support::ReadBytes(a).find("Text\r\n3\r\n"), std::string::npos);
}

} // namespace
} // namespace kolvane
