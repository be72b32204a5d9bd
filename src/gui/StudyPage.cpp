#include "gui/StudyPage.h"

#include "engine/CalcRules.h"
#include "files/AtomicFile.h"
#include "files/IoError.h"
#include "form/FormKolvane.h"
#include "form/UiServices.h"
#include "formula/NumberFormat.h"
#include "model/Errors.h"
#include "print/StudyCharts.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QFutureWatcher>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QtConcurrent>

#include <cmath>
#include <variant>

namespace kolvane {

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QString Shown(double v) {
    return std::isfinite(v) ? Q(FormatGeneral(v, 7, 4)) : QStringLiteral("-");
}

// The most points a sweep in the window may have (both axes together).
constexpr std::size_t kMaxSweepPoints = 100000;
// The most rows the sweep's table shows.
constexpr std::size_t kMaxTableRows = 5000;

QChartView* ChartView(QChart* chart) {
    auto* view = new QChartView(chart); // the view owns the chart
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumHeight(200);
    return view;
}

QTableWidget* Table() {
    auto* t = new QTableWidget;
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->verticalHeader()->setDefaultSectionSize(20);
    t->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft);
    return t;
}

QDoubleSpinBox* Number(double value, double lo, double hi, int decimals, const char* suffix) {
    auto* box = new QDoubleSpinBox;
    box->setRange(lo, hi);
    box->setDecimals(decimals);
    box->setValue(value);
    box->setSuffix(QString::fromUtf8(suffix));
    return box;
}

// The field ids a list item stands for: a quantity, or the check's figures.
constexpr int kAreaNeededItem = -1, kRatioItem = -2;

StudyOutput OutputOf(int data) {
    if (data == kAreaNeededItem) return {StudyOutput::Kind::AreaNeeded};
    if (data == kRatioItem) return {StudyOutput::Kind::CheckRatio};
    return {StudyOutput::Kind::Field, static_cast<fid::FieldId>(data)};
}

} // namespace

// A study on the worker thread: its cancel flag and the progress the timer
// shows, and the watcher that tells when it has finished.
struct StudyPage::Running {
    std::atomic<bool> cancel{false};
    std::atomic<std::size_t> done{0}, total{0};
    QFutureWatcherBase* watcher = nullptr;
    std::function<void()> deliver;
};

StudyPage::StudyPage(TFormKolvane& window, QProgressBar* progress, Guard guard, QWidget* parent)
    : QWidget(parent), window_(window), progress_(progress), guard_(std::move(guard)) {
    setObjectName(QStringLiteral("TSStudy"));
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(4, 4, 4, 4);
    auto* top = new QHBoxLayout;
    note_ = new QLabel;
    note_->setWordWrap(true);
    inReport_ = new QCheckBox(QStringLiteral("在计算报告中列出设计研究"));
    inReport_->setToolTip(
        QStringLiteral("报告的“设计研究”一节：最近的不确定度和参数研究表，参数研究图另占一页PDF"));
    connect(inReport_, &QCheckBox::toggled, this,
            [this](bool on) { window_.studies().inReport = on; });
    top->addWidget(note_, 1);
    top->addWidget(inReport_);
    v->addLayout(top);
    parts_ = new QTabWidget;
    parts_->addTab(buildSweep(), QStringLiteral("参数研究"));
    parts_->addTab(buildBand(), QStringLiteral("不确定度"));
    parts_->addTab(buildLayout(), QStringLiteral("管子布置"));
    v->addWidget(parts_, 1);
    progressTimer_ = new QTimer(this);
    progressTimer_->setInterval(100);
    connect(progressTimer_, &QTimer::timeout, this, [this] {
        if (!running_ || !progress_) return;
        const std::size_t total = running_->total.load();
        if (total > 0) progress_->setValue(static_cast<int>(100 * running_->done.load() / total));
    });
    setRunning(false);
    fillChoices();
    say(QStringLiteral(
            "研究从计算页当前的计算出发，不改变项目；只有“采用”才把所选布置写入计算页。"),
        false);
}

StudyPage::~StudyPage() {
    // A worker must not outlive the case and the window it reads.
    if (running_) {
        running_->cancel = true;
        running_->watcher->waitForFinished();
    }
}

