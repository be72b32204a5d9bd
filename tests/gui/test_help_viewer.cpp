// The manual built by kolvane-manual, its bookmarks and the help viewer.
#include "../core/TempDir.h"

#include "form/FormKolvane.h"
#include "form/UiServices.h"
#include "gui/HelpViewer.h"
#include "gui/MainWindow.h"
#include "gui/QtUiServices.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPdfBookmarkModel>
#include <QPdfDocument>
#include <QPdfSelection>
#include <QPdfView>
#include <QProcess>
#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace kolvane {
namespace {

using testing_support::TempDir;
using testing_support::WriteBytes;
using Role = QPdfBookmarkModel::Role;

// Headings with stray whitespace, a heading level skipped and a second
// chapter pushed onto a later page.
QByteArray SmallManual() {
    QByteArray html = "<html><body>"
                      "<h1>第一章  系统安装</h1><p>安装。</p>"
                      "<h2>\n   质量 </h2><p>容器内物料的质量。</p>"
                      "<h3>Unit   and\n range</h3><p>kg, t.</p>"
                      "<h2>加热时间</h2><p>时间。</p>";
    for (int i = 0; i < 90; ++i)
        html += "<p>填充段落 " + QByteArray::number(i) + "</p>";
    return html + "<h1>第二章 程序窗口</h1><h3>Skipped level</h3><p>end</p></body></html>";
}

// Runs the tool; its exit code, or -1 when it did not finish.
int RunTool(const std::string& in, const QString& out, QString* stderrText = nullptr) {
    QProcess p;
    p.start(QStringLiteral(KOLVANE_MANUAL_TOOL), {QString::fromStdString(in), out});
    if (!p.waitForFinished(60000)) return -1;
    if (stderrText) *stderrText = QString::fromLocal8Bit(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

struct Row {
    QString title;
    int page;
    QPointF location;
    int depth;
};

// The bookmarks of a PDF in tree order; empty when it cannot be loaded.
QList<Row> Outline(QPdfDocument& doc, const QString& path) {
    QList<Row> rows;
    if (doc.load(path) != QPdfDocument::Error::None) return rows;
    QPdfBookmarkModel m;
    m.setDocument(&doc);
    std::function<void(const QModelIndex&, int)> walk = [&](const QModelIndex& parent, int depth) {
        for (int r = 0; r < m.rowCount(parent); ++r) {
            QModelIndex i = m.index(r, 0, parent);
            rows.append({i.data(int(Role::Title)).toString(), i.data(int(Role::Page)).toInt(),
                         i.data(int(Role::Location)).toPointF(), depth});
            walk(i, depth + 1);
        }
    };
    walk(QModelIndex(), 0);
    return rows;
}

class HelpManual : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir;
        WriteBytes(dir_->file("small.html"), SmallManual().toStdString());
        exitCode_ = RunTool(dir_->file("small.html"), pdf());
    }
    static void TearDownTestSuite() { delete dir_; }
    void SetUp() override {
        ASSERT_EQ(exitCode_, 0);
        DialogAutoAnswer() = AutoAnswer{};
        DialogAutoAnswer().on = true;
    }
    static QString pdf() { return QString::fromStdString(dir_->file("Manual.pdf")); }
    HelpViewer* show(const char* topic) { return ShowHelp(&owner, ui, pdf().toStdString(), topic); }
    static QString current(HelpViewer* v) {
        return v->bookmarkTree()->currentIndex().data(int(Role::Title)).toString();
    }
    // A main window on the folder of the small manual.
    std::unique_ptr<MainWindow> window() {
        auto w = std::make_unique<MainWindow>(dir_->path().string() + "/");
        w->show();
        QApplication::setActiveWindow(w.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        return w;
    }

    QWidget owner;
    QtUiServices ui{&owner};
    static TempDir* dir_;
    static int exitCode_;
};
TempDir* HelpManual::dir_ = nullptr;
int HelpManual::exitCode_ = -1;

TEST_F(HelpManual, BookmarksNestAsTheHeadingsAndPointAtTheirPlace) {
    QPdfDocument doc;
    const QList<Row> rows = Outline(doc, pdf());
    QStringList outline; // depth and title
    for (const Row& r : rows)
        outline << QString::number(r.depth) + r.title;
    // Whitespace folded, one trailing blank; h3 under h2 under h1, and an h3
    // straight after an h1 goes under the h1.
    ASSERT_EQ(outline.join(u'|'), QStringLiteral("0第一章 系统安装 |1质量 |2Unit and range |"
                                                 "1加热时间 |0第二章 程序窗口 |1Skipped level "));
    // The second chapter comes after 90 paragraphs, on a page of its own.
    EXPECT_TRUE(doc.getAllText(rows[4].page).text().contains(QStringLiteral("程序窗口")));
    EXPECT_FALSE(doc.getAllText(rows[4].page - 1).text().contains(QStringLiteral("程序窗口")));
    // From the top of the page, in points: inside the page, below the top
    // margin, and in the order of the headings on one page.
    const double height = doc.pagePointSize(0).height();
    for (const Row& r : rows) {
        EXPECT_GT(r.location.y(), 40) << r.title.toStdString();
        EXPECT_LT(r.location.y(), height - 60) << r.title.toStdString();
    }
    for (int i = 0; i < 3; ++i)
        EXPECT_LT(rows[i].location.y(), rows[i + 1].location.y()) << i;
    EXPECT_NEAR(rows[0].location.y(), 57, 6) << "the first heading sits at the 20 mm top margin";
    // The text with its Chinese glyphs, and a footer numbering the pages.
    const QString first = doc.getAllText(0).text();
    EXPECT_TRUE(first.contains(QStringLiteral("容器内物料的质量"))) << first.toStdString();
    EXPECT_TRUE(first.contains(QStringLiteral("— 1 / "))) << first.toStdString();
}

TEST_F(HelpManual, ViewerOpensAtTheTopicsBookmarkOrAtItsStartWhenThereIsNone) {
    const struct {
        const char* topic;
        bool laterPage;
    } rows[] = {{"第一章 系统安装 ", false},
                {"质量 ", false},
                {"加热时间 ", false},
                {"第二章 程序窗口 ", true}};
    int scrolled = -1;
    for (const auto& r : rows) {
        HelpViewer* v = show(r.topic);
        ASSERT_NE(v, nullptr) << r.topic;
        EXPECT_TRUE(v->isVisible()) << r.topic;
        EXPECT_TRUE(DialogAutoAnswer().shown.empty()) << r.topic;
        const QModelIndex mark = v->findBookmark(QString::fromUtf8(r.topic));
        ASSERT_TRUE(mark.isValid()) << r.topic;
        EXPECT_EQ(v->bookmarkTree()->currentIndex(), mark) << "the pane shows where we are";
        EXPECT_EQ(v->currentPage(), mark.data(int(Role::Page)).toInt()) << r.topic;
        EXPECT_EQ(v->currentPage() > 0, r.laterPage) << r.topic;
        // Each heading lies lower than the one before.
        const int now = v->pageView()->verticalScrollBar()->value();
        EXPECT_GT(now, scrolled) << r.topic;
        scrolled = now;
    }
    // A missing bookmark (without its trailing blank a title is another
    // title) is told over the manual, which stays open at its start.
    HelpViewer* v = owner.findChild<HelpViewer*>();
    EXPECT_EQ(show("第二章 程序窗口"), v) << "one viewer, kept from one call to the next";
    EXPECT_EQ(owner.findChildren<HelpViewer*>().size(), 1);
    EXPECT_EQ(DialogAutoAnswer().shown, std::vector<std::string>{"没有发现:第二章 程序窗口"});
    EXPECT_TRUE(v->isVisible());
    EXPECT_EQ(v->currentPage(), 0);
    EXPECT_EQ(v->pageView()->verticalScrollBar()->value(), 0) << "the start is shown";
}

TEST_F(HelpManual, EscClosesTheManualAndTheNextCallShowsItAgain) {
    HelpViewer* v = show("质量 ");
    ASSERT_NE(v, nullptr);
    QApplication::setActiveWindow(v);
    ASSERT_TRUE(QTest::qWaitForWindowActive(v));
    QWidget* at = QApplication::focusWidget() ? QApplication::focusWidget() : v;
    QTest::keyClick(at, Qt::Key_Escape);
    EXPECT_FALSE(v->isVisible());
    EXPECT_EQ(show("加热时间 "), v);
    EXPECT_TRUE(v->isVisible());
}

TEST_F(HelpManual, AManualThatCannotBeReadIsToldNamingTheFile) {
    TempDir bad;
    const std::string truncated = bad.file("cut.pdf"), garbage = bad.file("garbage.pdf");
    QFile whole(pdf());
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    WriteBytes(truncated, whole.read(400).toStdString());
    WriteBytes(garbage, "this is no PDF at all\n");
    for (const std::string& path : {truncated, garbage, bad.file("missing.pdf")}) {
        DialogAutoAnswer().shown.clear();
        EXPECT_EQ(ShowHelp(&owner, ui, path, "质量 "), nullptr) << path;
        ASSERT_EQ(DialogAutoAnswer().shown.size(), 1u) << path;
        EXPECT_NE(DialogAutoAnswer().shown[0].find(path), std::string::npos)
            << DialogAutoAnswer().shown[0];
    }
    auto* v = owner.findChild<HelpViewer*>();
    ASSERT_NE(v, nullptr);
    EXPECT_FALSE(v->isVisible());
    EXPECT_EQ(show("质量 "), v) << "a good manual after a bad one shows again";
    EXPECT_TRUE(v->isVisible());
}

TEST_F(HelpManual, AManualRebuiltWhileTheViewerIsOpenIsReadAgain) {
    TempDir other;
    const QString copy = QString::fromStdString(other.file("Manual.pdf"));
    ASSERT_TRUE(QFile::copy(pdf(), copy));
    ASSERT_NE(ShowHelp(&owner, ui, copy.toStdString(), "质量 "), nullptr);
    WriteBytes(other.file("new.html"), "<h1>新的一章</h1><p>x</p>");
    ASSERT_EQ(RunTool(other.file("new.html"), copy), 0);
    ASSERT_NE(ShowHelp(&owner, ui, copy.toStdString(), "新的一章 "), nullptr);
    EXPECT_TRUE(DialogAutoAnswer().shown.empty()) << DialogAutoAnswer().shown[0];
}

// The menu, the button and F1 reach the viewer with the focused field's
// topic; outside a quantity field F1 and "这是什么？" do nothing.
TEST_F(HelpManual, MainWindowEntryPointsOpenTheManual) {
    auto window = this->window();
    auto ask = [&](const char* name, bool f1) {
        QWidget* field = window->widgetFor(name);
        QApplication::setActiveWindow(window.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        field->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(QApplication::focusWidget(), field) << name;
        if (f1)
            QTest::keyClick(field, Qt::Key_F1);
        else
            window->findChild<QAction*>("SBHPDF")->trigger();
        auto* v = window->findChild<HelpViewer*>();
        return v && v->isVisible() ? current(v) : QStringLiteral("none");
    };
    QStringList got{ask("PhiD", true), ask("PhiD", false)};
    window->findChild<QAction*>("MHPDF")->trigger();
    got << current(window->findChild<HelpViewer*>());
    got << ask("TaoD", false);
    got << ask("MaoD", true);
    EXPECT_EQ(got.join(u'|'), QStringLiteral("none|none|第二章 程序窗口 |加热时间 |质量 "));
    EXPECT_TRUE(DialogAutoAnswer().shown.empty());
    EXPECT_EQ(window->findChildren<HelpViewer*>().size(), 1);
}

// Without a viewer built in, the help names the manual it cannot show.
TEST(HelpServices, WithoutAViewerTheHelpSaysItCannotShowTheManual) {
    DialogAutoAnswer() = AutoAnswer{};
    DialogAutoAnswer().on = true;
    QtUiServices ui;
    ui.showManual("/opt/kolvane/Manual.pdf", "质量 ");
    ASSERT_EQ(DialogAutoAnswer().shown.size(), 1u);
    EXPECT_NE(DialogAutoAnswer().shown[0].find("/opt/kolvane/Manual.pdf"), std::string::npos);
}

TEST(ManualTool, AMissingSourceFailsAndLeavesNoFile) {
    TempDir dir;
    const QString out = QString::fromStdString(dir.file("Manual.pdf"));
    QString err;
    EXPECT_EQ(RunTool(dir.file("none.html"), out, &err), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("none.html"))) << err.toStdString();
    EXPECT_FALSE(QFile::exists(out));
}

// The shipped manual has the chapter the help menu opens, and F1 and "这是什么？"
// find a section for every field by its caption as shown, in every variant of
// the captions (vessel shapes, U-tube or coil).
TEST(ManualTool, TheShippedManualHasASectionForEveryQuantityField) {
    QPdfDocument doc;
    const QList<Row> rows = Outline(doc, QStringLiteral(KOLVANE_MANUAL_PDF));
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [](const Row& r) {
        return r.title == QString::fromUtf8(TFormKolvane::kUsageTopic) && r.depth == 0;
    }));
    QSet<QString> titles, missing;
    for (const Row& r : rows)
        titles.insert(r.title);
    ScriptedUiServices ui;
    TFormKolvane w(ui, "");
    int looked = 0;
    TComboBox& shapes = w.list("VND");
    for (int shape = 0; shape < int(shapes.items().size()); ++shape)
        for (int form = 0; form < 2; ++form) {
            shapes.Select(shape);
            w.list("TShapeD").Select(form);
            for (const auto& c : w.form().components()) {
                const QString topic = QString::fromStdString(TFormKolvane::HelpTopicOf(c.get()));
                if (topic.isEmpty()) continue;
                ++looked;
                if (!titles.contains(topic)) missing.insert(topic);
            }
        }
    EXPECT_GT(looked, 50);
    EXPECT_TRUE(missing.isEmpty()) << QStringList(missing.values()).join(u'|').toStdString();
}

} // namespace
} // namespace kolvane
