// The manual built by kolvane-manual, its bookmarks and the help viewer.
#include "../core/TempDir.h"

#include "engine/FormKolvane.h"
#include "engine/UiServices.h"
#include "gui/EditDWidget.h"
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
    html += "<h1>Chapter 2</h1><h3>Skipped level</h3><p>end</p></body></html>";
    return html;
}

// Runs the tool; its exit code, or -1 when it did not finish.
int RunTool(const QString& in, const QString& out, QString* stderrText = nullptr) {
    QProcess p;
    p.start(QStringLiteral(KOLVANE_MANUAL_TOOL), {in, out});
    if (!p.waitForFinished(60000)) return -1;
    if (stderrText) *stderrText = QString::fromLocal8Bit(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

struct Row {
    QString title;
    int level;
    int page;
    QPointF location;
    int depth;
};

void Walk(const QAbstractItemModel& m, const QModelIndex& parent, int depth, QList<Row>& out) {
    for (int r = 0; r < m.rowCount(parent); ++r) {
        QModelIndex i = m.index(r, 0, parent);
        out.append({i.data(int(Role::Title)).toString(), i.data(int(Role::Level)).toInt(),
                    i.data(int(Role::Page)).toInt(), i.data(int(Role::Location)).toPointF(),
                    depth});
        Walk(m, i, depth + 1, out);
    }
}

QList<Row> Outline(QPdfDocument& doc) {
    QPdfBookmarkModel model;
    model.setDocument(&doc);
    QList<Row> rows;
    Walk(model, QModelIndex(), 0, rows);
    return rows;
}

class HelpManual : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir;
        WriteBytes(dir_->file("small.html"), SmallManual().toStdString());
        exitCode_ = RunTool(QString::fromStdString(dir_->file("small.html")), pdf());
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    void SetUp() override {
        ASSERT_EQ(exitCode_, 0);
        DialogAutoAnswer() = AutoAnswer{};
        DialogAutoAnswer().on = true;
    }
    static QString pdf() { return QString::fromStdString(dir_->file("Manual.pdf")); }
    static std::string folder() { return dir_->path().string() + "/"; }

    static TempDir* dir_;
    static int exitCode_;
};
TempDir* HelpManual::dir_ = nullptr;
int HelpManual::exitCode_ = -1;

TEST_F(HelpManual, BookmarksNestAsTheHeadingsWithOneTrailingBlank) {
    QPdfDocument doc;
    ASSERT_EQ(doc.load(pdf()), QPdfDocument::Error::None);
    const QList<Row> rows = Outline(doc);
    QStringList titles;
    QList<int> depths;
    for (const Row& r : rows) {
        titles << r.title;
        depths << r.depth;
    }
    EXPECT_EQ(titles, (QStringList{"第一章 系统安装 ", "质量 ", "Unit and range ", "加热时间 ",
                                   "Chapter 2 ", "Skipped level "}));
    // h3 under h2 under h1; an h3 straight after an h1 goes under the h1.
    EXPECT_EQ(depths, (QList<int>{0, 1, 2, 1, 0, 1}));
}

TEST_F(HelpManual, EachBookmarkPointsAtItsHeadingsPageAndPlace) {
    QPdfDocument doc;
    ASSERT_EQ(doc.load(pdf()), QPdfDocument::Error::None);
    ASSERT_GE(doc.pageCount(), 2);
    const QList<Row> rows = Outline(doc);
    ASSERT_EQ(rows.size(), 6);
    EXPECT_EQ(rows[0].page, 0);
    EXPECT_EQ(rows[1].page, 0);
    EXPECT_GT(rows[4].page, 0) << "the second chapter comes after 90 paragraphs";
    EXPECT_TRUE(doc.getAllText(rows[4].page).text().contains("Chapter 2"));
    EXPECT_FALSE(doc.getAllText(rows[4].page - 1).text().contains("Chapter 2"));
    // From the top of the page, in points: inside the page, below the top
    // margin, and in the order of the headings on one page.
    const double height = doc.pagePointSize(0).height();
    for (const Row& r : rows) {
        EXPECT_GT(r.location.y(), 40) << r.title.toStdString();
        EXPECT_LT(r.location.y(), height - 60) << r.title.toStdString();
    }
    EXPECT_LT(rows[0].location.y(), rows[1].location.y());
    EXPECT_LT(rows[1].location.y(), rows[2].location.y());
    EXPECT_LT(rows[2].location.y(), rows[3].location.y());
    // The first heading sits at the 20 mm top margin (57 pt).
    EXPECT_NEAR(rows[0].location.y(), 57, 6);
}

TEST_F(HelpManual, TheTextIsInThePdfWithItsChineseGlyphs) {
    QPdfDocument doc;
    ASSERT_EQ(doc.load(pdf()), QPdfDocument::Error::None);
    const QString first = doc.getAllText(0).text();
    EXPECT_TRUE(first.contains(QStringLiteral("容器内物料的质量"))) << first.toStdString();
    EXPECT_TRUE(first.contains(QStringLiteral("— 1 / "))) << "the footer numbers the pages";
}

TEST_F(HelpManual, ViewerOpensAtTheTopicsBookmark) {
    QWidget owner;
    QtUiServices ui(&owner);
    HelpViewer* v = ShowHelp(&owner, ui, pdf().toStdString(), "Chapter 2 ");
    ASSERT_NE(v, nullptr);
    EXPECT_TRUE(v->isVisible());
    EXPECT_EQ(v->windowTitle(), QStringLiteral("Kolvane 帮助"));
    EXPECT_TRUE(DialogAutoAnswer().shown.empty());
    const QModelIndex mark = v->findBookmark(QStringLiteral("Chapter 2 "));
    ASSERT_TRUE(mark.isValid());
    EXPECT_GT(v->currentPage(), 0);
    EXPECT_EQ(v->currentPage(), mark.data(int(Role::Page)).toInt());
    EXPECT_EQ(v->bookmarkTree()->currentIndex(), mark) << "the pane shows where we are";
    EXPECT_EQ(v->bookmarkTree()->model()->rowCount(), 2);
}

TEST_F(HelpManual, MissingBookmarkIsToldAndTheManualStaysOpenAtItsStart) {
    QWidget owner;
    QtUiServices ui(&owner);
    HelpViewer* v = ShowHelp(&owner, ui, pdf().toStdString(), "Chapter 2 ");
    ASSERT_NE(v, nullptr);
    ASSERT_GT(v->currentPage(), 0);
    // Without the trailing blank the title is another title.
    HelpViewer* again = ShowHelp(&owner, ui, pdf().toStdString(), "Chapter 2");
    EXPECT_EQ(again, v) << "one viewer, kept from one call to the next";
    EXPECT_EQ(owner.findChildren<HelpViewer*>().size(), 1);
    EXPECT_EQ(DialogAutoAnswer().shown, std::vector<std::string>{"没有发现:Chapter 2"});
    EXPECT_TRUE(v->isVisible());
    EXPECT_EQ(v->currentPage(), 0);
    EXPECT_EQ(v->document()->status(), QPdfDocument::Status::Ready);
}

TEST_F(HelpManual, ThePagesScrollToTheHeadingsPlace) {
    QWidget owner;
    QtUiServices ui(&owner);
    auto scrolled = [&](const char* topic) {
        HelpViewer* v = ShowHelp(&owner, ui, pdf().toStdString(), topic);
        return v ? v->pageView()->verticalScrollBar()->value() : -1;
    };
    const int chapter = scrolled("第一章 系统安装 ");
    const int lower = scrolled("加热时间 ");
    const int second = scrolled("Chapter 2 ");
    EXPECT_GT(lower, chapter) << "a heading lower on the same page";
    EXPECT_GT(second, lower);
    EXPECT_EQ(scrolled("Chapter 2"), 0) << "a topic not found shows the start";
}

TEST_F(HelpManual, ChineseTopicsAreFound) {
    QWidget owner;
    QtUiServices ui(&owner);
    HelpViewer* v = ShowHelp(&owner, ui, pdf().toStdString(), "质量 ");
    ASSERT_NE(v, nullptr);
    EXPECT_TRUE(DialogAutoAnswer().shown.empty());
    EXPECT_EQ(v->bookmarkTree()->currentIndex().data(int(Role::Title)).toString(),
              QStringLiteral("质量 "));
    EXPECT_EQ(v->currentPage(), 0);
}

TEST_F(HelpManual, AManualThatCannotBeReadIsToldNamingTheFile) {
    QWidget owner;
    QtUiServices ui(&owner);
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
    // A good manual after a bad one shows again.
    EXPECT_EQ(ShowHelp(&owner, ui, pdf().toStdString(), "质量 "), v);
    EXPECT_TRUE(v->isVisible());
}

TEST_F(HelpManual, AManualRebuiltWhileTheViewerIsOpenIsReadAgain) {
    TempDir other;
    const QString copy = QString::fromStdString(other.file("Manual.pdf"));
    ASSERT_TRUE(QFile::copy(pdf(), copy));
    QWidget owner;
    QtUiServices ui(&owner);
    ASSERT_NE(ShowHelp(&owner, ui, copy.toStdString(), "质量 "), nullptr);
    WriteBytes(other.file("new.html"), "<h1>新的一章</h1><p>x</p>");
    ASSERT_EQ(RunTool(QString::fromStdString(other.file("new.html")), copy), 0);
    HelpViewer* v = ShowHelp(&owner, ui, copy.toStdString(), "新的一章 ");
    ASSERT_NE(v, nullptr);
    EXPECT_TRUE(DialogAutoAnswer().shown.empty()) << DialogAutoAnswer().shown[0];
}

TEST_F(HelpManual, MainWindowEntryPointsOpenTheManual) {
    MainWindow window(folder());
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto viewer = [&] { return window.findChild<HelpViewer*>(); };
    auto shownTitle = [&] {
        return viewer()->bookmarkTree()->currentIndex().data(int(Role::Title)).toString();
    };

    auto* menu = window.findChild<QAction*>("MHPDF");
    ASSERT_NE(menu, nullptr);
    menu->trigger();
    ASSERT_NE(viewer(), nullptr);
    EXPECT_TRUE(viewer()->isVisible());
    EXPECT_EQ(shownTitle(), QStringLiteral("第一章 系统安装 "));

    // "这是什么？" with the focus in 加热时间.
    auto* tao = dynamic_cast<EditDWidget*>(window.widgetFor("TaoD"));
    ASSERT_NE(tao, nullptr);
    QApplication::setActiveWindow(&window);
    tao->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), tao);
    window.findChild<QAction*>("SBHPDF")->trigger();
    EXPECT_EQ(shownTitle(), QStringLiteral("加热时间 "));

    // F1 in 质量.
    auto* mass = dynamic_cast<EditDWidget*>(window.widgetFor("MaoD"));
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    mass->setFocus(Qt::TabFocusReason);
    QTest::keyClick(mass, Qt::Key_F1);
    EXPECT_EQ(shownTitle(), QStringLiteral("质量 "));
    EXPECT_EQ(window.kolvane().HelpTopic(), "质量 ");
    EXPECT_TRUE(DialogAutoAnswer().shown.empty());
    EXPECT_EQ(window.findChildren<HelpViewer*>().size(), 1);
}

