#include "gui/MyValuesWidget.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QPalette>

namespace kolvane {

// --- model ---------------------------------------------------------------------

MyValuesModel::MyValuesModel(TMyValues& values, QObject* parent)
    : QAbstractTableModel(parent), values_(values) {
    shownRows_ = values_.RowCount();
    subscription_ = values_.Subscribe([this] { gridChanged(); });
}

MyValuesModel::~MyValuesModel() {
    values_.Unsubscribe(subscription_);
}

void MyValuesModel::gridChanged() {
    // A new row changes the shape; anything else only the texts.
    if (values_.RowCount() != shownRows_) {
        beginResetModel();
        shownRows_ = values_.RowCount();
        endResetModel();
        return;
    }
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int MyValuesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shownRows_ - 1;
}

int MyValuesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : TMyValues::kColCount;
}

QVariant MyValuesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    int row = index.row() + 1;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return QString::fromStdString(values_.Cell(row, index.column()));
    case Qt::BackgroundRole:
        // The name column is fixed, drawn like the header.
        if (index.column() == TMyValues::kColName)
            return QApplication::palette().brush(QPalette::Button);
        return {};
    default:
        return {};
    }
}

bool MyValuesModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    int row = index.row() + 1;
    if (!TMyValues::AcceptsTyping(row, index.column())) return false;
    values_.SetCell(row, index.column(), value.toString().toStdString());
    return true;
}

QVariant MyValuesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) return QString::fromStdString(values_.Cell(0, section));
    return section + 1;
}

Qt::ItemFlags MyValuesModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (TMyValues::AcceptsTyping(index.row() + 1, index.column())) f |= Qt::ItemIsEditable;
    return f;
}

// --- delegate ------------------------------------------------------------------

void MyValuesDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    // The view paints a selection panel under selected and current cells;
    // cover it with the cell's own background, then draw the text in black
    // as for any other cell.
    QVariant background = index.data(Qt::BackgroundRole);
    painter->fillRect(option.rect, background.canConvert<QBrush>()
                                       ? background.value<QBrush>()
                                       : option.palette.brush(QPalette::Base));
    QStyleOptionViewItem opt(option);
    opt.state &= ~QStyle::State_Selected;
    opt.palette.setColor(QPalette::Text, Qt::black);
    QStyledItemDelegate::paint(painter, opt, index);
}

// --- view ----------------------------------------------------------------------

MyValuesWidget::MyValuesWidget(TMyValues& values, QWidget* parent)
    : QTableView(parent), model_(new MyValuesModel(values, this)) {
    setModel(model_);
    setItemDelegate(new MyValuesDelegate(this));
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(18);
    verticalHeader()->setDefaultSectionSize(18);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    for (int c = 0; c < TMyValues::kColCount; ++c)
        setColumnWidth(c, c == TMyValues::kColNote ? 120 : 64);
    setShowGrid(true);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::AllEditTriggers);
    setWordWrap(false);
    int rows = model_->rowCount();
    if (rows > 0) setCurrentIndex(model_->index(rows - 1, TMyValues::kColCount - 1));
}

void MyValuesWidget::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    // The value editor stays open on the current cell, as in a text grid.
    if (current.isValid() && (model_->flags(current) & Qt::ItemIsEditable) &&
        state() != QAbstractItemView::EditingState)
        edit(current);
}

} // namespace kolvane