QWidget* StudyPage::buildSweep() {
    auto* page = new QWidget;
    auto* h = new QHBoxLayout(page);
    h->setContentsMargins(2, 2, 2, 2);
    auto* left = new QVBoxLayout;
    for (int a = 0; a < 2; ++a) {
        AxisControls& c = axes_[a];
        auto* box = new QGroupBox(a == 0 ? QStringLiteral("研究变量") : QStringLiteral("第二变量"));
        auto* f = new QFormLayout(box);
        f->setContentsMargins(4, 4, 4, 4);
        f->setVerticalSpacing(2);
        c.field = new QComboBox;
        c.field->setMinimumContentsLength(12);
        c.field->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        c.from = new QLineEdit;
        c.to = new QLineEdit;
        c.points = new QSpinBox;
        c.points->setRange(1, 1000);
        c.points->setValue(a == 0 ? 11 : 3);
        c.log = new QCheckBox(QStringLiteral("对数分点"));
        c.unit = new QLabel;
        auto* range = new QHBoxLayout;
        range->addWidget(c.from);
        range->addWidget(new QLabel(QStringLiteral("至")));
        range->addWidget(c.to);
        range->addWidget(c.unit);
        auto* count = new QHBoxLayout;
        count->addWidget(c.points);
        count->addWidget(c.log);
        f->addRow(QStringLiteral("输入"), c.field);
        f->addRow(QStringLiteral("范围"), range);
        f->addRow(QStringLiteral("点数"), count);
        connect(c.field, &QComboBox::currentIndexChanged, this, [this, a] { showUnit(a); });
        left->addWidget(box);
    }
    auto* outBox = new QGroupBox(QStringLiteral("结果"));
    auto* ov = new QVBoxLayout(outBox);
    ov->setContentsMargins(4, 4, 4, 4);
    outputs_ = new QListWidget;
    outputs_->setMinimumHeight(90);
    ov->addWidget(outputs_);
    chartOutput_ = new QComboBox;
    auto* chartRow = new QHBoxLayout;
    chartRow->addWidget(new QLabel(QStringLiteral("图中显示")));
    chartRow->addWidget(chartOutput_, 1);
    ov->addLayout(chartRow);
    left->addWidget(outBox, 1);
    auto* buttons = new QHBoxLayout;
    auto* run = new QPushButton(QStringLiteral("计算"));
    auto* stop = new QPushButton(QStringLiteral("取消"));
    csv_ = new QPushButton(QStringLiteral("导出CSV"));
    buttons->addWidget(run);
    buttons->addWidget(stop);
    buttons->addWidget(csv_);
    left->addLayout(buttons);
    runButtons_.push_back(run);
    cancelButtons_.push_back(stop);
    connect(run, &QPushButton::clicked, this, [this] { runSweep(); });
    connect(stop, &QPushButton::clicked, this, &StudyPage::cancel);
    connect(csv_, &QPushButton::clicked, this, [this] {
        FileDialogOptions options;
        options.title = "导出参数研究";
        options.filter = "CSV 文件（*.csv）|*.csv";
        options.defaultExt = "csv";
        options.initialDir = window_.ProjectFolder();
        const std::string path = window_.ui().saveFileDialog(options);
        if (path.empty()) return;
        guard_([&] {
            writeSweepCsv(path);
            window_.ui().statusText(1, "参数研究已导出：" + path);
        });
    });
    connect(chartOutput_, &QComboBox::currentIndexChanged, this, [this](int i) {
        auto& sweep = window_.studies().sweep;
        if (!sweep || i < 0) return;
        sweep->chartOutput = static_cast<std::size_t>(i);
        FillSweepChart(sweepChart_, *sweep, sweep->chartOutput);
    });

    auto* leftHost = new QWidget;
    leftHost->setLayout(left);
    leftHost->setFixedWidth(330);
    left->setContentsMargins(0, 0, 0, 0);
    auto* split = new QSplitter(Qt::Vertical);
    sweepChart_ = NewSweepChart();
    split->addWidget(ChartView(sweepChart_));
    sweepTable_ = Table();
    split->addWidget(sweepTable_);
    split->setSizes({380, 220});
    h->addWidget(leftHost);
    h->addWidget(split, 1);
    return page;
}

