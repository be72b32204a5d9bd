#include "TestWindow.h"
#include "form/FormKolvane.h"
#include "form/UiServices.h"
#include "gui/ControlWidgets.h"
#include "gui/EditDWidget.h"
#include "gui/FocusKeys.h"
#include "gui/MyStatusBar.h"
#include "gui/ReportView.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

namespace kolvane {
namespace {

std::string NameOf(const QWidget* x) {
    return x ? x->objectName().toStdString() : std::string("(none)");
}

struct FocusKeysTest : testing::Test {
    void SetUp() override {
        window = ShowTestWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    QWidget* w(const char* name) { return window->widgetFor(name); }
    EditDWidget* edit(const char* name) { return qobject_cast<EditDWidget*>(w(name)); }
    static QWidget* focused() { return QApplication::focusWidget(); }
    // Puts the focus into a control as a click would, without exit handling
    // of its own mattering to the test.
    void focus(QWidget* x) {
        x->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
        ASSERT_EQ(focused(), x);
    }
    // Where a key (Tab, Shift+Tab, Enter, an arrow) goes from a control.
    QWidget* press(QWidget* x, Qt::Key key, Qt::KeyboardModifiers mods = {}) {
        focus(x);
        QTest::keyClick(x, key, mods);
        return focused();
    }
    // Types over the text of a quantity field.
    void type(const char* name, const char* text) {
        EditDWidget* e = edit(name);
        focus(e);
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, text);
    }
    std::unique_ptr<MainWindow> window;
};

TEST_F(FocusKeysTest, EnterGoesWhereTabGoesAndNoControlSeesIt) {
    QWidget* afterTab = press(edit("TaoD"), Qt::Key_Tab);
    ASSERT_EQ(afterTab, edit("sfD")) << NameOf(afterTab) << ": the unit selector is no tab stop";
    QSignalSpy returned(edit("TaoD"), &QLineEdit::returnPressed);
    // The keypad's Enter is Enter as well.
    for (auto mods : {Qt::KeyboardModifiers{}, Qt::KeyboardModifiers{Qt::KeypadModifier}}) {
        const Qt::Key key = mods ? Qt::Key_Enter : Qt::Key_Return;
        EXPECT_EQ(press(edit("TaoD"), key, mods), afterTab) << key << ": " << NameOf(focused());
        EXPECT_EQ(returned.count(), 0) << key << " is consumed by the window";
    }
}

// Keys and the wheel on a closed choice box, a row each: where the cursor
// goes and what the box then shows. Only Alt+Down and a click open the list;
// nothing but a choice made in the list changes it.
TEST_F(FocusKeysTest, ArrowsMoveFromAChoiceBoxWithoutChangingIt) {
    enum class Goes { After, Before, Stays };
    struct Row {
        const char* name;
        std::function<void(QWidget*)> act;
        Goes goes;
        bool opens;
    };
    const Row rows[] = {
        {"Down", [](QWidget* x) { QTest::keyClick(x, Qt::Key_Down); }, Goes::After, false},
        {"Up", [](QWidget* x) { QTest::keyClick(x, Qt::Key_Up); }, Goes::Before, false},
        {"Alt+Down", [](QWidget* x) { QTest::keyClick(x, Qt::Key_Down, Qt::AltModifier); },
         Goes::Stays, true},
        {"a click", [](QWidget* x) { QTest::mouseClick(x, Qt::LeftButton); }, Goes::Stays, true},
        {"the wheel",
         [](QWidget* x) {
             QWheelEvent wheel(QPointF(5, 5), x->mapToGlobal(QPointF(5, 5)), {}, {0, -120},
                               Qt::NoButton, {}, Qt::NoScrollPhase, false);
             QApplication::sendEvent(x, &wheel);
         },
         Goes::Stays, false},
    };
    for (const char* name : {"PmD", "SmD", "EVTD", "PhiD"}) {
        auto* box = qobject_cast<ListWidget*>(w(name));
        ASSERT_NE(box, nullptr) << name;
        ASSERT_GE(box->count(), 2) << name;
        auto& list = window->kolvane().form().get<TComboBox>(name);
        window->guarded([&] { list.Select(1); });
        window->kolvane().setProjectChanged(false);
        QWidget* after = press(box, Qt::Key_Tab);
        QWidget* before = press(box, Qt::Key_Backtab);
        for (const Row& r : rows) {
            focus(box);
            r.act(box);
            QApplication::processEvents();
            const bool open = box->view()->isVisible();
            if (open) box->hidePopup();
            QWidget* now = focused();
            QWidget* expected = r.goes == Goes::After    ? after
                                : r.goes == Goes::Before ? before
                                                         : static_cast<QWidget*>(box);
            EXPECT_EQ(NameOf(now), NameOf(expected)) << name << ", " << r.name;
            EXPECT_EQ(open, r.opens) << name << ", " << r.name;
            EXPECT_EQ(box->currentIndex(), 1) << name << ", " << r.name;
            EXPECT_EQ(list.itemIndex(), 1) << name << ", " << r.name;
            EXPECT_FALSE(window->kolvane().ProjectChanged()) << name << ", " << r.name;
        }
    }
    // A quantity field moves the same way; with Ctrl the keys are its own.
    QWidget* after = press(edit("MaoD"), Qt::Key_Tab);
    EXPECT_EQ(press(edit("MaoD"), Qt::Key_Down), after) << NameOf(focused());
    EXPECT_EQ(press(edit("MaoD"), Qt::Key_Down, Qt::ControlModifier), edit("MaoD"));
}

TEST_F(FocusKeysTest, CommentAndReportBoxesKeepEnterAndTheArrows) {
    for (const char* name : {"CmtoD", "CmttD"}) {
        auto* box = qobject_cast<QPlainTextEdit*>(w(name));
        ASSERT_NE(box, nullptr) << name;
        focus(box);
        QTest::keyClicks(box, "ab");
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClicks(box, "c");
        QTest::keyClick(box, Qt::Key_Up);
        QTest::keyClick(box, Qt::Key_Enter, Qt::KeypadModifier);
        QTest::keyClick(box, Qt::Key_Down);
        EXPECT_EQ(focused(), box) << name;
        EXPECT_EQ(box->toPlainText(), "a\nb\nc") << name;
        EXPECT_EQ(window->kolvane().form().get<TRichEdit>(name).text(), "a\nb\nc") << name;
        // Tab is the way out, not a character of the comment.
        EXPECT_NE(press(box, Qt::Key_Tab), box) << name;
        EXPECT_EQ(box->toPlainText(), "a\nb\nc") << name;
    }
    ReportView* report = window->reportView();
    ASSERT_NE(report, nullptr);
    window->showPage("TSReport");
    EXPECT_EQ(press(report, Qt::Key_Down), report);
    EXPECT_EQ(press(report, Qt::Key_Return), report);
}

TEST_F(FocusKeysTest, ResultsAreSkippedByTabEnterAndArrowsButTakeAClick) {
    // Three neighbours in tab order; the middle one becomes a result.
    EditDWidget* first = edit("MaoD");
    auto* result = qobject_cast<EditDWidget*>(press(first, Qt::Key_Tab));
    ASSERT_NE(result, nullptr) << NameOf(focused());
    QWidget* third = press(result, Qt::Key_Tab);
    ASSERT_NE(third, first);

    PutComputedValue(result->field(), kComputedColor, 1.0 / 3.0 * 1e4, 1e-6);
    ASSERT_TRUE(result->isReadOnly());
    EXPECT_EQ(press(first, Qt::Key_Tab), third) << NameOf(focused());
    EXPECT_EQ(press(third, Qt::Key_Backtab), first) << NameOf(focused());
    EXPECT_EQ(press(first, Qt::Key_Return), third) << NameOf(focused());
    EXPECT_EQ(press(third, Qt::Key_Up), first) << NameOf(focused());

    // A click still gives it the focus, for the clear command; the full
    // text then shows from its first digit.
    QTest::mouseClick(result, Qt::LeftButton, {}, QPoint(4, result->height() / 2));
    EXPECT_EQ(focused(), result);
    EXPECT_EQ(result->text(), QString::fromStdString(result->field().text()));
    EXPECT_GT(result->text().size(), 15);
    EXPECT_LE(result->cursorPosition(), 1) << "the leading digits are not scrolled away";
    // Given the focus by the program (the cursor put back after a message),
    // too: the text would otherwise end at the cursor after the last digit.
    focus(first);
    result->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(result->cursorPosition(), 0);
    EXPECT_FALSE(result->hasSelectedText());
    // Enter from the result goes on as from any other control.
    QTest::keyClick(result, Qt::Key_Return);
    EXPECT_EQ(focused(), third) << NameOf(focused());

    // An input again: a stop for Tab once more.
    ClearComputedField(result->field());
    EXPECT_EQ(result->focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(press(first, Qt::Key_Tab), result) << NameOf(focused());

    // A result written while it has the focus shows from its start too.
    EditDWidget* e = edit("QoD");
    window->kolvane().field("QoD").setText("");
    ClearComputedField(e->field());
    focus(e);
    PutComputedValue(e->field(), kComputedColor, 123456.789012345, 1e-6);
    EXPECT_EQ(e->text(), "123456.789012345");
    EXPECT_EQ(e->cursorPosition(), 0);
}

struct KeyboardExitTest : FocusKeysTest {
    void SetUp() override {
        FocusKeysTest::SetUp();
        window->openProject(KOLVANE_EXAMPLES_DIR "/hot-water-storage-tank.kvp");
        auto& k = window->kolvane();
        k.onPassReport = [this, show = k.onPassReport] {
            ++passes;
            show();
        };
    }
    // The focus given back after a refusal comes from the event loop.
    static void settle() {
        QApplication::processEvents();
        QApplication::processEvents();
    }
    int passes = 0;
};

TEST_F(KeyboardExitTest, TabAndEnterVisitNoReadOnlyControlOnTheCalculationPage) {
    focus(edit("TaoD"));
    std::set<QWidget*> seen;
    int writableEdits = 0;
    for (int i = 0; i < 200; ++i) {
        QWidget* now = focused();
        ASSERT_NE(now, nullptr);
        if (!seen.insert(now).second) break; // round once
        if (auto* line = qobject_cast<QLineEdit*>(now)) {
            EXPECT_FALSE(line->isReadOnly()) << NameOf(now);
            if (qobject_cast<EditDWidget*>(now)) ++writableEdits;
        }
        EXPECT_FALSE(qobject_cast<QScrollArea*>(now)) << "a page is no stop";
        // Tab leaves a comment box too; Enter would be a line break there.
        const bool tab = i % 2 || qobject_cast<QPlainTextEdit*>(now);
        QTest::keyClick(now, tab ? Qt::Key_Tab : Qt::Key_Return);
        QApplication::processEvents();
    }
    // Every enabled input of the page was visited.
    int inputs = 0;
    for (EditDWidget* x : w("TSCalc")->findChildren<EditDWidget*>())
        inputs += x->isVisible() && x->isEnabled() && !x->isReadOnly();
    EXPECT_GT(inputs, 10);
    EXPECT_EQ(writableEdits, inputs);
}

TEST_F(KeyboardExitTest, EnterAndDownRunThePassOfTheFieldTheyLeave) {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Down}) {
        const std::string area = window->kolvane().field("AtD").text();
        ASSERT_FALSE(area.empty());
        focus(edit("TaoD"));
        passes = 0;
        TEditD& time = window->kolvane().field("TaoD");
        type("TaoD", QByteArray::number(time.SIValue() / time.exchange() / 2).constData());
        EXPECT_EQ(passes, 0) << "typing alone computes nothing";
        QTest::keyClick(edit("TaoD"), key);
        EXPECT_NE(focused(), edit("TaoD")) << key;
        EXPECT_EQ(passes, 1) << key;
        EXPECT_NE(window->kolvane().field("AtD").text(), area) << key << ": half the time";
    }
    EXPECT_TRUE(DialogAutoAnswer().shown.empty());
}

// The field is marked with the reason it was told, until an input it takes.
TEST_F(KeyboardExitTest, ARefusedInputLeftByEnterIsToldOnceAndKeepsTheCursor) {
    type("MaoD", "-1");
    QTest::keyClick(edit("MaoD"), Qt::Key_Return);
    settle();
    ASSERT_EQ(DialogAutoAnswer().shown.size(), 1u);
    const QString told = QString::fromStdString(DialogAutoAnswer().shown[0]);
    EXPECT_EQ(focused(), edit("MaoD")) << NameOf(focused());
    EXPECT_EQ(edit("MaoD")->mark(), EditDWidget::Mark::Problem);
    EXPECT_TRUE(told.contains(edit("MaoD")->toolTip().section('\n', 0, 0))) << told.toStdString();
    EXPECT_EQ(passes, 1) << "giving the focus back runs no pass of the other field";
    // Enter once more leaves it: the same refusal is not told again.
    QTest::keyClick(edit("MaoD"), Qt::Key_Return);
    settle();
    EXPECT_EQ(DialogAutoAnswer().shown.size(), 1u);
    EXPECT_EQ(passes, 2);
    EXPECT_NE(focused(), edit("MaoD"));
    EXPECT_EQ(edit("MaoD")->mark(), EditDWidget::Mark::Problem);
    type("MaoD", "10");
    QTest::keyClick(edit("MaoD"), Qt::Key_Return);
    EXPECT_EQ(edit("MaoD")->mark(), EditDWidget::Mark::None);
    EXPECT_FALSE(window->myStatusBar()->panelText(1).contains(QStringLiteral("应大于0")));
}

// After the message of a value just typed, whatever way the field was left,
// the cursor is back in it and the next typing goes there, also when the
// message names another field (the inside diameter the outside one is now
// below).
TEST_F(KeyboardExitTest, AfterTheMessageTheCursorIsBackInTheFieldThatGaveIt) {
    struct Row {
        const char* field;
        const char* typed;
        const char* told;
        Qt::Key key; // Key_unknown: a click into another field
    };
    const Row rows[] = {
        {"dioD", "0.001", "管内径: 应小于管外径", Qt::Key_Tab},
        {"dioD", "0.004", "管内径: 应小于管外径", Qt::Key_unknown},
        {"MaoD", "-1", "质量: 应大于0", Qt::Key_Down},
    };
    for (const Row& r : rows) {
        DialogAutoAnswer().shown.clear();
        const std::string good = window->kolvane().field(r.field).text();
        type(r.field, r.typed);
        if (r.key == Qt::Key_unknown)
            QTest::mouseClick(edit("TaoD"), Qt::LeftButton);
        else
            QTest::keyClick(edit(r.field), r.key);
        settle();
        const std::string how = std::string(r.field) + " left by " + std::to_string(r.key);
        ASSERT_EQ(DialogAutoAnswer().shown.size(), 1u) << how;
        EXPECT_NE(DialogAutoAnswer().shown[0].find(r.told), std::string::npos)
            << how << ": " << DialogAutoAnswer().shown[0];
        EXPECT_EQ(NameOf(focused()), r.field) << how;
        const std::string time = window->kolvane().field("TaoD").text();
        QTest::keyClicks(focused(), "9");
        EXPECT_NE(window->kolvane().field(r.field).text().find('9'), std::string::npos) << how;
        EXPECT_EQ(window->kolvane().field("TaoD").text(), time) << how;
        // Its value again, for the next row.
        type(r.field, good.c_str());
        QTest::keyClick(edit(r.field), Qt::Key_Tab);
        settle();
    }
}

TEST_F(KeyboardExitTest, ARealMessageBoxOverAnArrowKeyComesOnce) {
    // The message box of the refusal shows inside the move; the focus comes
    // back from the event loop.
    type("MaoD", "-1");
    const QStringList boxes = CloseRealBoxes([&] { QTest::keyClick(edit("MaoD"), Qt::Key_Down); },
                                             QMessageBox::NoButton, 300);
    EXPECT_EQ(boxes.size(), 1);
    EXPECT_EQ(passes, 1);
    // The window's own focus: offscreen, nobody makes it active again.
    EXPECT_EQ(window->focusWidget(), edit("MaoD")) << NameOf(window->focusWidget());
}

} // namespace
} // namespace kolvane