TEST_F(HelpManual, F1OutsideAQuantityFieldDoesNothing) {
    MainWindow window(folder());
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QWidget* list = window.widgetFor("PhiD");
    ASSERT_NE(list, nullptr);
    list->setFocus(Qt::TabFocusReason);
    QTest::keyClick(list, Qt::Key_F1);
    window.findChild<QAction*>("SBHPDF")->trigger();
    EXPECT_EQ(window.findChild<HelpViewer*>(), nullptr);
    EXPECT_EQ(window.kolvane().HelpTopic(), "");
}

TEST_F(HelpManual, HelpWithoutTheManualIsToldInTheWindow) {
    TempDir empty;
    MainWindow window(empty.path().string() + "/");
    window.findChild<QAction*>("MHPDF")->trigger();
    ASSERT_EQ(DialogAutoAnswer().shown.size(), 1u);
    EXPECT_NE(DialogAutoAnswer().shown[0].find(empty.file("Manual.pdf")), std::string::npos);
    EXPECT_EQ(window.findChild<HelpViewer*>(), nullptr);
}

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
    EXPECT_EQ(RunTool(QString::fromStdString(dir.file("none.html")), out, &err), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("none.html"))) << err.toStdString();
    EXPECT_FALSE(QFile::exists(out));
}