QWidget* StudyPage::buildBand() {
    auto* page = new QWidget;
    auto* h = new QHBoxLayout(page);
    h->setContentsMargins(2, 2, 2, 2);
    auto* left = new QVBoxLayout;
    auto* box = new QGroupBox(QStringLiteral("蒙特卡罗抽样"));
    auto* f = new QFormLayout(box);
    samples_ = new QSpinBox;
    samples_->setRange(100, kMaxUncertaintySamples);
    samples_->setSingleStep(1000);
    samples_->setValue(2000);
    seed_ = new QSpinBox;
    seed_->setRange(1, 999999);
    seed_->setValue(1);
    f->addRow(QStringLiteral("抽样次数"), samples_);
    f->addRow(QStringLiteral("随机种子"), seed_);
    auto* text =
        new QLabel(QStringLiteral("各传热关联式按其文献给出的精度（±X %，视为95 %区间）随机变化；"
                                  "同一种子的结果可重复。"));
    text->setWordWrap(true);
    f->addRow(text);
    left->addWidget(box);
    auto* scatterBox = new QGroupBox(QStringLiteral("输入数值的分散度"));
    auto* sv = new QVBoxLayout(scatterBox);
    sv->setContentsMargins(4, 4, 4, 4);
    auto* row = new QHBoxLayout;
    scatterField_ = new QComboBox;
    scatterField_->setMinimumContentsLength(8);
    scatterField_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    scatterPercent_ = Number(5, 0, kMaxScatterPercent, 1, " %");
    scatterPercent_->setPrefix(QStringLiteral("±"));
    auto* set = new QPushButton(QStringLiteral("设定"));
    row->addWidget(scatterField_, 1);
    row->addWidget(scatterPercent_);
    row->addWidget(set);
    sv->addLayout(row);
    scatterList_ = new QListWidget;
    scatterList_->setMaximumHeight(70);
    scatterList_->setToolTip(QStringLiteral("双击一项将其删除；未列出的输入不分散"));
    sv->addWidget(scatterList_);
    connect(set, &QPushButton::clicked, this, [this] {
        const int id = scatterField_->currentData().toInt();
        if (scatterField_->count() == 0) return;
        const QString problem =
            setScatter(FieldTable()[static_cast<std::size_t>(id)].name, scatterPercent_->value());
        if (!problem.isEmpty()) say(problem, true);
    });
    connect(scatterList_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { delete item; });
    left->addWidget(scatterBox);
    bandSummary_ = new QLabel;
    bandSummary_->setWordWrap(true);
    bandSummary_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    bandSummary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    left->addWidget(bandSummary_, 1);
    auto* buttons = new QHBoxLayout;
    auto* run = new QPushButton(QStringLiteral("计算"));
    auto* stop = new QPushButton(QStringLiteral("取消"));
    buttons->addWidget(run);
    buttons->addWidget(stop);
    buttons->addStretch();
    left->addLayout(buttons);
    runButtons_.push_back(run);
    cancelButtons_.push_back(stop);
    connect(run, &QPushButton::clicked, this, [this] { runBand(); });
    connect(stop, &QPushButton::clicked, this, &StudyPage::cancel);

    auto* leftHost = new QWidget;
    leftHost->setLayout(left);
    leftHost->setFixedWidth(330);
    left->setContentsMargins(0, 0, 0, 0);
    auto* split = new QSplitter(Qt::Vertical);
    bandChart_ = NewBandChart();
    tornadoChart_ = NewTornadoChart();
    split->addWidget(ChartView(bandChart_));
    split->addWidget(ChartView(tornadoChart_));
    h->addWidget(leftHost);
    h->addWidget(split, 1);
    return page;
}

QString StudyPage::setScatter(const std::string& fieldName, double percent) {
    if (choicesStale_) fillChoices();
    const FieldRow* row = FindField(fieldName);
    if (!row) return Q("没有字段" + fieldName);
    const auto id = static_cast<fid::FieldId>(row - FieldTable().data());
    const Case& c = window_.lastCase();
    if (const std::string problem = ScatterProblem(c, id); !problem.empty()) return Q(problem);
    if (!(percent >= 0 && percent <= kMaxScatterPercent))
        return Q(CaptionOf(id, c.options) + "：分散度应在0–50 %之间");
    for (int i = scatterList_->count(); i-- > 0;)
        if (scatterList_->item(i)->data(Qt::UserRole).toInt() == id) delete scatterList_->item(i);
    if (percent > 0) {
        auto* item = new QListWidgetItem(
            Q(CaptionOf(id, c.options)) + QStringLiteral(" ±%1 %").arg(percent), scatterList_);
        item->setData(Qt::UserRole, static_cast<int>(id));
        item->setData(Qt::UserRole + 1, percent);
    }
    return {};
}

