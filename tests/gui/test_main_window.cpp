#include "../core/TempDir.h"

#include "TestWindow.h"
#include "form/FormKolvane.h"
#include "form/UiServices.h"
#include "gui/ControlWidgets.h"
#include "gui/EditDWidget.h"
#include "gui/MyStatusBar.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

namespace kolvane {
namespace {

struct MainWindowTest : testing::Test {
    void SetUp() override {
        window = ShowTestWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    EditDWidget* edit(const char* name) {
        return dynamic_cast<EditDWidget*>(window->widgetFor(name));
    }
    TEditD& field(const char* name) { return window->kolvane().field(name); }
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, PagesOpenAtTheCalculationPage) {
    QStringList captions;
    for (int i = 0; i < window->pages()->count(); ++i)
        captions << window->pages()->tabText(i);
    QString expected = "项目信息|计算|管道系列|容器定义|计算报告";
#ifdef KOLVANE_HAVE_CHARTS
    expected += "|升温曲线|设计研究";
#endif
    EXPECT_EQ(captions.join('|'), expected);
    EXPECT_EQ(window->pages()->currentIndex(), 1);
}

TEST_F(MainWindowTest, EveryFieldHasAnEditAndAUnitSelector) {
    for (const auto& c : window->kolvane().form().components()) {
        if (!dynamic_cast<TEditD*>(c.get())) continue;
        EXPECT_NE(edit(c->name().c_str()), nullptr) << c->name();
        auto* u = window->kolvane().selectorOf(static_cast<TEditD&>(*c));
        EXPECT_NE(dynamic_cast<ListWidget*>(window->widgetFor(u->name())), nullptr) << u->name();
    }
}

TEST_F(MainWindowTest, TypingPickingAUnitAndLeaving) {
    EditDWidget* tao = edit("TaoD");
    tao->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(tao, "0.00001234");
    EXPECT_EQ(tao->text(), "0.00001234"); // raw text while typing
    EXPECT_EQ(field("TaoD").text(), "0.00001234");
    edit("sfD")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(tao->text(), "1.234E-0005"); // display form once left

    field("TaoD").setText("120");
    auto* unit = dynamic_cast<ListWidget*>(window->widgetFor("TaoU"));
    ASSERT_NE(unit, nullptr);
    unit->setCurrentIndex(1);
    emit unit->activated(1);
    EXPECT_EQ(tao->text(), "2");
    EXPECT_EQ(unit->currentText(), "min");
}

// Picking the tube form in its box renames the count: turns of a coil,
// passes of a U-tube, caption and unit alike.
TEST_F(MainWindowTest, TheTubeFormNamesTheCountTurnsOrPasses) {
    auto* form = dynamic_cast<ListWidget*>(window->widgetFor("TShapeD"));
    auto* caption = dynamic_cast<QLabel*>(window->widgetFor("mL"));
    auto* unit = dynamic_cast<ListWidget*>(window->widgetFor("mU"));
    ASSERT_TRUE(form && caption && unit);
    const struct {
        int form;
        const char *caption, *unit;
    } rows[] = {{1, "盘管圈数", "圈"}, {0, "管程数", "程"}};
    for (const auto& row : rows) {
        form->setCurrentIndex(row.form);
        emit form->activated(row.form);
        EXPECT_EQ(caption->text(), QString::fromUtf8(row.caption));
        EXPECT_EQ(unit->currentText(), QString::fromUtf8(row.unit));
        EXPECT_EQ(unit->count(), 1);
    }
}

TEST_F(MainWindowTest, ComputedLookIsColouredLockedAndForbiddenDisabledIsGrey) {
    PutComputedValue(field("QoD"), kComputedColor, 1.0 / 3.0, 1e-6);
    EditDWidget* w = edit("QoD");
    EXPECT_TRUE(w->isReadOnly());
    EXPECT_EQ(w->palette().color(QPalette::Base), QColor(201, 239, 254));
    EXPECT_EQ(w->cursor().shape(), Qt::ForbiddenCursor);
    EXPECT_EQ(w->text(), "0.3333333");
    ClearComputedField(field("QoD"));
    EXPECT_FALSE(w->isReadOnly());
    EXPECT_EQ(w->cursor().shape(), Qt::IBeamCursor);
    EXPECT_EQ(w->text(), "");
    // An input field again: the window colour, not the computed one it had.
    EXPECT_EQ(w->palette().color(QPalette::Base), QApplication::palette(w).color(QPalette::Base));

    // A disabled field shows the display form in grey.
    field("DHiD").setText("2.50");
    EXPECT_FALSE(edit("DHiD")->isEnabled());
    EXPECT_EQ(edit("DHiD")->text(), "2.5");
    EXPECT_EQ(edit("DHiD")->palette().color(QPalette::Disabled, QPalette::Text),
              QColor(128, 128, 128));
}

TEST_F(MainWindowTest, HandlerErrorsShowAndTheWindowStaysUsable) {
    // A unit selector whose item does not convert raises a conversion error.
    auto& u = window->kolvane().form().get<TComboBoxU>("MaoU");
    u.setItems({"kg|1", "bad|x"});
    window->guarded([&] { u.Select(1); });
    EXPECT_EQ(DialogAutoAnswer().shown.size(), 1u);
    edit("MaoD")->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(edit("MaoD"), "5");
    EXPECT_EQ(field("MaoD").text(), "5");
}

TEST_F(MainWindowTest, ClearButtonActsOnTheFocusedQuantityFieldOnly) {
    QAction* clear = window->findChild<QAction*>("SBClear");
    auto focusOn = [&](const char* name) {
        window->showPage(name);
        window->widgetFor(name)->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), window->widgetFor(name)) << name;
    };
    for (const char* name : {"HToD", "PhoD", "OBJNameD"}) {
        focusOn(name);
        clear->trigger();
        EXPECT_TRUE(DialogAutoAnswer().shown.empty()) << name << " was asked about";
    }
    PutComputedValue(field("WiD"), kRelationRed, 2.5, 2e-6);
    focusOn("WiD");
    // The real question box, answered with Yes.
    const QStringList seen = CloseRealBoxes([&] { clear->trigger(); }, QMessageBox::Yes);
    ASSERT_EQ(seen.size(), 1);
    EXPECT_TRUE(seen[0].contains("你要清除数据:质量流量?")) << seen[0].toStdString();
    EXPECT_EQ(field("WiD").text(), "");
    EXPECT_EQ(field("WiD").color(), kClWindow);
    EXPECT_FALSE(edit("WiD")->isReadOnly());
}

TEST_F(MainWindowTest, ALongStatusTextIsCutNotWideningTheWindow) {
    QStringList warnings;
    for (int i = 0; i < 12; ++i)
        warnings << QStringLiteral("出口温度55 °C越过目标温度60 °C");
    const QString text = warnings.join(QStringLiteral("；"));
    const int width = window->width();
    window->kolvane().ui().statusText(1, text.toStdString());
    QApplication::processEvents();
    EXPECT_EQ(window->width(), width);
    EXPECT_LE(window->minimumSizeHint().width(), width);
    EXPECT_EQ(window->myStatusBar()->panelText(1), text);
    auto* label = window->myStatusBar()->findChildren<QLabel*>("text").value(1);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->toolTip(), text) << "the cut text is in the tooltip";
    window->kolvane().ui().statusText(1, "短");
    EXPECT_EQ(label->toolTip(), "");
}

