// The pick list dialog and the pipe page in Qt: the dialog shows the core's
// list and hands the user's choice back; the lists themselves are tested in
// tests/core/test_pickers.cpp.
#include "../core/TempDir.h"

#include "form/FormKolvane.h"
#include "gui/MainWindow.h"
#include "gui/PickListDialog.h"
#include "gui/PipesPage.h"
#include "gui/QtUiServices.h"
#include "refdata/UnitPickList.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>

namespace kolvane {
namespace {

void ClickRow(QTableWidget* table, int row) {
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualItemRect(table->item(row, 1)).center());
}

TEST(PickListDialog, AClickCopiesTheValueTheArrowKeysOnlyMove) {
    const PickList& l = RoughnessList();
    TFormPickList list(l.values, l.names, l.unit, "0.10", l.caption, l.prompt);
    PickListDialog dialog(list);
    dialog.show();
    QTableWidget* t = dialog.table();
    EXPECT_EQ(dialog.windowTitle() + "|" + dialog.prompt()->text(),
              QString::fromStdString(std::string(l.caption) + "|" + l.prompt));
    EXPECT_EQ(t->currentRow(), 1);
    EXPECT_EQ(dialog.entryField()->text(), "0.10");

    QTest::keyClick(t, Qt::Key_Down);
    EXPECT_EQ(list.selected(), 2);
    EXPECT_EQ(dialog.entryField()->text(), "0.10") << "the keyboard copies nothing";

    ClickRow(t, 0);
    EXPECT_EQ(list.selected(), 0);
    EXPECT_EQ(dialog.entryField()->text(), "0.01");
    EXPECT_TRUE(t->selectionModel()->isRowSelected(0, {}));

    QTest::keyClicks(dialog.entryField(), "5");
    EXPECT_EQ(list.entry(), "0.015");
    EXPECT_TRUE(dialog.okButton()->isDefault());
    QTest::keyClick(t, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted) << "Enter is OK";
}

// A window whose program folder holds a Piples.db with the given rows; no
// rows means no file at all.
struct PickersWindow : testing::Test {
    testing_support::TempDir dir;
    std::unique_ptr<MainWindow> window;

    void open(const char* pipeRows) {
        DialogAutoAnswer() = AutoAnswer{};
        DialogAutoAnswer().on = true;
        sqlite3* db = nullptr;
        if (pipeRows && sqlite3_open(dir.file("Piples.db").c_str(), &db) == SQLITE_OK) {
            const std::string sql = std::string("CREATE TABLE Piples1 (ID INTEGER PRIMARY KEY, "
                                                "DN TEXT NOT NULL, Do REAL, Di REAL);"
                                                "CREATE TABLE Expand1 (ID INTEGER PRIMARY KEY, "
                                                "DN TEXT NOT NULL, Ec REAL NOT NULL);"
                                                "INSERT INTO Expand1 VALUES (1,'水',2.07);"
                                                "INSERT INTO Piples1 VALUES ") +
                                    pipeRows;
            EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        }
        sqlite3_close(db);
        window = std::make_unique<MainWindow>(dir.path().string() + "/");
        window->show();
    }
    void press(const char* button) {
        auto* b = qobject_cast<QPushButton*>(window->widgetFor(button));
        ASSERT_NE(b, nullptr) << button;
        b->click();
    }
    QWidget* currentPage() { return window->pages()->currentWidget(); }
    QWidget* pageOf(const char* name) {
        for (int i = 0; i < window->pages()->count(); ++i)
            if (window->pages()->widget(i)->isAncestorOf(window->widgetFor(name)))
                return window->pages()->widget(i);
        return nullptr;
    }
    // Presses `button` and runs `act` on the real pick list once it is shown
    // modally.
    void pickWith(const char* button, const std::function<void(PickListDialog&)>& act) {
        DialogAutoAnswer().on = false;
        auto* timer = new QTimer(window.get());
        QObject::connect(timer, &QTimer::timeout, [timer, act] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* d = qobject_cast<PickListDialog*>(w); d && d->isVisible()) {
                    timer->stop();
                    act(*d);
                }
        });
        timer->start(10);
        press(button);
        DialogAutoAnswer().on = true;
    }
};