QWidget* StudyPage::buildLayout() {
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(2, 2, 2, 2);
    auto* box = new QGroupBox(QStringLiteral("限制条件"));
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(4, 4, 4, 4);
    const DesignLimits d;
    clearance_ = Number(d.clearance, 0, 10, 3, " m");
    vMin_ = Number(d.velocityMin, 0, 50, 2, " m/s");
    vMax_ = Number(d.velocityMax, 0.01, 50, 2, " m/s");
    steamMax_ = Number(d.steamVelocityMax, 1, 200, 1, " m/s");
    dpMax_ = Number(d.maxPressureDrop, 1, 1e8, 0, " Pa");
    dpMax_->setSingleStep(10000);
    rank_ = new QComboBox;
    rank_->addItems(
        {QStringLiteral("总管长最短"), QStringLiteral("实际面积最小"), QStringLiteral("管重最轻")});
    grid->addWidget(new QLabel(QStringLiteral("管与器壁间隙")), 0, 0);
    grid->addWidget(clearance_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("单相流速")), 0, 2);
    auto* speeds = new QHBoxLayout;
    speeds->addWidget(vMin_);
    speeds->addWidget(new QLabel(QStringLiteral("至")));
    speeds->addWidget(vMax_);
    grid->addLayout(speeds, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("蒸汽流速上限")), 1, 0);
    grid->addWidget(steamMax_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("压力降上限")), 1, 2);
    grid->addWidget(dpMax_, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("排序")), 2, 0);
    grid->addWidget(rank_, 2, 1);
    auto* buttons = new QHBoxLayout;
    auto* run = new QPushButton(QStringLiteral("搜索"));
    auto* stop = new QPushButton(QStringLiteral("取消"));
    apply_ = new QPushButton(QStringLiteral("采用"));
    apply_->setToolTip(
        QStringLiteral("把所选布置的管径、螺距和盘管直径（直段长度）写入计算页并重新计算"));
    buttons->addWidget(run);
    buttons->addWidget(stop);
    buttons->addWidget(apply_);
    buttons->addStretch();
    grid->addLayout(buttons, 2, 2, 1, 2);
    grid->setColumnStretch(4, 1);
    v->addWidget(box);
    runButtons_.push_back(run);
    cancelButtons_.push_back(stop);
    connect(run, &QPushButton::clicked, this, [this] { runLayout(); });
    connect(stop, &QPushButton::clicked, this, &StudyPage::cancel);
    connect(apply_, &QPushButton::clicked, this,
            [this] { applyLayout(layoutTable_->currentRow()); });
    layoutSummary_ = new QLabel;
    layoutSummary_->setWordWrap(true);
    v->addWidget(layoutSummary_);
    layoutTable_ = Table();
    layoutTable_->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(layoutTable_, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { applyLayout(row); });
    v->addWidget(layoutTable_, 1);
    return page;
}

void StudyPage::say(const QString& text, bool problem) {
    note_->setText(text);
    note_->setStyleSheet(problem ? QStringLiteral("color: #c00000;") : QString());
}

void StudyPage::showEvent(QShowEvent* event) {
    if (choicesStale_) fillChoices();
    QWidget::showEvent(event);
}

void StudyPage::fillChoices() {
    choicesStale_ = false;
    const Case& c = window_.lastCase();
    for (int a = 0; a < 2; ++a) {
        QComboBox* box = axes_[a].field;
        const int kept = box->currentData().isValid() ? box->currentData().toInt() : -1;
        const QSignalBlocker block(box);
        box->clear();
        if (a == 1) box->addItem(QStringLiteral("（无）"), -1);
        for (int id = 0; id < fid::kCount; ++id) {
            const SweepAxis probe{static_cast<fid::FieldId>(id), 1, 2, 2};
            if (c[probe.id].state != QState::Input || !SweepAxisProblem(c, probe).empty()) continue;
            box->addItem(Q(CaptionOf(probe.id, c.options)), id);
        }
        const int at = box->findData(kept);
        box->setCurrentIndex(at >= 0 ? at : 0);
        showUnit(a);
    }
    {
        const int kept = scatterField_->currentData().isValid()
                             ? scatterField_->currentData().toInt()
                             : static_cast<int>(fid::DenoD);
        const QSignalBlocker block(scatterField_);
        scatterField_->clear();
        for (int id = 0; id < fid::kCount; ++id)
            if (ScatterProblem(c, static_cast<fid::FieldId>(id)).empty())
                scatterField_->addItem(Q(CaptionOf(static_cast<fid::FieldId>(id), c.options)), id);
        const int at = scatterField_->findData(kept);
        scatterField_->setCurrentIndex(std::max(at, 0));
    }
    // Outputs: what the pass computes, and the dynamic check's figures.
    std::vector<int> checked;
    for (int i = 0; i < outputs_->count(); ++i)
        if (outputs_->item(i)->checkState() == Qt::Checked)
            checked.push_back(outputs_->item(i)->data(Qt::UserRole).toInt());
    const bool first = outputs_->count() == 0;
    outputs_->clear();
    auto add = [&](int data, const std::string& text) {
        auto* item = new QListWidgetItem(Q(text), outputs_);
        item->setData(Qt::UserRole, data);
        const bool on = first ? data == fid::AtD || data == fid::ArD || data == fid::LtD
                              : std::find(checked.begin(), checked.end(), data) != checked.end();
        item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    };
    for (int id = 0; id < fid::kCount; ++id) {
        const auto f = static_cast<fid::FieldId>(id);
        if (c[f].enabled && (IsPassResult(id) || c[f].state == QState::Solved))
            add(id, StudyHeading(c, {StudyOutput::Kind::Field, f}));
    }
    add(kAreaNeededItem, "动态校核所需面积 m2");
    add(kRatioItem, "所需面积/理论面积");
}

