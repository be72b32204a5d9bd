#include "../core/TempDir.h"

#include "engine/FormKolvane.h"
#include "gui/MainWindow.h"
#include "records/FormRecord.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <gtest/gtest.h>

namespace kolvane {
namespace {

using testing_support::TempDir;

// The window's File menu and title follow its project; what the commands do
// to the project is the core's (test_project_commands, test_mru).
struct FileMenuTest : testing::Test {
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
    QString texts() const {
        QStringList out;
        for (QAction* a : window->fileMenu()->actions())
            out << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return out.join('|');
    }
    QAction* action(const QString& text) const {
        for (QAction* a : window->fileMenu()->actions())
            if (a->text() == text) return a;
        return nullptr;
    }
};

TEST_F(FileMenuTest, OpeningAProjectNamesItInTheTitleAndTheRecentFiles) {
    const QString a = QString::fromStdString(project("a.kvp", "1"));
    window->openProject(a.toStdString());
    EXPECT_EQ(window->windowTitle(), "容器传热计算(Kolvane)V2012.10.01.10-[" + a + "]");
    EXPECT_EQ(texts(), "&N 新建|&O 打开|-|&S 保存|&A 另存为|&T 存为模板|-|&1  " + a + "|-|&E 退出");
    EXPECT_FALSE(action("&S 保存")->isEnabled());
}

TEST_F(FileMenuTest, ARecentEntryReopensItsProject) {
    const QString a = QString::fromStdString(project("a.kvp", "1"));
    window->openProject(a.toStdString());
    window->openProject(project("b.kvp", "2"));
    QAction* entry = action("&2  " + a);
    ASSERT_NE(entry, nullptr);
    entry->trigger();
    QApplication::processEvents(); // the old entries go with the event loop
    EXPECT_EQ(window->kolvane().field("MaoD").text(), "1");
    EXPECT_TRUE(window->windowTitle().contains(a));
    ASSERT_NE(action("&1  " + a), nullptr);
    EXPECT_TRUE(action("&1  " + a)->isEnabled());
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
