#pragma once

#include "formula/MyValues.h"

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>

namespace kolvane {

// Qt's view of a TMyValues grid: the title row becomes the column header,
// every further row a table row. Only the value column takes typing.
class MyValuesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit MyValuesModel(TMyValues& values, QObject* parent = nullptr);
    ~MyValuesModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    TMyValues& values() { return values_; }

private:
    void gridChanged();

    TMyValues& values_;
    int subscription_ = 0;
    int shownRows_ = 0;
};

// Draws a selected cell like an unselected one: the grid marks the current
// cell with its focus frame only.
class MyValuesDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

// The parameter grid of the property library window: name, value, unit and
// note columns over a TMyValues that the caller owns.
class MyValuesWidget : public QTableView {
    Q_OBJECT
public:
    explicit MyValuesWidget(TMyValues& values, QWidget* parent = nullptr);

    MyValuesModel* gridModel() const { return model_; }

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    MyValuesModel* model_;
};

} // namespace kolvane