void StudyPage::showUnit(int axis) {
    AxisControls& a = axes_[axis];
    const int id = a.field->currentData().toInt();
    const bool on = id >= 0 && a.field->count() > 0;
    for (QWidget* w : std::initializer_list<QWidget*>{a.from, a.to, a.points, a.log})
        w->setEnabled(on);
    if (!on) {
        a.unit->clear();
        return;
    }
    const Case& c = window_.lastCase();
    const auto f = static_cast<fid::FieldId>(id);
    const char* unit = c[f].unit >= 0 ? UnitLabelOf(f, c[f].unit, c.options) : nullptr;
    a.unit->setText(unit ? Q(unit) : QString());
    // A range about the value the calculation has: half to twice it.
    const double shown = c[f].value / c[f].exchange;
    if (std::isfinite(shown) && shown > 0) {
        a.from->setText(Q(FormatGeneral(shown / 2, 4, 2)));
        a.to->setText(Q(FormatGeneral(shown * 2, 4, 2)));
    }
}

bool StudyPage::chooseAxis(int axis, const std::string& fieldName) {
    if (choicesStale_) fillChoices();
    QComboBox* box = axes_[axis].field;
    int data = -1;
    if (!fieldName.empty()) {
        const FieldRow* row = FindField(fieldName);
        if (!row) return false;
        data = static_cast<int>(row - FieldTable().data());
    }
    const int at = box->findData(data);
    if (at < 0) return false;
    box->setCurrentIndex(at);
    showUnit(axis);
    return true;
}

void StudyPage::chooseOutputs(const std::vector<std::string>& names) {
    if (choicesStale_) fillChoices();
    for (int i = 0; i < outputs_->count(); ++i) {
        QListWidgetItem* item = outputs_->item(i);
        const std::string name = StudyOutputName(OutputOf(item->data(Qt::UserRole).toInt()));
        const bool on = std::find(names.begin(), names.end(), name) != names.end();
        item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
}

void StudyPage::setRunning(bool on) {
    for (QPushButton* b : runButtons_)
        b->setEnabled(!on);
    for (QPushButton* b : cancelButtons_)
        b->setEnabled(on);
    csv_->setEnabled(!on && window_.studies().sweep.has_value());
    apply_->setEnabled(!on && window_.studies().layout.has_value());
    if (on) {
        if (progress_) progress_->setValue(0);
        progressTimer_->start();
    } else {
        progressTimer_->stop();
        if (progress_) progress_->setValue(0);
    }
}

template <class R>
bool StudyPage::start(std::function<R(const StudyControl&)> work,
                      std::optional<R> StudyRecord::*slot, void (StudyPage::*show)(), bool wait) {
    if (running_) return false;
    // What the worker returns, or the error it raised.
    using Outcome = std::variant<R, std::string>;
    running_ = std::make_unique<Running>();
    Running* r = running_.get();
    auto* watcher = new QFutureWatcher<Outcome>(this);
    r->watcher = watcher;
    r->deliver = [this, watcher, slot, show] {
        Outcome out = watcher->result();
        if (auto* error = std::get_if<std::string>(&out)) {
            say(Q(*error), true);
            return;
        }
        R& made = std::get<R>(out);
        // Made on inputs the user has changed meanwhile: not theirs.
        if (!SameInputs(made.base, window_.lastCase())) {
            say(QStringLiteral("计算期间输入已改变，结果已放弃，请重新计算"), true);
            return;
        }
        window_.studies().*slot = std::move(made);
        (this->*show)();
    };
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        if (running_ && running_->watcher == watcher) finish();
    });
    setRunning(true);
    say(QStringLiteral("计算中……"), false);
    watcher->setFuture(QtConcurrent::run([r, work = std::move(work)]() -> Outcome {
        StudyControl control;
        control.cancel = &r->cancel;
        control.progress = [r](std::size_t done, std::size_t total) {
            r->done.store(done, std::memory_order_relaxed);
            r->total.store(total, std::memory_order_relaxed);
        };
        try {
            return work(control);
        } catch (const std::exception& e) {
            return std::string(e.what());
        }
    }));
    if (wait) {
        watcher->waitForFinished();
        finish();
    }
    return true;
}

void StudyPage::finish() {
    if (!running_) return;
    const std::unique_ptr<Running> r = std::move(running_);
    r->watcher->disconnect(this);
    r->watcher->deleteLater();
    setRunning(false);
    r->deliver();
    setRunning(false);
}

void StudyPage::cancel() {
    if (running_) running_->cancel = true;
}

