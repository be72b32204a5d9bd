#include "gui/PropLibDialog.h"
#include "gui/Navigator.h"
#include "print/QtText.h"

#include "engine/MainFormTables.h"
#include "form/ComboBoxU.h"
#include "form/Controls.h"
#include "form/EditD.h"
#include "form/FormKolvane.h"
#include "form/SimpProps.h"
#include "form/UiServices.h"
#include "gui/ControlWidgets.h"
#include "gui/MyValuesWidget.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kolvane {

namespace {

const char* const kResults[] = {"CPD", "MDD", "VID", "TCD", "STD", "HVD"};
const char* const kShownFields[] = {"NO", "CN", "EN", "NT"};

const NavEntry kNavigator[] = {
    {"开头", QStyle::SP_MediaSkipBackward, ""},  {"上一个", QStyle::SP_ArrowLeft, ""},
    {"下一个", QStyle::SP_ArrowRight, ""},       {"最后", QStyle::SP_MediaSkipForward, ""},
    {"插入", QStyle::SP_CustomBase, "+"},        {"删除", QStyle::SP_CustomBase, "-"},
    {"编辑", QStyle::SP_CustomBase, "✎"},        {"确认", QStyle::SP_DialogApplyButton, ""},
    {"取消", QStyle::SP_DialogCancelButton, ""}, {"刷新", QStyle::SP_BrowserReload, ""},
};

const PropertyField& Field(std::string_view name) {
    return *FindPropertyField(name);
}

QPushButton* Button(const char* caption, const char* name, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(name);
    // Enter belongs to the maintenance page's save button alone.
    b->setAutoDefault(false);
    return b;
}

// A box's text, set only when it differs: the box the user is typing in
// keeps its cursor.
void SetText(QWidget* box, const QString& text) {
    if (auto* line = qobject_cast<QLineEdit*>(box)) {
        if (line->text() != text) line->setText(text);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(box)) {
        if (plain->toPlainText() != text) plain->setPlainText(text);
    }
}

// A page of the dialog: a column with the margins of both pages and the grid
// of caption/box rows the caller fills and adds.
struct PageLayout {
    QWidget* page;
    QVBoxLayout* column;
    QGridLayout* boxes;
};

PageLayout NewPage(const char* name) {
    auto* page = new QWidget;
    page->setObjectName(name);
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(6, 6, 6, 6);
    v->setSpacing(6);
    auto* boxes = new QGridLayout;
    boxes->setHorizontalSpacing(4);
    boxes->setVerticalSpacing(3);
    return {page, v, boxes};
}

} // namespace

PropLibDialog::PropLibDialog(TFormSimpPL& library, TFormKolvane& main, UiServices& ui, Guard guard,
                             QWidget* parent)
    : QDialog(parent), lib_(library), main_(main), ui_(ui), guard_(std::move(guard)) {
    setObjectName("FormSimpPL");
    setWindowTitle(QString::fromUtf8(TFormSimpPL::kCaption));
    setModal(true);

    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->setSpacing(6);

    auto* left = new QVBoxLayout;
    left->setSpacing(2);
    auto* bar = new QWidget(this);
    bar->setObjectName("DBNavigator1");
    navigator_ = BuildNavigator(bar, kNavigator, [this](const QString& hint) { navigate(hint); });
    left->addWidget(bar);
    list_ = new QTableWidget(0, 2, this);
    list_->setObjectName("DBGrid1");
    list_->setHorizontalHeaderLabels({QStringLiteral("流水号"), QStringLiteral("中文名称")});
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setDefaultSectionSize(20);
    list_->horizontalHeader()->setHighlightSections(false);
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->setColumnWidth(0, 64);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setWordWrap(false);
    connect(list_, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (syncing_ || row < 0 || row == lib_.current()) return;
        command([this, row] { lib_.setCurrent(row); });
    });
    left->addWidget(list_, 1);
    outer->addLayout(left, 1);

    pages_ = new QTabWidget(this);
    pages_->setObjectName("PageControlP");
    pages_->addTab(buildPropertiesPage(), QStringLiteral("物性数据"));
    pages_->addTab(buildMaintenancePage(), QStringLiteral("数据库维护"));
    connect(pages_, &QTabWidget::currentChanged, this, [this](int page) {
        if (!syncing_) command([this, page] { lib_.setActivePage(page); });
    });
    outer->addWidget(pages_);

    lib_.onChanged = [this] { sync(); };
    sync();
    // The height the taller page needs; the widths are the library's.
    setFixedHeight(sizeHint().height());
}