// The marks a pass leaves on the fields, on the example projects.
struct PassMarksTest : MainWindowTest {
    std::string example(const char* name) { return std::string(KOLVANE_EXAMPLES_DIR "/") + name; }
    // Types a new text into a field and leaves it for another one.
    void enter(const char* name, const char* text) {
        EditDWidget* e = edit(name);
        e->setFocus(Qt::TabFocusReason);
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, text);
        edit(std::string_view(name) == "sfD" ? "TaoD" : "sfD")->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
    }
    const PassReport& report() { return window->kolvane().lastPass(); }
};

// A field the pass warns about or still needs is marked, the reason in its
// tooltip over its hint, until an input takes the reason away; the message
// panel says it too.
TEST_F(PassMarksTest, AWarningOrAMissingInputMarksItsFieldUntilItGoesAway) {
    using M = EditDWidget::Mark;
    struct Row {
        const char *example, *field, *bad, *good;
        M mark;
        const char* said; // in the message panel; a warning says its text
    };
    for (const Row& r :
         {Row{"hot-water-storage-tank.kvp", "Ti2D", "55", "65", M::Warning, nullptr},
          Row{"steam-coil-reactor.kvp", "LaiD", "", "0.5", M::Missing, "还需要：不凝气体"}}) {
        SCOPED_TRACE(r.field);
        window->openProject(example(r.example));
        EditDWidget* e = edit(r.field);
        ASSERT_EQ(e->mark(), M::None);
        const QString hint = e->toolTip();
        enter(r.field, r.bad);
        QString why; // the first warning's text, or the first result the input misses
        for (const auto& w : report().warnings)
            if (why.isEmpty() && r.mark == M::Warning && w.field == r.field)
                why = QString::fromStdString(w.text);
        for (const auto& m : report().missing)
            if (why.isEmpty() && r.mark == M::Missing &&
                std::find(m.fields.begin(), m.fields.end(), r.field) != m.fields.end())
                why = QString::fromStdString(field(m.result.c_str()).caption()) + "还需要此项";
        ASSERT_FALSE(why.isEmpty()) << "the pass reports nothing for the field";
        EXPECT_EQ(e->mark(), r.mark);
        const QString tip = e->toolTip();
        EXPECT_TRUE(r.mark == M::Warning ? tip.contains(why) : tip.startsWith(why))
            << tip.toStdString();
        EXPECT_TRUE(tip.endsWith(hint)) << tip.toStdString();
        const QString panel = window->myStatusBar()->panelText(1);
        EXPECT_TRUE(panel.contains(r.said ? QString::fromUtf8(r.said) : why))
            << panel.toStdString();

        enter(r.field, r.good);
        EXPECT_EQ(e->mark(), M::None);
        EXPECT_EQ(e->toolTip(), hint);
    }
}