bool StudyPage::runSweep(bool wait) {
    if (running_) return false;
    if (choicesStale_) fillChoices();
    const Case base = window_.lastCase();
    std::vector<SweepAxis> axes;
    for (int a = 0; a < 2; ++a) {
        const AxisControls& c = axes_[a];
        const int id = c.field->currentData().toInt();
        if (c.field->count() == 0 || id < 0) continue;
        SweepAxis axis{static_cast<fid::FieldId>(id), 0, 0, c.points->value(), c.log->isChecked()};
        const std::string caption = CaptionOf(axis.id, base.options);
        const auto from = ParseExactReal(TrimControl(c.from->text().toStdString()));
        const auto to = ParseExactReal(TrimControl(c.to->text().toStdString()));
        if (!from || !to) {
            say(Q(caption + "的范围应为两个数值"), true);
            (from ? c.to : c.from)->setFocus();
            return false;
        }
        axis.from = *from;
        axis.to = *to;
        if (const std::string problem = SweepAxisProblem(base, axis); !problem.empty()) {
            say(Q(problem), true);
            return false;
        }
        axes.push_back(axis);
    }
    if (axes.empty()) {
        say(QStringLiteral("没有可研究的输入：请先在计算页给出输入并完成计算"), true);
        return false;
    }
    if (axes.size() == 2 && axes[0].id == axes[1].id) {
        say(QStringLiteral("两个研究变量不能是同一输入"), true);
        return false;
    }
    if (std::size_t(axes[0].points) * (axes.size() == 2 ? std::size_t(axes[1].points) : 1) >
        kMaxSweepPoints) {
        say(QStringLiteral("点数太多：两个变量的点数之积不应超过%1").arg(kMaxSweepPoints), true);
        return false;
    }
    std::vector<StudyOutput> outputs;
    for (int i = 0; i < outputs_->count(); ++i)
        if (outputs_->item(i)->checkState() == Qt::Checked)
            outputs.push_back(OutputOf(outputs_->item(i)->data(Qt::UserRole).toInt()));
    if (outputs.empty()) {
        say(QStringLiteral("请在“结果”中至少勾选一项"), true);
        return false;
    }
    auto record = std::make_shared<SweepRecord>();
    record->base = base;
    record->axes = axes;
    record->outputs = outputs;
    record->headings = SweepHeadings(base, axes, outputs);
    return start<SweepRecord>(
        [record](const StudyControl& control) {
            SweepRecord r = *record;
            r.points = RunSweep(r.base, r.axes, r.outputs, control);
            r.cancelled = control.cancelled();
            return r;
        },
        &StudyRecord::sweep, &StudyPage::showSweep, wait);
}

void StudyPage::showSweep() {
    const auto& sweep = window_.studies().sweep;
    sweepTable_->clear();
    sweepTable_->setRowCount(0);
    sweepTable_->setColumnCount(0);
    {
        const QSignalBlocker block(chartOutput_);
        chartOutput_->clear();
    }
    shownSweep_ = sweep.has_value();
    if (!sweep) {
        FillSweepChart(sweepChart_, SweepRecord{}, 0);
        return;
    }
    const SweepRecord& s = *sweep;
    QStringList headings;
    for (const std::string& h : s.headings)
        headings << Q(h);
    headings << QStringLiteral("说明");
    sweepTable_->setColumnCount(static_cast<int>(headings.size()));
    sweepTable_->setHorizontalHeaderLabels(headings);
    // A table of more rows than anyone reads would hold the window up; the
    // chart and the CSV have every point.
    const int rows = static_cast<int>(std::min<std::size_t>(s.points.size(), kMaxTableRows));
    sweepTable_->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        const SweepPoint& p = s.points[static_cast<std::size_t>(row)];
        int col = 0;
        for (double x : p.inputs)
            sweepTable_->setItem(row, col++, new QTableWidgetItem(Shown(x)));
        for (double x : p.results)
            sweepTable_->setItem(row, col++, new QTableWidgetItem(Shown(x)));
        sweepTable_->setItem(row, col, new QTableWidgetItem(Q(p.message)));
    }
    int failed = 0;
    for (const SweepPoint& p : s.points)
        failed += !p.message.empty();
    sweepTable_->resizeColumnsToContents();
    {
        const QSignalBlocker block(chartOutput_);
        for (std::size_t i = 0; i < s.outputs.size(); ++i)
            chartOutput_->addItem(Q(s.headings[s.axes.size() + i]));
        chartOutput_->setCurrentIndex(static_cast<int>(s.chartOutput));
    }
    FillSweepChart(sweepChart_, s, s.chartOutput);
    QString text = QStringLiteral("参数研究：%1 点").arg(s.points.size());
    if (failed) text += QStringLiteral("，其中 %1 点无法计算（原因见表中“说明”）").arg(failed);
    if (s.cancelled) text += QStringLiteral("；已取消，只算了前面的点");
    if (rows < static_cast<int>(s.points.size()))
        text += QStringLiteral("；表中只列出前 %1 点，全部结果请导出CSV").arg(rows);
    say(text, failed > 0 || s.cancelled);
    csv_->setEnabled(true);
}

void StudyPage::writeSweepCsv(const std::string& path) const {
    const auto& sweep = window_.studies().sweep;
    if (!sweep) throw IoError("没有参数研究的结果可导出");
    std::vector<std::string> in, out;
    for (const SweepAxis& a : sweep->axes)
        in.push_back(FieldTable()[static_cast<std::size_t>(a.id)].name);
    for (const StudyOutput& o : sweep->outputs)
        out.push_back(StudyOutputName(o));
    WriteFileAtomically(path, SweepCsv(in, out, sweep->points));
}

