#include "gui/PipesPage.h"
#include "gui/Navigator.h"
#include "print/QtText.h"

#include "formula/NumberFormat.h"
#include "refdata/RefData.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kolvane {

namespace {

const struct {
    const char* caption;
    int width;
    Qt::Alignment align;
} kColumns[] = {
    // The row number reads as a label, so it sits on the left like the text.
    {"序号", 46, Qt::AlignLeft | Qt::AlignVCenter},
    {"管子规格", 79, Qt::AlignLeft | Qt::AlignVCenter},
    {"外径", 64, Qt::AlignRight | Qt::AlignVCenter},
    {"内径", 64, Qt::AlignRight | Qt::AlignVCenter},
};

const NavEntry kNavigator[] = {
    {"开头", QStyle::SP_MediaSkipBackward, ""},
    {"上一个", QStyle::SP_ArrowLeft, ""},
    {"下一个", QStyle::SP_ArrowRight, ""},
    {"最后", QStyle::SP_MediaSkipForward, ""},
};

} // namespace

PipesPage::PipesPage(RefTables& tables, QWidget* parent) : QWidget(parent), tables_(tables) {
    setObjectName("PipesPage");
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(2);

    navigator_ = new QWidget(this);
    navigator_->setObjectName("DBNPiples");
    navButtons_ =
        BuildNavigator(navigator_, kNavigator, [this](const QString& hint) { navigate(hint); });
    v->addWidget(navigator_);

    table_ = new QTableWidget(0, 4, this);
    table_->setObjectName("DBGPiples");
    QStringList captions;
    for (const auto& c : kColumns)
        captions << QString::fromUtf8(c.caption);
    table_->setHorizontalHeaderLabels(captions);
    int width = 0;
    for (int c = 0; c < 4; ++c) {
        table_->setColumnWidth(c, kColumns[c].width);
        table_->horizontalHeaderItem(c)->setTextAlignment(kColumns[c].align);
        width += kColumns[c].width;
    }
    table_->horizontalHeader()->setHighlightSections(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setWordWrap(false);
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The columns and the vertical scroll bar, nothing to scroll sideways.
    table_->setFixedWidth(width + table_->verticalScrollBar()->sizeHint().width() +
                          2 * table_->frameWidth());
    table_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    connect(table_, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (syncing_ || row < 0) return;
        tables_.setCurrentPipe(row);
        showCurrent();
    });
    v->addWidget(table_, 1);

    note_ = new QLabel(this);
    note_->setObjectName("PipesNote");
    note_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    note_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    v->addWidget(note_);

    buttons_ = new QHBoxLayout;
    buttons_->setContentsMargins(0, 4, 0, 0);
    buttons_->addStretch();
    v->addLayout(buttons_);
    // Without the table the note and the buttons stay at the top.
    v->addStretch(0);

    refresh();
}

void PipesPage::addButton(QWidget* button) {
    buttons_->insertWidget(buttons_->count() - 1, button);
}

QToolButton* PipesPage::navigatorButton(const QString& hint) const {
    for (const auto& [h, b] : navButtons_)
        if (h == hint) return b;
    return nullptr;
}

void PipesPage::refresh() {
    const bool available = tables_.available();
    // Hidden, not emptied: the note takes the table's place.
    navigator_->setVisible(available);
    table_->setVisible(available);
    note_->setVisible(!available);
    note_->setText(available ? QString()
                             : QStringLiteral("参考数据不可用：") + Q(tables_.problem()));

    const auto& pipes = tables_.pipes();
    syncing_ = true;
    table_->setRowCount(static_cast<int>(pipes.size()));
    for (int r = 0; r < static_cast<int>(pipes.size()); ++r) {
        const PipeRow& p = pipes[static_cast<std::size_t>(r)];
        const QString cells[] = {QString::number(p.id), Q(p.dn), Q(FloatToStr15(p.outside)),
                                 Q(FloatToStr15(p.inside))};
        for (int c = 0; c < 4; ++c) {
            QTableWidgetItem* item = table_->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                item->setTextAlignment(kColumns[c].align);
                table_->setItem(r, c, item);
            }
            item->setText(cells[c]);
        }
    }
    syncing_ = false;
    showCurrent();
}

void PipesPage::navigate(const QString& hint) {
    const int last = static_cast<int>(tables_.pipes().size()) - 1;
    if (last < 0) return;
    const int at = tables_.currentPipe();
    int to = at;
    if (hint == QStringLiteral("开头"))
        to = 0;
    else if (hint == QStringLiteral("上一个"))
        to = std::max(0, at - 1);
    else if (hint == QStringLiteral("下一个"))
        to = std::min(last, at + 1);
    else if (hint == QStringLiteral("最后"))
        to = last;
    tables_.setCurrentPipe(to);
    showCurrent();
}

void PipesPage::showCurrent() {
    const int count = static_cast<int>(tables_.pipes().size());
    const int at = tables_.currentPipe();
    if (count > 0 && at >= 0 && at < count && table_->currentRow() != at) {
        syncing_ = true;
        table_->setCurrentCell(at, table_->currentColumn() < 0 ? 0 : table_->currentColumn());
        syncing_ = false;
    }
    // Like a record navigator at the first and the last row.
    navigatorButton(QStringLiteral("开头"))->setEnabled(count > 0 && at > 0);
    navigatorButton(QStringLiteral("上一个"))->setEnabled(count > 0 && at > 0);
    navigatorButton(QStringLiteral("下一个"))->setEnabled(count > 0 && at < count - 1);
    navigatorButton(QStringLiteral("最后"))->setEnabled(count > 0 && at < count - 1);
}

} // namespace kolvane