TEST_F(PassMarksTest, AnOpenedProjectIsMarkedAndKeepsItsStoredColours) {
    // A project saved with the warning in it; the file holds no pass report.
    testing_support::TempDir dir;
    const std::string path = dir.file("warn.kvp");
    {
        ScriptedUiServices quiet;
        TFormKolvane other(quiet);
        ASSERT_TRUE(other.OpenProjectFile(example("hot-water-storage-tank.kvp")));
        other.field("Ti2D").setText("55");
        other.SaveProjectAs(path);
    }
    window->openProject(path);
    EXPECT_EQ(edit("Ti2D")->mark(), EditDWidget::Mark::Warning);
    EXPECT_FALSE(window->kolvane().ProjectChanged());
    EXPECT_EQ(field("Ti2D").color(), kClWindow);
    EXPECT_EQ(edit("Ti2D")->palette().color(QPalette::Base),
              window->palette().color(QPalette::Active, QPalette::Base));

    // A computed field keeps showing its colour inside the frame.
    ASSERT_EQ(field("QoD").color(), kComputedColor);
    edit("QoD")->setMark(EditDWidget::Mark::Problem, "x");
    EXPECT_EQ(field("QoD").color(), kComputedColor);
    const QImage shot = edit("QoD")->grab().toImage();
    const int y = shot.height() / 2;
    EXPECT_EQ(shot.pixelColor(shot.width() - 6, y), QColor(201, 239, 254));
    EXPECT_EQ(shot.pixelColor(0, y), EditDWidget::frameColor(EditDWidget::Mark::Problem));
}

} // namespace
} // namespace kolvane