bool StudyPage::runBand(bool wait) {
    if (running_) return false;
    UncertaintyOptions options;
    options.samples = samples_->value();
    options.seed = static_cast<std::uint64_t>(seed_->value());
    for (int i = 0; i < scatterList_->count(); ++i)
        options.scatter.push_back(
            {static_cast<fid::FieldId>(scatterList_->item(i)->data(Qt::UserRole).toInt()),
             scatterList_->item(i)->data(Qt::UserRole + 1).toDouble()});
    auto base = std::make_shared<const Case>(window_.lastCase());
    return start<BandRecord>(
        [base, options](const StudyControl& control) mutable {
            options.control = control;
            return BandRecord{*base, RunUncertainty(*base, options)};
        },
        &StudyRecord::band, &StudyPage::showBand, wait);
}

void StudyPage::showBand() {
    const auto& band = window_.studies().band;
    shownBand_ = band.has_value();
    if (!band) {
        bandSummary_->clear();
        FillBandChart(bandChart_, UncertaintyResult{});
        FillTornadoChart(tornadoChart_, UncertaintyResult{});
        return;
    }
    const UncertaintyResult& u = band->result;
    const Case& c = band->base;
    const double tFactor = c[fid::TaoD].exchange > 0 ? c[fid::TaoD].exchange : 1;
    const char* tUnit =
        c[fid::TaoD].unit >= 0 ? UnitLabelOf(fid::TaoD, c[fid::TaoD].unit, c.options) : "s";
    // Four digits: the band is no more precise than that.
    auto four = [](double v) {
        return std::isfinite(v) ? Q(FormatGeneral(v, 4, 2)) : QStringLiteral("未达到");
    };
    auto three = [&](const Percentiles& p, double factor) {
        return four(p.p10 / factor) + " / " + four(p.p50 / factor) + " / " + four(p.p90 / factor);
    };
    QString text = QStringLiteral("<p><b>%1</b></p>").arg(Q(u.controllingText).toHtmlEscaped());
    text += QStringLiteral("<p>理论面积：%1 m2<br>动态校核所需面积：%2 m2</p>")
                .arg(four(u.theoreticalArea), four(u.nominalAreaNeeded));
    if (u.areaNeeded)
        text += QStringLiteral("<p>所需面积 P10 / P50 / P90：<br>%1 m2</p>")
                    .arg(three(*u.areaNeeded, 1));
    if (u.hasActualArea) {
        text += QStringLiteral("<p>实际面积：%1 m2").arg(four(u.actualArea));
        if (u.tActual)
            text += QStringLiteral("<br>达标时间 P10 / P50 / P90：<br>%1 %2")
                        .arg(three(*u.tActual, tFactor), Q(tUnit ? tUnit : "s"));
        text += "</p>";
    }
    text += QStringLiteral("<p>抽样 %1 次（种子 %2）").arg(u.samples).arg(u.seed);
    if (u.failed) text += QStringLiteral("，%1 次无法计算未计入").arg(u.failed);
    if (u.cancelled) text += QStringLiteral("；已取消，只统计了完成的抽样");
    text += "</p>";
    if (!u.warning.empty())
        text += QStringLiteral("<p style='color:#c00000'>%1</p>").arg(Q(u.warning).toHtmlEscaped());
    bandSummary_->setText(text);
    FillBandChart(bandChart_, u);
    FillTornadoChart(tornadoChart_, u);
    say(u.warning.empty() ? QStringLiteral("不确定度：完成")
                          : QStringLiteral("不确定度：实际面积低于所需面积的P90"),
        !u.warning.empty());
}

bool StudyPage::runLayout(bool wait) {
    if (running_) return false;
    const RefTables& tables = window_.refTables();
    if (tables.pipes().empty()) {
        say(Q("钢管系列表不可用：" + tables.problem()), true);
        return false;
    }
    if (!(vMin_->value() < vMax_->value())) {
        say(QStringLiteral("单相流速的下限应小于上限"), true);
        return false;
    }
    auto record = std::make_shared<LayoutRecord>();
    record->base = window_.lastCase();
    record->limits.clearance = clearance_->value();
    record->limits.velocityMin = vMin_->value();
    record->limits.velocityMax = vMax_->value();
    record->limits.steamVelocityMax = steamMax_->value();
    record->limits.maxPressureDrop = dpMax_->value();
    record->rank = static_cast<DesignRank>(rank_->currentIndex());
    for (const PipeRow& p : tables.pipes())
        record->designations.push_back(p.dn);
    auto pipes = std::make_shared<const std::vector<DesignPipe>>(SeriesPipes(tables));
    return start<LayoutRecord>(
        [record, pipes](const StudyControl& control) {
            LayoutRecord r = *record;
            r.search = SearchDesigns(r.base, *pipes, PitchValues(), r.limits, r.rank, 10, control);
            // No room for the tubes: told instead of an empty list.
            if (!r.search.problem.empty()) throw Error(r.search.problem);
            return r;
        },
        &StudyRecord::layout, &StudyPage::showLayout, wait);
}

