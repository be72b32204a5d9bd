#include "gui/MyValuesWidget.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace kolvane {
namespace {

// The grid's own rules (titles, which cells take typing) are the core's
// (test_my_values); here the widget shows them and passes typing on.
class GridWidget : public testing::Test {
protected:
    void SetUp() override {
        grid.AddParam("t", "20", "C", "温度");
        grid.AddParam("p", "100", "kPa", "压力");
        view = std::make_unique<MyValuesWidget>(grid);
        view->resize(400, 200);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }

    QModelIndex cell(int row, int col) const { return view->model()->index(row - 1, col); }

    TMyValues grid;
    std::unique_ptr<MyValuesWidget> view;
};

TEST_F(GridWidget, ShowsTitlesAsHeaderAndRowsAsCells) {
    auto* m = view->model();
    EXPECT_EQ(m->rowCount(), 4);
    QStringList titles;
    for (int c = 0; c < m->columnCount(); ++c)
        titles << m->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(titles.join('|'), "名称|数量|单位|备注");
    EXPECT_EQ(m->data(cell(1, 0)).toString(), "t");
    EXPECT_EQ(m->data(cell(2, 3)).toString(), "压力");
    EXPECT_EQ(view->currentIndex(), cell(4, 3));
}

TEST_F(GridWidget, OnlyTheValueColumnTakesTyping) {
    for (int col : {2, 3}) {
        view->setCurrentIndex(cell(1, col));
        QTest::keyClicks(view.get(), "xyz");
        QTest::keyClick(view.get(), Qt::Key_Backspace);
        QTest::keyClick(view.get(), Qt::Key_Return);
        QApplication::processEvents();
    }
    EXPECT_EQ(grid.Cell(1, 2), "C");
    EXPECT_EQ(grid.Cell(1, 3), "温度");

    view->setCurrentIndex(cell(1, 1));
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr) << "the value cell opens its editor when it becomes current";
    editor->clear();
    QTest::keyClicks(editor, "35");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents(); // the delegate commits from a queued call
    EXPECT_EQ(grid.ValueByName("t"), "35");
}

TEST_F(GridWidget, FollowsChangesOfTheModel) {
    for (const char* n : {"a", "b", "c"})
        grid.AddParam(n, "1", "", "");
    EXPECT_EQ(view->model()->rowCount(), 5);
    EXPECT_EQ(view->model()->data(cell(5, 0)).toString(), "c");
    grid.SetValueByName("t", "80");
    EXPECT_EQ(view->model()->data(cell(1, 1)).toString(), "80");
    grid.ClearRowsFrom(1);
    EXPECT_EQ(view->model()->data(cell(1, 0)).toString(), "");
}

TEST_F(GridWidget, SelectionIsNotHighlighted) {
    view->setCurrentIndex(cell(1, 0));
    view->selectionModel()->select(QItemSelection(cell(3, 2), cell(4, 3)),
                                   QItemSelectionModel::ClearAndSelect);
    QApplication::processEvents();
    ASSERT_TRUE(view->selectionModel()->isSelected(cell(4, 3)));
    QImage shot = view->viewport()->grab().toImage();
    QColor middle = shot.pixelColor(view->visualRect(cell(4, 3)).center());
    EXPECT_EQ(middle, view->palette().color(QPalette::Base));
    EXPECT_NE(middle, view->palette().color(QPalette::Highlight));
}

} // namespace
} // namespace kolvane
