// The property library window in Qt: it shows the library's state and
// carries the user's choice; the commands themselves are tested in
// tests/core/test_simp_props.cpp.
#include "../core/TempDir.h"

#include "form/FormKolvane.h"
#include "form/SimpProps.h"
#include "gui/ControlWidgets.h"
#include "gui/MainWindow.h"
#include "gui/MyValuesWidget.h"
#include "gui/PropLibDialog.h"
#include "props/PropLib.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cstdlib>

namespace kolvane {
namespace {

using testing_support::TempDir;

struct PropLibDialogTest : testing::Test {
    TempDir program, data;
    std::unique_ptr<MainWindow> window;
    PropLibDialog* dialog = nullptr;

    void SetUp() override {
        // No user copy of the library: the one in the program folder is read.
        setenv("XDG_DATA_HOME", data.path().c_str(), 1);
        SavePropLib(program.file("PropLib.db"),
                    {{"001", "水", "Water", "0,4217;20,4182;40,4179", "998", "0.001", "0.6", "", "",
                      "test"},
                     {"002", "空气(气)", "Air", "1005", "1.205", "", "", "", "", ""}});
        DialogAutoAnswer() = AutoAnswer{};
        DialogAutoAnswer().on = true;
        window = std::make_unique<MainWindow>(program.path().string() + "/");
        window->loadPropertyLibrary();
        window->show();
        dialog = window->propLibDialog();
    }
    void TearDown() override { unsetenv("XDG_DATA_HOME"); }