void StudyPage::showLayout() {
    const auto& layout = window_.studies().layout;
    layoutTable_->clear();
    layoutTable_->setRowCount(0);
    shownLayout_ = layout.has_value();
    if (!layout) {
        layoutSummary_->clear();
        apply_->setEnabled(false);
        return;
    }
    const bool coil = layout->base.options.tube == TubeForm::Coil;
    QStringList heads = {QStringLiteral("钢管")};
    for (const std::string& h : DesignHeadings(layout->base))
        heads << Q(h);
    layoutTable_->setColumnCount(static_cast<int>(heads.size()));
    layoutTable_->setHorizontalHeaderLabels(heads);
    const auto& designs = layout->search.designs;
    layoutTable_->setRowCount(static_cast<int>(designs.size()));
    for (int row = 0; row < static_cast<int>(designs.size()); ++row) {
        const Design& d = designs[static_cast<std::size_t>(row)];
        const std::size_t at = static_cast<std::size_t>(d.pipeRow - 1);
        const std::string dn = at < layout->designations.size() ? layout->designations[at] : "";
        layoutTable_->setItem(
            row, 0, new QTableWidgetItem(QStringLiteral("%1 %2").arg(d.pipeRow).arg(Q(dn))));
        int col = 1;
        for (double x : DesignValues(d))
            layoutTable_->setItem(row, col++, new QTableWidgetItem(Q(FormatGeneral(x, 5, 1))));
    }
    layoutTable_->resizeColumnsToContents();
    if (!designs.empty()) layoutTable_->selectRow(0);
    static const char* ranks[] = {"总管长", "实际面积", "管重"};
    QString text =
        QStringLiteral(
            "共试算 %1 种布置，满足条件 %2 种；每种钢管取最好的一种，按%3从小到大列出前 %4 种。")
            .arg(layout->search.tried)
            .arg(layout->search.feasible)
            .arg(QString::fromUtf8(ranks[static_cast<int>(layout->rank)]))
            .arg(designs.size());
    auto four = [](double v) { return Q(FormatGeneral(v, 4, 2)); };
    text += coil ? QStringLiteral("盘管直径不大于 %1 m，盘管高度不超过液位以下 %2 m。")
                       .arg(four(layout->search.sizeMax), four(layout->search.heightMax))
                 : QStringLiteral("直段长度不大于 %1 m。").arg(four(layout->search.sizeMax));
    if (designs.empty())
        text += QStringLiteral("没有满足条件的布置：可放宽流速、压力降或间隙的限制。");
    layoutSummary_->setText(text);
    apply_->setEnabled(!designs.empty());
    say(QStringLiteral("管子布置：完成"), designs.empty());
}

void StudyPage::applyLayout(int row) {
    const auto& layout = window_.studies().layout;
    if (!layout || row < 0 || row >= static_cast<int>(layout->search.designs.size())) return;
    const Design d = layout->search.designs[static_cast<std::size_t>(row)];
    guard_([&] { window_.ApplyDesign(d); });
}

void StudyPage::passChanged() {
    StudyRecord& st = window_.studies();
    const Case& now = window_.lastCase();
    // Results of other inputs are not shown: a project opened, or inputs
    // changed since, clears them.
    bool cleared = false;
    if (shownSweep_ != st.sweep.has_value() || (st.sweep && !SameInputs(st.sweep->base, now))) {
        cleared = cleared || st.sweep.has_value() || shownSweep_;
        st.sweep.reset();
        showSweep();
    }
    if (shownBand_ != st.band.has_value() || (st.band && !SameInputs(st.band->base, now))) {
        cleared = cleared || st.band.has_value() || shownBand_;
        st.band.reset();
        showBand();
    }
    if (st.layout) {
        // The search chose the tubes, the pitch and the size itself: a
        // layout applied from it leaves the others as they were.
        Case other = now;
        for (fid::FieldId id : {fid::dioD, fid::diiD, fid::DspD, fid::SlD})
            other[id] = st.layout->base[id];
        if (!SameInputs(st.layout->base, other)) st.layout.reset();
    }
    if (shownLayout_ != st.layout.has_value()) {
        cleared = cleared || shownLayout_;
        showLayout();
    }
    {
        const QSignalBlocker block(inReport_);
        inReport_->setChecked(st.inReport);
    }
    // The lists follow the options when someone looks at them, not on
    // every pass of the calculation page.
    choicesStale_ = true;
    if (isVisible()) fillChoices();
    if (cleared) say(QStringLiteral("计算页的输入已改变，此前的研究结果已清除，请重新计算"), false);
    setRunning(running_ != nullptr);
}

} // namespace kolvane