TEST(ManualTool, TheShippedManualOpensAtTheInstallationChapter) {
    QPdfDocument doc;
    ASSERT_EQ(doc.load(QStringLiteral(KOLVANE_MANUAL_PDF)), QPdfDocument::Error::None);
    const QList<Row> rows = Outline(doc);
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [](const Row& r) {
        return r.title == QStringLiteral("第一章 系统安装 ") && r.depth == 0;
    }));
}

// F1 and "这是什么？" look a field up by its caption as shown; the shipped
// manual must have that section for every field, in every variant of the
// captions (vessel shapes, U-tube or coil).
TEST(ManualTool, TheShippedManualHasASectionForEveryQuantityField) {
    QPdfDocument doc;
    ASSERT_EQ(doc.load(QStringLiteral(KOLVANE_MANUAL_PDF)), QPdfDocument::Error::None);
    QSet<QString> titles;
    for (const Row& r : Outline(doc))
        titles.insert(r.title);
    ScriptedUiServices ui;
    TFormKolvane w(ui, "");
    QSet<QString> missing;
    int looked = 0;
    auto lookUp = [&] {
        for (const auto& c : w.form().components()) {
            const std::string topic = TFormKolvane::HelpTopicOf(c.get());
            if (topic.empty()) continue;
            ++looked;
            if (!titles.contains(QString::fromStdString(topic)))
                missing.insert(QString::fromStdString(topic));
        }
    };
    TComboBox& shapes = w.list("VND");
    for (int shape = 0; shape < int(shapes.items().size()); ++shape) {
        shapes.Select(shape);
        for (int form = 0; form < 2; ++form) {
            w.list("TShapeD").Select(form);
            lookUp();
        }
    }
    EXPECT_GT(looked, 50);
    EXPECT_TRUE(missing.isEmpty()) << QStringList(missing.values()).join(u'|').toStdString();
}

} // namespace
} // namespace kolvane