    TFormSimpPL& lib() { return window->propLib(); }
    QPushButton* button(const char* name) { return dialog->findChild<QPushButton*>(name); }
    void nav(const char* hint) { dialog->navigatorButton(QString::fromUtf8(hint))->click(); }
    QStringList visibleNavigator() {
        QStringList out;
        for (auto* b : dialog->findChildren<QToolButton*>())
            if (b->isVisibleTo(dialog)) out << b->toolTip();
        return out;
    }
    // Presses a property button of the main window and runs `steps` while
    // the library window is open; the window is closed afterwards if the
    // steps did not close it.
    void whileOpen(const char* caller, const std::function<void()>& steps) {
        bool ran = false;
        QTimer::singleShot(0, dialog, [&] {
            ran = true;
            dialog->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
            steps();
            if (dialog->isVisible()) dialog->reject();
        });
        static_cast<QPushButton*>(window->widgetFor(caller))->click();
        EXPECT_TRUE(ran) << "the library window did not open";
    }
};

TEST_F(PropLibDialogTest, ListsTheRecordsAndARowClickedBecomesCurrent) {
    whileOpen("SBP1", [&] {
        QTableWidget* list = dialog->recordList();
        ASSERT_EQ(list->rowCount(), 2);
        EXPECT_EQ(list->item(1, 1)->text(), "空气(气)");
        EXPECT_EQ(dialog->shownField("CN")->text(), "水");
        EXPECT_EQ(visibleNavigator(), (QStringList{"开头", "上一个", "下一个", "最后", "刷新"}));

        const QRect row = list->visualRect(list->model()->index(1, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
        EXPECT_EQ(lib().current(), 1);
        EXPECT_EQ(dialog->shownField("EN")->text(), "Air");
        EXPECT_TRUE(dialog->shownField("EN")->isReadOnly());
        EXPECT_FALSE(dialog->navigatorButton("下一个")->isEnabled()); // on the last record
        nav("开头");
        EXPECT_EQ(lib().current(), 0);
        EXPECT_EQ(list->currentRow(), 0);
    });
}

TEST_F(PropLibDialogTest, ComputedResultsAreCarriedOnConfirmAndThePassRuns) {
    int passes = 0;
    auto& k = window->kolvane();
    k.onPassReport = [&passes, show = k.onPassReport] {
        ++passes;
        show();
    };
    whileOpen("SBP1", [&] {
        // A temperature typed into the grid counts once the button is pressed.
        MyValuesWidget* grid = dialog->grid();
        const QModelIndex cell = grid->model()->index(0, TMyValues::kColValue);
        grid->setCurrentIndex(cell);
        if (!grid->indexWidget(cell)) grid->edit(cell);
        auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(cell));
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, "40");
        QTest::mouseClick(button("BBCal"), Qt::LeftButton);
        EXPECT_EQ(lib().MyValues1().ValueByName("t"), "40");
        EXPECT_EQ(dialog->resultEdit("CPD")->text(), "4179");
        // Shown in kJ/(kg.K) at once, carried in the main field's own unit.
        lib().form().get<TComboBox>("CPU").Select(1);
        EXPECT_EQ(dialog->resultEdit("CPD")->text(), "4.179");
        button("BBOK")->click();
        EXPECT_FALSE(dialog->isVisible());
    });
    EXPECT_DOUBLE_EQ(k.field("CopD").SIValue(), 4179);
    EXPECT_EQ(passes, 1);

    // Closing carries nothing and runs no pass.
    whileOpen("SBP2", [&] { button("BBClose")->click(); });
    EXPECT_EQ(k.field("CipD").text(), "");
    EXPECT_EQ(passes, 1);
}

// Alt+C belongs to "&C 计算" alone (two buttons sharing it would only pass
// the focus between them), Esc closes the window and carries nothing, like
// "关闭".
TEST_F(PropLibDialogTest, AltCIsComputeAloneAndEscCloses) {
    auto& k = window->kolvane();
    whileOpen("SBP1", [&] {
        EXPECT_EQ(button("BBClose")->text(), QStringLiteral("关闭"));
        QStringList withAltC;
        for (auto* b : dialog->findChildren<QAbstractButton*>())
            if (QKeySequence::mnemonic(b->text()) == QKeySequence(Qt::ALT | Qt::Key_C))
                withAltC << b->objectName();
        EXPECT_EQ(withAltC, QStringList{"BBCal"});
        QWidget* at = QApplication::focusWidget() ? QApplication::focusWidget() : dialog;
        QTest::keyClick(at, Qt::Key_Escape);
        EXPECT_FALSE(dialog->isVisible());
    });
    EXPECT_EQ(k.field("CopD").text(), "");
    EXPECT_FALSE(k.ProjectChanged());
}

TEST_F(PropLibDialogTest, TheAccessCodeOpensTheMaintenancePageOnlyWhenRight) {
    whileOpen("SBP1", [&] {
        dialog->accessCode()->setText("Velmisk");
        button("BitBtn1")->click();
        EXPECT_FALSE(dialog->pages()->isTabVisible(1)) << "the code is case-sensitive";
        EXPECT_EQ(dialog->accessCode()->echoMode(), QLineEdit::Password);

        dialog->accessCode()->setText("velmisk");
        button("BitBtn1")->click();
        EXPECT_TRUE(dialog->pages()->isTabVisible(1));
        EXPECT_EQ(dialog->pages()->currentIndex(), 1);
        // The window widens to make room for the maintenance page.
        EXPECT_EQ(QString("%1 %2").arg(dialog->width()).arg(dialog->pages()->width()), "945 670");
        EXPECT_EQ(visibleNavigator().size(), 10);
    });
    // A new opening hides the page again and empties the code.
    whileOpen("SBP1", [&] {
        EXPECT_FALSE(dialog->pages()->isTabVisible(1));
        EXPECT_EQ(dialog->accessCode()->text(), "");
        EXPECT_EQ(dialog->width(), 645);
    });
}

TEST_F(PropLibDialogTest, MaintenanceEditsPostCancelDeleteAndSave) {
    whileOpen("SBP1", [&] {
        dialog->accessCode()->setText(TFormSimpPL::kAccessCode);
        button("BitBtn1")->click();
        auto* en = qobject_cast<QLineEdit*>(dialog->maintenanceField("EN"));
        ASSERT_NE(en, nullptr);
        en->setFocus();
        en->end(false);
        QTest::keyClicks(en, " (pure)");
        EXPECT_TRUE(lib().editing());
        EXPECT_TRUE(dialog->navigatorButton("确认")->isEnabled());
        nav("确认");
        EXPECT_FALSE(lib().editing());
        EXPECT_EQ(dialog->shownField("EN")->text(), "Water (pure)");

        // A number too long for its field is refused and the edit stays.
        auto* no = qobject_cast<QLineEdit*>(dialog->maintenanceField("NO"));
        QTest::keyClicks(no, "1234567");
        nav("确认");
        EXPECT_TRUE(lib().editing());
        EXPECT_EQ(DialogAutoAnswer().shown.size(), 1u);
        nav("取消");
        EXPECT_EQ(no->text(), "001");

        button("BBSaveSys")->click();
        EXPECT_EQ(LoadPropLib(program.file("PropLib.db"))[0].EN, "Water (pure)");

        // Deleting asks first; No keeps the record.
        nav("删除");
        EXPECT_EQ(lib().records().size(), 2u);
        DialogAutoAnswer().answers = {Answer::Yes};
        nav("删除");
        ASSERT_EQ(dialog->recordList()->rowCount(), 1);
        EXPECT_EQ(dialog->recordList()->item(0, 1)->text(), "空气(气)");
    });
}

} // namespace
} // namespace kolvane
