#include "TestWindow.h"
#include "engine/FormKolvane.h"
#include "engine/UiServices.h"
#include "gui/ControlWidgets.h"
#include "gui/EditDWidget.h"
#include "gui/FocusKeys.h"
#include "gui/MainWindow.h"
#include "gui/ReportView.h"

#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <set>
#include <string>

namespace kolvane {
namespace {

struct FocusKeysTest : testing::Test {
    void SetUp() override {
        window = ShowTestWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    QWidget* w(const char* name) { return window->widgetFor(name); }
    EditDWidget* edit(const char* name) { return qobject_cast<EditDWidget*>(w(name)); }
    static QWidget* focused() { return QApplication::focusWidget(); }
    static std::string nameOf(const QWidget* x) {
        return x ? x->objectName().toStdString() : std::string("(none)");
    }
    // Puts the focus into a control as a click would, without exit handling
    // of its own mattering to the test.
    void focus(QWidget* x) {
        x->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
        ASSERT_EQ(focused(), x);
    }
    // Where Tab (or Shift+Tab) goes from a control.
    QWidget* tabFrom(QWidget* x, bool forward = true) {
        focus(x);
        QTest::keyClick(x, forward ? Qt::Key_Tab : Qt::Key_Backtab);
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
    std::string example(const char* name) { return std::string(KOLVANE_EXAMPLES_DIR "/") + name; }
    std::unique_ptr<MainWindow> window;
};

TEST_F(FocusKeysTest, EnterGoesWhereTabGoesAndNoControlSeesIt) {
    QWidget* afterTab = tabFrom(edit("TaoD"));
    ASSERT_EQ(afterTab, edit("sfD")) << nameOf(afterTab) << ": the unit selector is no tab stop";

    focus(edit("TaoD"));
    QSignalSpy returned(edit("TaoD"), &QLineEdit::returnPressed);
    QTest::keyClick(edit("TaoD"), Qt::Key_Return);
    EXPECT_EQ(focused(), afterTab) << nameOf(focused());
    EXPECT_EQ(returned.count(), 0) << "Enter is consumed by the window";

    // The keypad's Enter is Enter as well.
    focus(edit("TaoD"));
    QTest::keyClick(edit("TaoD"), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(focused(), afterTab) << nameOf(focused());
    EXPECT_EQ(returned.count(), 0);
}

TEST_F(FocusKeysTest, ArrowsMoveTheFocusAndStillReachTheChoiceBox) {
    auto* material = qobject_cast<ListWidget*>(w("SmD"));
    ASSERT_NE(material, nullptr);
    ASSERT_GE(material->count(), 3);
    QWidget* after = tabFrom(material);
    QWidget* before = tabFrom(material, false);
    ASSERT_NE(after, material);
    ASSERT_NE(before, material);

    auto& list = window->kolvane().form().get<TComboBox>("SmD");
    window->guarded([&] { list.Select(1); });
    focus(material);
    QTest::keyClick(material, Qt::Key_Down);
    EXPECT_EQ(focused(), after) << nameOf(focused());
    EXPECT_EQ(material->currentIndex(), 2) << "the list also took the key";
    EXPECT_EQ(list.itemIndex(), 2) << "and its component followed";

    focus(material);
    QTest::keyClick(material, Qt::Key_Up);
    EXPECT_EQ(focused(), before) << nameOf(focused());
    EXPECT_EQ(list.itemIndex(), 1);
}

TEST_F(FocusKeysTest, ArrowsInAFieldMoveToTheNeighbours) {
    QWidget* after = tabFrom(edit("MaoD"));
    QWidget* before = tabFrom(edit("MaoD"), false);
    focus(edit("MaoD"));
    QTest::keyClick(edit("MaoD"), Qt::Key_Down);
    EXPECT_EQ(focused(), after) << nameOf(focused());
    QTest::keyClick(focused(), Qt::Key_Up);
    EXPECT_EQ(focused(), edit("MaoD")) << nameOf(focused());
    QTest::keyClick(focused(), Qt::Key_Up);
    EXPECT_EQ(focused(), before) << nameOf(focused());
    // With Ctrl the keys are the control's own.
    focus(edit("MaoD"));
    QTest::keyClick(edit("MaoD"), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(focused(), edit("MaoD"));
}

TEST_F(FocusKeysTest, CommentBoxesKeepEnterAndTheArrows) {
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
        QTest::keyClick(box, Qt::Key_Tab);
        EXPECT_NE(focused(), box) << name;
        EXPECT_EQ(box->toPlainText(), "a\nb\nc") << name;
    }
}

TEST_F(FocusKeysTest, TheReportBoxKeepsItsKeys) {
    ReportView* report = window->reportView();
    ASSERT_NE(report, nullptr);
    window->showPage("TSReport");
    focus(report);
    QTest::keyClick(report, Qt::Key_Down);
    QTest::keyClick(report, Qt::Key_Return);
    EXPECT_EQ(focused(), report);
}

TEST_F(FocusKeysTest, ResultsAreSkippedByTabEnterAndArrowsButTakeAClick) {
    // Three neighbours in tab order; the middle one becomes a result.
    QWidget* middle = tabFrom(edit("MaoD"));
    auto* result = qobject_cast<EditDWidget*>(middle);
    ASSERT_NE(result, nullptr) << nameOf(middle);
    QWidget* third = tabFrom(result);
    ASSERT_NE(third, edit("MaoD"));

    PutComputedValue(result->field(), kComputedColor, 1.0 / 3.0 * 1e4, 1e-6);
    ASSERT_TRUE(result->isReadOnly());
    EXPECT_EQ(tabFrom(edit("MaoD")), third) << nameOf(focused());
    EXPECT_EQ(tabFrom(third, false), edit("MaoD")) << nameOf(focused());
    focus(edit("MaoD"));
    QTest::keyClick(edit("MaoD"), Qt::Key_Return);
    EXPECT_EQ(focused(), third) << nameOf(focused());
    QTest::keyClick(third, Qt::Key_Up);
    EXPECT_EQ(focused(), edit("MaoD")) << nameOf(focused());

    // A click still gives it the focus, for the clear command; the full
    // text then shows from its first digit.
    QTest::mouseClick(result, Qt::LeftButton, {}, QPoint(4, result->height() / 2));
    EXPECT_EQ(focused(), result);
    EXPECT_EQ(result->text(), QString::fromStdString(result->field().text()));
    EXPECT_GT(result->text().size(), 15);
    EXPECT_LE(result->cursorPosition(), 1) << "the leading digits are not scrolled away";
    // Given the focus by the program (the cursor put back after a message),
    // too: the text would otherwise end at the cursor after the last digit.
    focus(edit("MaoD"));
    result->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(result->cursorPosition(), 0);
    EXPECT_FALSE(result->hasSelectedText());
    // Enter from the result goes on as from any other control.
    QTest::keyClick(result, Qt::Key_Return);
    EXPECT_EQ(focused(), third) << nameOf(focused());

    // An input again: a stop for Tab once more.
    ClearComputedField(result->field());
    EXPECT_EQ(result->focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(tabFrom(edit("MaoD")), result) << nameOf(focused());
}

TEST_F(FocusKeysTest, ResultWrittenWhileFocusedShowsFromItsStart) {
    EditDWidget* e = edit("QoD");
    window->kolvane().field("QoD").setText("");
    ClearComputedField(e->field());
    focus(e);
    PutComputedValue(e->field(), kComputedColor, 123456.789012345, 1e-6);
    EXPECT_EQ(e->text(), "123456.789012345");
    EXPECT_EQ(e->cursorPosition(), 0);
}

TEST_F(FocusKeysTest, TabAndEnterVisitNoReadOnlyControlOnTheCalculationPage) {
    window->openProject(example("hot-water-storage-tank.kvp"));
    focus(edit("TaoD"));
    std::set<QWidget*> seen;
    int writableEdits = 0;
    for (int i = 0; i < 200; ++i) {
        QWidget* now = focused();
        ASSERT_NE(now, nullptr);
        if (!seen.insert(now).second) break; // round once
        if (auto* line = qobject_cast<QLineEdit*>(now)) {
            EXPECT_FALSE(line->isReadOnly()) << nameOf(now);
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
    for (const auto& c : window->kolvane().form().components())
        if (auto* f = dynamic_cast<TEditD*>(c.get()))
            if (auto* x = edit(f->name().c_str()); x && x->isVisible() && x->isEnabled() &&
                                                   !x->isReadOnly() &&
                                                   window->widgetFor("TSCalc")->isAncestorOf(x))
                ++inputs;
    EXPECT_GT(inputs, 10);
    EXPECT_EQ(writableEdits, inputs);
}

struct KeyboardExitTest : FocusKeysTest {
    void SetUp() override {
        FocusKeysTest::SetUp();
        window->openProject(example("hot-water-storage-tank.kvp"));
        auto& k = window->kolvane();
        k.onPassReport = [this, show = k.onPassReport] {
            ++passes;
            show();
        };
    }
    int passes = 0;
};

TEST_F(KeyboardExitTest, EnterRunsThePassOfTheFieldItLeaves) {
    const std::string area = window->kolvane().field("AtD").text();
    ASSERT_FALSE(area.empty());
    TEditD& time = window->kolvane().field("TaoD");
    type("TaoD", QByteArray::number(time.SIValue() / time.exchange() / 2).constData());
    EXPECT_EQ(passes, 0) << "typing alone computes nothing";
    QTest::keyClick(edit("TaoD"), Qt::Key_Return);
    EXPECT_EQ(passes, 1);
    EXPECT_NE(window->kolvane().field("AtD").text(), area) << "half the time needs another area";
    EXPECT_TRUE(DialogAutoAnswer().shown.empty());
}

TEST_F(KeyboardExitTest, DownRunsThePassToo) {
    const std::string flow = window->kolvane().field("AtD").text();
    type("MaoD", "1");
    QTest::keyClick(edit("MaoD"), Qt::Key_Down);
    EXPECT_NE(focused(), edit("MaoD"));
    EXPECT_EQ(passes, 1);
    EXPECT_NE(window->kolvane().field("AtD").text(), flow);
}

TEST_F(KeyboardExitTest, ARefusedInputLeftByEnterIsToldOnceAndKeepsTheCursor) {
    type("MaoD", "-1");
    QTest::keyClick(edit("MaoD"), Qt::Key_Return);
    QApplication::processEvents(); // the focus comes back from the event loop
    QApplication::processEvents();
    ASSERT_EQ(DialogAutoAnswer().shown.size(), 1u);
    EXPECT_EQ(focused(), edit("MaoD")) << nameOf(focused());
    EXPECT_EQ(passes, 1) << "giving the focus back runs no pass of the other field";

    // Enter once more leaves it: the same refusal is not told again.
    QTest::keyClick(edit("MaoD"), Qt::Key_Return);
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(DialogAutoAnswer().shown.size(), 1u);
    EXPECT_EQ(passes, 2);
    EXPECT_NE(focused(), edit("MaoD"));
}

TEST_F(KeyboardExitTest, ARealMessageBoxOverAnArrowKeyComesOnce) {
    // The message box of the refusal shows inside the move; each one shown
    // is counted and closed.
    DialogAutoAnswer().on = false;
    int boxes = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&boxes] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible()) {
                ++boxes;
                box->accept();
            }
    });
    closer.start(20);
    type("MaoD", "-1");
    QTest::keyClick(edit("MaoD"), Qt::Key_Down);
    QTest::qWait(300); // the focus comes back from the event loop
    closer.stop();
    DialogAutoAnswer().on = true;
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(passes, 1);
    // The window's own focus: offscreen, nobody makes it active again.
    EXPECT_EQ(window->focusWidget(), edit("MaoD")) << nameOf(window->focusWidget());
}

} // namespace
} // namespace kolvane
