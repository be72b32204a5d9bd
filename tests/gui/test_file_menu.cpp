#include "../core/TempDir.h"

#include "TestWindow.h"
#include "form/FormKolvane.h"
#include "gui/MainWindow.h"
#include "records/FormRecord.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

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

// The title carries "*" exactly while there are unsaved changes, a row a
// step.
TEST_F(FileMenuTest, TheTitleMarksUnsavedChanges) {
    const std::string a = project("a.kvp", "1"), b = project("b.kvp", "2");
    const QString plain = QStringLiteral("容器传热计算(Kolvane)V2012.10.01.10");
    const std::pair<const char*, std::function<void()>> rows[] = {
        {"a new window", [] {}},
        {"an edit", [&] { window->kolvane().field("MaoD").setText("5"); }},
        {"saved as a.kvp",
         [&] {
             DialogAutoAnswer().files = {a};
             window->run(WindowCommand::FileAs);
         }},
        {"a list changed", [&] { window->kolvane().list("PmD").Select(2); }},
        {"saved", [&] { window->run(WindowCommand::FileSave); }},
        {"an edit", [&] { window->kolvane().field("MaoD").setText("6"); }},
        {"another project opened, not saved", [&] {
             DialogAutoAnswer().answers = {Answer::No};
             DialogAutoAnswer().files = {b};
             window->run(WindowCommand::FileOpen);
         }}};
    QStringList titles;
    for (const auto& [step, act] : rows) {
        act();
        titles << window->windowTitle().replace(QString::fromStdString(dir.path().string()), "D");
    }
    EXPECT_EQ(titles.join(u'|'), plain + "|*" + plain + "|" + plain + "-[D/a.kvp]|*" + plain +
                                     "-[D/a.kvp]|" + plain + "-[D/a.kvp]|*" + plain +
                                     "-[D/a.kvp]|" + plain + "-[D/b.kvp]");
}

// The folder a file dialog starts in, a row a case.
TEST(FileDialogs, StartInTheProjectsFolderElseTheDocumentsFolder) {
    TempDir dir;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString fallback = QFileInfo(documents).isDir() ? documents : QDir::homePath();
    const std::pair<std::string, QString> rows[] = {
        {dir.path().string(), QString::fromStdString(dir.path().string())},
        {"", fallback},
        {dir.file("gone"), fallback},
        {dir.file("a.kvp"), fallback}, // a file, not a folder
    };
    testing_support::WriteBytes(dir.file("a.kvp"), "x");
    for (const auto& [asked, expected] : rows)
        EXPECT_EQ(DialogFolder(asked), expected) << asked;
}

struct FileKeysTest : testing::Test {
    TempDir dir;
    std::unique_ptr<MainWindow> window = ShowTestWindow();
    void SetUp() override { ASSERT_TRUE(QTest::qWaitForWindowActive(window.get())); }
    void press(Qt::Key key) {
        QWidget* at = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
        QTest::keyClick(at, key, Qt::ControlModifier);
        QApplication::processEvents();
    }
};

// Ctrl+N, Ctrl+O and Ctrl+S run New, Open and Save, also with the cursor in
// a field; the dialogs start in the project's folder, the report's too.
TEST_F(FileKeysTest, CtrlNOAndSRunTheFileCommands) {
    ScriptedUiServices ui;
    TFormKolvane other(ui);
    other.field("MaoD").setText("42");
    const std::string a = dir.file("a.kvp"), t = dir.file("t.kvt");
    SaveFormRecord(other.form(), a, false, {});
    other.SaveTemplate(t);
    window->widgetFor("TaoD")->setFocus();
    AutoAnswer& answers = DialogAutoAnswer();

    answers.files = {a};
    press(Qt::Key_O);
    EXPECT_EQ(window->kolvane().ProjectFileName(), a);
    EXPECT_EQ(answers.folders, std::vector<std::string>{""}) << "no project yet: documents";

    window->kolvane().field("MaoD").setText("43");
    press(Qt::Key_S);
    EXPECT_FALSE(window->kolvane().ProjectChanged());
    EXPECT_NE(testing_support::ReadBytes(a).find("Text\r\n43\r\n"), std::string::npos);

    answers.files = {t};
    press(Qt::Key_N);
    EXPECT_EQ(window->kolvane().ProjectFileName(), "") << "a new project from the template";
    EXPECT_EQ(window->kolvane().field("MaoD").text(), "42");
    ASSERT_EQ(answers.folders.size(), 2u) << "Save wrote without a dialog";
    EXPECT_EQ(answers.folders[1], dir.path().string());

    window->openProject(a);
    window->run(WindowCommand::ReportSave); // cancelled
    EXPECT_EQ(answers.folders.back(), dir.path().string());
    EXPECT_TRUE(answers.shown.empty()) << answers.shown.front();
}

} // namespace
} // namespace kolvane