TEST_F(PickersWindow, OkReturnsTheEntryCancelChangesNothing) {
    open(nullptr);
    TEditD& roughness = window->kolvane().field("EiD");
    roughness.SetSIValue(1e-4);
    const std::string before = roughness.text();
    pickWith("SBP5", [](PickListDialog& d) {
        ClickRow(d.table(), 2);
        d.cancelButton()->click();
    });
    EXPECT_EQ(roughness.text(), before);

    pickWith("SBP5", [](PickListDialog& d) {
        EXPECT_EQ(d.entryField()->text(), "0.10") << "the dialog opens on the field's value";
        ClickRow(d.table(), 2);
        QTest::keyClick(d.table(), Qt::Key_Enter);
    });
    EXPECT_DOUBLE_EQ(roughness.SIValue(), 3e-4);

    pickWith("SBP3", [](PickListDialog& d) {
        ClickRow(d.table(), 3);
        d.okButton()->click();
    });
    EXPECT_EQ(window->kolvane().field("DspD").text(), "2.5");
}

TEST_F(PickersWindow, ThePipePageListsMovesAndSelects) {
    open("(1,'38×3',38,32),(2,'57×3.5',0,0),(3,'89×4',89,81)");
    PipesPage* page = window->pipesPage();
    QTableWidget* t = page->table();
    EXPECT_FALSE(page->note()->isVisibleTo(page));
    ASSERT_EQ(t->rowCount(), 3);
    EXPECT_EQ(t->item(1, 1)->text() + " " + t->item(2, 3)->text(), "57×3.5 81");

    press("SBDi");
    EXPECT_EQ(currentPage(), pageOf("BTPipeSelect"));
    EXPECT_FALSE(page->navigatorButton("上一个")->isEnabled());
    page->navigatorButton("最后")->click();
    EXPECT_EQ(window->kolvane().refTables().currentPipe(), 2);
    EXPECT_EQ(t->currentRow(), 2);
    EXPECT_FALSE(page->navigatorButton("下一个")->isEnabled());
    ClickRow(t, 1);
    EXPECT_EQ(window->kolvane().refTables().currentPipe(), 1);

    press("BTPipeSelect");
    EXPECT_DOUBLE_EQ(window->kolvane().field("dioD").SIValue(), 0.057);
    EXPECT_EQ(currentPage(), pageOf("dioD"));

    // The stored diameters of row 2 were never computed: "维护" computes
    // them, and the table shows them at once.
    EXPECT_EQ(t->item(1, 2)->text(), "0");
    press("BTPipeMaintain");
    EXPECT_EQ(t->item(1, 2)->text() + " " + t->item(1, 3)->text(), "57 50");
    EXPECT_EQ(t->currentRow(), 1) << "the current pipe stays";
}

TEST_F(PickersWindow, WithoutReferenceDataThePageSaysWhy) {
    open(nullptr);
    PipesPage* page = window->pipesPage();
    const auto& tables = window->kolvane().refTables();
    ASSERT_FALSE(tables.available());
    EXPECT_TRUE(page->note()->isVisibleTo(page));
    EXPECT_FALSE(page->table()->isVisibleTo(page));
    EXPECT_EQ(page->note()->text(),
              QStringLiteral("参考数据不可用：") + QString::fromStdString(tables.problem()));
    EXPECT_TRUE(page->note()->text().contains("Piples.db")) << "the missing file is named";
    // The buttons stay and tell the same when pressed.
    press("BTPipeSelect");
    ASSERT_EQ(DialogAutoAnswer().shown.size(), 1u);
    EXPECT_EQ(QString::fromStdString(DialogAutoAnswer().shown[0]), page->note()->text());
}

} // namespace
} // namespace kolvane
