#include "gui/PickListDialog.h"
#include "print/QtText.h"

#include "refdata/UnitPickList.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kolvane {

namespace {

// The four columns and their widths, which fill the table's 344 pixels.
constexpr int kTableWidth = 344;
const struct {
    const char* caption;
    int width;
} kColumns[] = {{"序号", 40}, {"名称", 100}, {"数据", 100}, {"单位", 100}};
// Rows shown without scrolling; the longer lists scroll.
constexpr int kVisibleRows = 8;

} // namespace

PickListDialog::PickListDialog(TFormPickList& list, QWidget* parent)
    : QDialog(parent), list_(list) {
    setObjectName("FormPickList");
    setWindowTitle(Q(list.caption()));
    setModal(true);
    // The dialog's font is 宋体 where it is installed, else the program's
    // own CJK font, so that the names are never drawn as boxes.
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                      QApplication::font().family()});
    font.setPointSize(9);
    setFont(font);

    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(8, 8, 8, 8);
    v->setSpacing(6);
    v->setSizeConstraint(QLayout::SetFixedSize);

    prompt_ = new QLabel(Q(list.prompt()), this);
    prompt_->setObjectName("LPrompt");
    v->addWidget(prompt_);

    const auto& rows = list.rows();
    table_ = new QTableWidget(static_cast<int>(rows.size()), 4, this);
    table_->setObjectName("PickListView");
    QStringList captions;
    for (const auto& c : kColumns)
        captions << QString::fromUtf8(c.caption);
    table_->setHorizontalHeaderLabels(captions);
    for (int c = 0; c < 4; ++c)
        table_->setColumnWidth(c, kColumns[c].width);
    table_->horizontalHeader()->setHighlightSections(false);
    table_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->setShowGrid(true);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setWordWrap(false);
    // Hot tracking: the row under the mouse is highlighted.
    table_->setMouseTracking(true);
    table_->viewport()->setAttribute(Qt::WA_Hover);
    // The columns fill the width exactly; a scroll bar for the few pixels a
    // vertical one takes would hide the last row.
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->setFixedSize(kTableWidth,
                         table_->horizontalHeader()->sizeHint().height() +
                             kVisibleRows * table_->verticalHeader()->defaultSectionSize() +
                             2 * table_->frameWidth());
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const auto& row = rows[static_cast<std::size_t>(r)];
        const std::string* cells[] = {&row.number, &row.name, &row.value, &row.unit};
        for (int c = 0; c < 4; ++c) {
            auto* item = new QTableWidgetItem(Q(*cells[c]));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            // Long names such as "无缝黄铜管\钢管\铅管" do not fit their
            // 100 pixels and are elided: the tooltip shows them whole.
            item->setToolTip(item->text());
            table_->setItem(r, c, item);
        }
    }
    if (!rows.empty()) table_->setCurrentCell(list.selected(), 0);
    v->addWidget(table_);

    auto* entryRow = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("输入："), this);
    entry_ = new QLineEdit(Q(list.entry()), this);
    entry_->setObjectName("LEPickStr");
    label->setBuddy(entry_);
    entryRow->addWidget(label);
    entryRow->addWidget(entry_, 1);
    v->addLayout(entryRow);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    ok_ = new QPushButton(QStringLiteral("&O 确定"), this);
    ok_->setObjectName("BPickOK");
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("&C 取消"), this);
    cancel_->setObjectName("BPickCancel");
    cancel_->setAutoDefault(false);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    v->addLayout(buttons);

    // Any change of the current row, by mouse or keyboard, moves the
    // selection; only a click copies the row's value, so a value typed into
    // the entry survives browsing the list with the arrow keys.
    connect(table_, &QTableWidget::currentCellChanged, this,
            [this](int row) { list_.select(row); });
    connect(table_, &QTableWidget::cellClicked, this, [this](int row) {
        list_.click(row);
        entry_->setText(Q(list_.entry()));
    });
    // The list always has a selected row; a ctrl-click must not leave the
    // view showing none while OK would still use the list's row.
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (table_->rowCount() > 0 && !table_->selectionModel()->hasSelection())
            table_->selectRow(list_.selected());
    });
    connect(entry_, &QLineEdit::textEdited, this,
            [this](const QString& text) { list_.setEntry(text.toStdString()); });
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    table_->setFocus(Qt::OtherFocusReason);
}

void PickListDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Centred on the screen, whatever window asked for it.
    if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
}

} // namespace kolvane
