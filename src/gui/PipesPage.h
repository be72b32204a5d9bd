#pragma once

#include <QString>
#include <QWidget>

#include <utility>
#include <vector>

class QLabel;
class QHBoxLayout;
class QTableWidget;
class QToolButton;

namespace kolvane {

class RefTables;

// The page "管道系列": the pipe series as a read-only table with its
// navigator, and the page's command buttons below it. The core keeps the
// rows and the current pipe; the table shows them and moving in it, by
// mouse, keyboard or navigator, sets the core's current pipe. Without the
// reference data a one-line note says why instead of an empty table.
class PipesPage : public QWidget {
    Q_OBJECT
public:
    explicit PipesPage(RefTables& tables, QWidget* parent = nullptr);

    // A command button, placed in the row below the table.
    void addButton(QWidget* button);
    // Shows the rows and the current pipe as the core has them now.
    void refresh();

    QTableWidget* table() const { return table_; }
    QLabel* note() const { return note_; }
    // The navigator button with this hint ("开头", "上一个", "下一个", "最后").
    QToolButton* navigatorButton(const QString& hint) const;

private:
    void navigate(const QString& hint);
    // The table's current row and the navigator's buttons follow the core.
    void showCurrent();

    RefTables& tables_;
    QWidget* navigator_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* note_ = nullptr;
    QHBoxLayout* buttons_ = nullptr;
    std::vector<std::pair<QString, QToolButton*>> navButtons_;
    bool syncing_ = false;
};

} // namespace kolvane