PropLibDialog::~PropLibDialog() {
    lib_.onChanged = nullptr;
}

QWidget* PropLibDialog::buildPropertiesPage() {
    // One grid for the record's boxes, the parameter grid and the results,
    // so that every box starts at the same place.
    auto [page, v, boxes] = NewPage("TSPropP");
    int row = 0;
    for (const char* name : kShownFields) {
        auto* box = new QLineEdit(page);
        box->setObjectName(QStringLiteral("Show") + name);
        box->setReadOnly(true);
        boxes->addWidget(new QLabel(QString::fromUtf8(Field(name).label), page), row, 0);
        boxes->addWidget(box, row++, 1, 1, 2);
        shown_[name] = box;
    }

    grid_ = new MyValuesWidget(lib_.MyValues1(), page);
    grid_->setObjectName("MyValues1");
    const int widths[TMyValues::kColCount] = {64, 87, 56, 110};
    for (int c = 0; c < TMyValues::kColCount; ++c)
        grid_->setColumnWidth(c, widths[c]);
    // The title row and four rows, without scrolling while the grid has no more.
    grid_->setFixedHeight(grid_->horizontalHeader()->sizeHint().height() +
                          4 * grid_->verticalHeader()->defaultSectionSize() +
                          2 * grid_->frameWidth());
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    boxes->addWidget(grid_, row, 0, 1, 3);
    ++row;

    // Which fluid and state the results below belong to, as the library
    // keeps it: empty fields under "尚未计算" are never confirmed as they are.
    resultsFor_ = new QLabel(page);
    resultsFor_->setObjectName("ResultsFor");
    resultsFor_->setWordWrap(true);
    boxes->addWidget(resultsFor_, row++, 0, 1, 3);
    for (const char* name : kResults) {
        Component& label = lib_.form().get<TLabel>(LabelName(name));
        boxes->addWidget(CreateControlWidget(label, guard_, page), row, 0);
        auto* edit = new EditDWidget(lib_.result(name), guard_, page);
        boxes->addWidget(edit, row, 1);
        auto* unit = new ListWidget(lib_.form().get<TComboBox>(SelectorName(name)), guard_, page);
        unit->setFixedWidth(110);
        boxes->addWidget(unit, row++, 2);
        results_[name] = edit;
    }
    boxes->setColumnStretch(1, 1);
    v->addLayout(boxes);
    v->addStretch();

    auto* commands = new QGridLayout;
    commands->setSpacing(6);
    QPushButton* cal = Button("&C 计算", "BBCal", page);
    connect(cal, &QPushButton::clicked, this, [this] { command([this] { lib_.BBCalClick(); }); });
    QPushButton* ok = Button("&O 确定", "BBOK", page);
    connect(ok, &QPushButton::clicked, this, [this] {
        bool close = false;
        command([this, &close] { close = lib_.BBOKClick(main_); });
        if (!close) return;
        confirmed_ = true;
        accept();
    });
    // Alt+C is "计算"; the dialog closes with this button or Esc.
    QPushButton* shut = Button("关闭", "BBClose", page);
    connect(shut, &QPushButton::clicked, this, &QDialog::reject);
    QPushButton* maintain = Button("&E 维护", "BitBtn1", page);
    code_ = new QLineEdit(page);
    code_->setObjectName("EditCode");
    code_->setEchoMode(QLineEdit::Password);
    code_->setToolTip(QStringLiteral("维护口令"));
    connect(maintain, &QPushButton::clicked, this,
            [this] { command([this] { lib_.BitBtn1Click(code_->text().toStdString()); }); });
    connect(code_, &QLineEdit::returnPressed, maintain, &QPushButton::click);
    commands->addWidget(cal, 0, 0);
    commands->addWidget(ok, 0, 1);
    commands->addWidget(shut, 0, 2);
    commands->addWidget(maintain, 1, 0);
    commands->addWidget(code_, 1, 1, 1, 2);
    v->addLayout(commands);
    return page;
}

QWidget* PropLibDialog::buildMaintenancePage() {
    auto [page, v, boxes] = NewPage("TSManP");
    int row = 0;
    for (const PropertyField& f : PropertyFields()) {
        const char* name = f.name;
        QWidget* box = nullptr;
        if (f.bytes >= 300) {
            // A property text is one line of up to 300 bytes: wrapped over
            // two lines so that most of it shows; Enter does not break it.
            auto* text = new QPlainTextEdit(page);
            text->setTabChangesFocus(true);
            text->setFixedHeight(2 * text->fontMetrics().lineSpacing() + 2 * text->frameWidth() +
                                 8);
            text->installEventFilter(this);
            connect(text, &QPlainTextEdit::textChanged, this, [this, text, name] {
                if (!syncing_) edited(name, text->toPlainText());
            });
            box = text;
        } else {
            auto* line = new QLineEdit(page);
            connect(line, &QLineEdit::textEdited, this,
                    [this, name](const QString& t) { edited(name, t); });
            // The names and the number are short: their boxes are too.
            if (f.bytes <= 20) line->setFixedWidth(f.bytes <= 6 ? 80 : 200);
            box = line;
        }
        box->setObjectName(QStringLiteral("Edit") + name);
        auto* label = new QLabel(QString::fromUtf8(f.label), page);
        if (f.bytes >= 300) {
            // Level with the first line of its text.
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setContentsMargins(0, 4, 0, 0);
        }
        boxes->addWidget(label, row, 0);
        if (f.bytes <= 20)
            boxes->addWidget(box, row++, 1, Qt::AlignLeft);
        else
            boxes->addWidget(box, row++, 1);
        editors_[name] = box;
    }
    boxes->setColumnStretch(1, 1);
    v->addLayout(boxes);
    v->addStretch();

    auto* buttons = new QHBoxLayout;
    save_ = Button("&S 保存系统库", "BBSaveSys", page);
    save_->setDefault(true);
    connect(save_, &QPushButton::clicked, this,
            [this] { command([this] { lib_.BBSaveSysClick(); }); });
    QPushButton* shut = Button("关闭", "BBClose2", page);
    connect(shut, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(save_);
    buttons->addWidget(shut);
    buttons->addStretch();
    v->addLayout(buttons);
    return page;
}

bool PropLibDialog::eventFilter(QObject* watched, QEvent* event) {
    // Enter in a property text does what it does in the other boxes of the
    // page: it saves, instead of putting a line break into a formula.
    if (event->type() == QEvent::KeyPress && qobject_cast<QPlainTextEdit*>(watched)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (save_->isVisible()) save_->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PropLibDialog::prepare() {
    confirmed_ = false;
    code_->clear();
    sync();
}

bool PropLibDialog::run() {
    prepare();
    exec();
    return confirmed_;
}

void PropLibDialog::command(const std::function<void()>& f) {
    guard_(f);
    sync();
}

void PropLibDialog::edited(const char* field, const QString& text) {
    const PropertyRecord* r = lib_.currentRecord();
    const std::string value = text.toStdString();
    // A box set to what the record holds is no edit.
    if (r && r->*Field(field).member == value) return;
    command([this, field, &value] { lib_.Edit(field, value); });
}

void PropLibDialog::navigate(const QString& hint) {
    const int last = static_cast<int>(lib_.records().size()) - 1;
    const int at = lib_.current();
    const std::string h = hint.toStdString();
    command([&] {
        if (h == "开头") {
            lib_.setCurrent(0);
        } else if (h == "上一个") {
            if (at > 0) lib_.setCurrent(at - 1);
        } else if (h == "下一个") {
            if (at < last) lib_.setCurrent(at + 1);
        } else if (h == "最后") {
            lib_.setCurrent(last);
        } else if (h == "插入") {
            lib_.Insert();
        } else if (h == "删除") {
            const PropertyRecord* r = lib_.currentRecord();
            if (!r) return;
            // A deleted record is gone: no cancel brings it back.
            if (ui_.question(TFormSimpPL::kCaption, "删除记录 " + r->NO + " " + r->CN + "？", false,
                             Answer::No) == Answer::Yes)
                lib_.Delete();
        } else if (h == "编辑") {
            if (const PropertyRecord* r = lib_.currentRecord()) lib_.Edit("NO", r->NO);
        } else if (h == "确认") {
            lib_.Post();
        } else if (h == "取消") {
            lib_.Cancel();
        }
        // 刷新: the view is brought up to date below, as after any command.
    });
}

void PropLibDialog::fillList() {
    const auto& records = lib_.records();
    list_->setRowCount(static_cast<int>(records.size()));
    for (int i = 0; i < static_cast<int>(records.size()); ++i) {
        const PropertyRecord& r = records[static_cast<std::size_t>(i)];
        const QString texts[2] = {Q(r.NO), Q(r.CN)};
        for (int c = 0; c < 2; ++c) {
            QTableWidgetItem* item = list_->item(i, c);
            if (!item) list_->setItem(i, c, item = new QTableWidgetItem);
            if (item->text() != texts[c]) item->setText(texts[c]);
        }
    }
    if (lib_.current() >= 0)
        list_->setCurrentCell(lib_.current(), 0);
    else
        list_->setCurrentCell(-1, -1);
}

void PropLibDialog::sync() {
    if (syncing_) return;
    syncing_ = true;
    {
        QSignalBlocker blockList(list_);
        fillList();
    }
    const PropertyRecord* r = lib_.currentRecord();
    for (auto& [name, box] : shown_)
        SetText(box, r ? Q(r->*Field(name).member) : QString());
    for (auto& [name, box] : editors_) {
        SetText(box, r ? Q(r->*Field(name).member) : QString());
        box->setEnabled(r != nullptr);
    }

    const std::string owner = lib_.resultsFor();
    resultsFor_->setText(owner.empty() ? QStringLiteral("计算结果：尚未计算（按“计算”）")
                                       : QStringLiteral("计算结果：") + Q(owner));

    pages_->setTabVisible(1, lib_.maintenanceVisible());
    pages_->setCurrentIndex(lib_.activePage());
    pages_->setFixedWidth(lib_.pageControlWidth());
    setFixedWidth(lib_.windowWidth());

    const auto& shownButtons = lib_.navigatorButtons();
    const int at = lib_.current();
    const int last = static_cast<int>(lib_.records().size()) - 1;
    for (auto& [hint, button] : navigator_) {
        const std::string h = hint.toStdString();
        button->setVisible(std::find(shownButtons.begin(), shownButtons.end(), h) !=
                           shownButtons.end());
        bool on = true;
        if (h == "开头" || h == "上一个")
            on = at > 0;
        else if (h == "下一个" || h == "最后")
            on = at >= 0 && at < last;
        else if (h == "删除" || h == "编辑")
            on = at >= 0;
        else if (h == "确认" || h == "取消")
            on = lib_.editing();
        button->setEnabled(on);
    }
    syncing_ = false;
}

QToolButton* PropLibDialog::navigatorButton(const QString& hint) const {
    for (const auto& [h, button] : navigator_)
        if (h == hint) return button;
    return nullptr;
}

QLineEdit* PropLibDialog::shownField(std::string_view name) const {
    auto it = shown_.find(name);
    return it == shown_.end() ? nullptr : it->second;
}

QWidget* PropLibDialog::maintenanceField(std::string_view name) const {
    auto it = editors_.find(name);
    return it == editors_.end() ? nullptr : it->second;
}

EditDWidget* PropLibDialog::resultEdit(std::string_view name) const {
    auto it = results_.find(name);
    return it == results_.end() ? nullptr : it->second;
}

} // namespace kolvane
