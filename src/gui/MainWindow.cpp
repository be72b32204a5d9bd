#include "gui/MainWindow.h"
#include "print/QtText.h"

#include "form/FormKolvane.h"
#include "formula/NumberFormat.h"
#include "gui/ControlWidgets.h"
#ifdef KOLVANE_HAVE_CHARTS
#include "gui/CurvePage.h"
#include "gui/StudyPage.h"
#include "print/CurveChart.h"
#include "print/StudyCharts.h"
#endif
#include "gui/EditDWidget.h"
#include "gui/FocusKeys.h"
#ifdef KOLVANE_HAVE_PDF
#include "gui/HelpViewer.h"
#endif
#include "files/AtomicFile.h"
#include "form/SimpProps.h"
#include "gui/MyStatusBar.h"
#include "gui/PickListDialog.h"
#include "gui/PipesPage.h"
#include "gui/PropLibDialog.h"
#include "gui/ReportView.h"
#include "model/Errors.h"
#include "print/ReportPages.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QImage>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollArea>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

// The toolbar's SVG icons live in the static GUI library: their resource
// has to be registered by name, outside any namespace.
static void InitIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace kolvane {

namespace {

// Where the group boxes of a page sit in its grid. The calculation page is
// laid out to fit a 1024x768 window: the basic data and the headline results
// above the vessel side, the tube side beside them over the whole height
// (its medium group is the tallest of the page).
struct GroupCell {
    const char* group;
    int row, column, rowSpan, columnSpan;
};

struct PageArrangement {
    const char* page;
    std::vector<GroupCell> cells;
};

const PageArrangement kArrangements[] = {
    {"TSCalc",
     {{"GBBasic", 0, 0, 1, 1},
      {"GBSummary", 0, 1, 1, 1},
      {"GBVesselSide", 1, 0, 1, 2},
      {"GBTubeSide", 0, 2, 2, 1}}},
    {"TSVessel", {{"GBVessel", 0, 0, 1, 1}, {"GBMix", 0, 1, 1, 1}}},
};

using Command = WindowCommand;

struct MenuEntry {
    const char* name;
    const char* caption; // "-" for a separator
    Command command;
    QKeySequence::StandardKey key = QKeySequence::UnknownKey;
};

// What a command without a function says, greyed out, instead of looking
// available and doing nothing.
constexpr const char* kNotProvided = "此功能尚未提供";

// How often a file handed over while a dialog is open looks again.
constexpr int kHandOverRetryMs = 300;

struct MenuBarEntry {
    MenuEntry top; // a command of its own when `items` is empty
    std::vector<MenuEntry> items;
};

// The menu bar, in order. The recent files go into the File menu where its
// core model says. The report menu runs the same commands as the toolbar's
// report buttons, and exports the PDF besides.
const std::vector<MenuBarEntry> kMenus = {
    {{"MFile", "&F 文件", Command::None},
     {{"MFNew", "&N 新建", Command::FileNew, QKeySequence::New},
      {"MFOpen", "&O 打开", Command::FileOpen, QKeySequence::Open},
      {"", "-", Command::None},
      {"MFSave", "&S 保存", Command::FileSave, QKeySequence::Save},
      {"MFAs", "&A 另存为", Command::FileAs},
      {"MFTemp", "&T 存为模板", Command::FileTemp},
      {"", "-", Command::None},
      {"MFExit", "&E 退出", Command::FileExit}}},
    {{"MUtilities", "&U 工具", Command::None},
     {{"MUPROII", "&P 链接PROII", Command::None},
      {"MUYSYS", "&H 链接HYSYS", Command::None},
      {"", "-", Command::None},
      {"MUPM", "&M 系统设置", Command::None}}},
    {{"MReport", "&R 报表", Command::None},
     {{"MRSimple", "&M 生成报表", Command::ReportMake},
      {"MRSave", "&S 保存报表 ", Command::ReportSave},
      {"", "-", Command::None},
      {"MRPrintRep", "&P 打印报表", Command::ReportPrint},
      {"MRPdf", "&F 导出PDF", Command::ReportPdf},
      {"MRPrintStruct", "&D 打印结构示意图", Command::None}}},
    {{"MAbout", "&A 关于", Command::About}, {}},
    {{"MHelp", "&H 帮助", Command::None},
     {{"MHPDF", "&D 帮助文档", Command::Manual}, {"MHAbout", "&A 关于Kolvane", Command::About}}},
    {{"MExit", "&E 结束", Command::None}, {}},
};

struct ToolEntry {
    const char* name; // "" for a separator
    const char* hint;
    QStyle::StandardPixmap standardIcon; // SP_CustomBase: `icon` names our own
    const char* icon;
    Command command;
};

// The toolbar, left to right. Qt's standard icons where one says the same,
// our own SVGs (resources/icons) for the rest.
const ToolEntry kTools[] = {
    {"SBFNew", "新建", QStyle::SP_FileIcon, "", Command::FileNew},
    {"SBFOpen", "打开", QStyle::SP_DialogOpenButton, "", Command::FileOpen},
    {"SBFSave", "保存", QStyle::SP_DialogSaveButton, "", Command::FileSave},
    {"SBFAs", "另存为", QStyle::SP_CustomBase, "save-as", Command::FileAs},
    {"SBFTemp", "存为模板", QStyle::SP_CustomBase, "template", Command::FileTemp},
    {"", "", QStyle::SP_CustomBase, "", Command::None},
    {"SBUD0", "指定塔径", QStyle::SP_CustomBase, "tower-diameter", Command::None},
    {"SBURD0", "圆整塔径", QStyle::SP_CustomBase, "tower-round", Command::None},
    {"SBPROII", " 链接PROII", QStyle::SP_CustomBase, "link-proii", Command::None},
    {"SBHysy", " 链接Hysys", QStyle::SP_CustomBase, "link-hysys", Command::None},
    {"SBUPM", "系统设置", QStyle::SP_CustomBase, "settings", Command::None},
    {"", "", QStyle::SP_CustomBase, "", Command::None},
    {"SBRSimple", "生成报表", QStyle::SP_CustomBase, "report", Command::ReportMake},
    {"SBRSave", "保存报表", QStyle::SP_CustomBase, "report-save", Command::ReportSave},
    {"SBRPrintRep", "打印报表", QStyle::SP_CustomBase, "print", Command::ReportPrint},
    {"SBRPdf", "导出PDF", QStyle::SP_CustomBase, "pdf", Command::ReportPdf},
    {"SBRPrintLoad", "打印结构示意图", QStyle::SP_CustomBase, "print-drawing", Command::None},
    {"SBClear", "清除光标处数据", QStyle::SP_CustomBase, "clear", Command::ClearField},
    {"SBHPDF", "这是什么？", QStyle::SP_MessageBoxQuestion, "", Command::WhatIsThis},
};

// A unit selector is as wide as its list's longest unit, but no wider than
// its SI unit (the first item) or "kg/m3" needs: the unit a field starts in
// always shows, the longer ones show in full in the popup. That keeps the
// calculation page's four columns within 1024 pixels.
int UnitSelectorWidth(const QComboBox& list) {
    const QFontMetrics fm = list.fontMetrics();
    int widest = 0;
    for (int i = 0; i < list.count(); ++i)
        widest = std::max(widest, fm.horizontalAdvance(list.itemText(i)));
    const int first = list.count() ? fm.horizontalAdvance(list.itemText(0)) : 0;
    const int cap = std::max(first, fm.horizontalAdvance(QStringLiteral("kg/m3")));
    // The arrow, the frame and the text's margins take 28 pixels of the box.
    return std::min(widest, cap) + 28;
}

} // namespace

void UseApplicationFont() {
    // A CJK font whose Latin letters and digits are narrow, at the size the
    // window's layout is made for.
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPointSize(9);
    QApplication::setFont(font);
}

MainWindow::MainWindow(const std::string& programDir, QWidget* parent)
    : QMainWindow(parent), ui_(this) {
    InitIconResources();
    kolvane_ = std::make_unique<TFormKolvane>(ui_, programDir);
    showTitle();
    // Save is enabled exactly while the project has unsaved changes.
    kolvane_->MFSave().subscribe([this](Component&, Change ch) {
        if (ch == Change::Enabled) showTitle();
    });
    statusBar_ = new MyStatusBar(this);
    statusBar_->setObjectName("MyStatusBar");
    setStatusBar(statusBar_);
    ui_.setStatusBar(statusBar_);
    ui_.setFocusHandler([this](const std::string& name) { returnFocusTo(name); });
    ui_.setPageHandler([this](const std::string& name) { showPage(name); });
#ifdef KOLVANE_HAVE_PDF
    ui_.setManualHandler([this](const std::string& path, const std::string& topic) {
        ShowHelp(this, ui_, path, topic);
    });
#endif
    buildMenus();
    buildToolBar();
    buildPages();
    new FocusKeys(this); // Enter and the arrow keys move between the controls

    propLib_ = std::make_unique<TFormSimpPL>(ui_, programDir);
    propDialog_ = new PropLibDialog(
        *propLib_, *kolvane_, ui_, [this](const std::function<void()>& h) { guarded(h); }, this);
    propLib_->onShow = [this] {
        // Messages of the library window are shown over it, not behind it.
        ui_.setParent(propDialog_);
        auto back = qScopeGuard([this] { ui_.setParent(this); });
        propDialog_->run();
    };
    for (const char* name : {"SBP1", "SBP2", "SBP2v"})
        kolvane_->form().get<TButton>(name).onClick = [this](Component& b) { openPropLib(b); };

    kolvane_->MRF().onMenuChanged = [this] { syncRecentFiles(); };
    kolvane_->onPassReport = [this] {
        showPassMarks();
#ifdef KOLVANE_HAVE_CHARTS
        if (curvePage_) curvePage_->passChanged();
        if (studyPage_) studyPage_->passChanged();
#endif
    };
    syncRecentFiles();
    // The size the window always had; it starts maximised where a window
    // manager allows it.
    resize(activeSize_);
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Where nothing keeps the window maximised, every activation puts it
    // back at the top left in its own size: a window dragged or resized by
    // accident is whole again after a dialog or a switch of programs.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() &&
        !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized))) {
        move(0, 0);
        resize(activeSize_);
    }
}

QStringList MainWindow::pageCaptions() const {
    QStringList captions;
    for (int i = 0; i < pages_->count(); ++i)
        captions << QStringLiteral("%1 %2").arg(i).arg(pages_->tabText(i));
    return captions;
}

MainWindow::~MainWindow() {
    // The widgets refer to the forms' components: remove them first.
    delete propDialog_;
    delete takeCentralWidget();
}

void MainWindow::loadPropertyLibrary() {
    guarded([this] { propLib_->FormCreate(); });
}

void MainWindow::openPropLib(Component& button) {
    if (auto p = kolvane_->SteamPressureKPa(); p && button.name() != "SBP1")
        propLib_->MyValues1().SetValueByName("p", FloatToStr15(*p));
    propLib_->Open(button.name());
    // The carried properties are inputs of the calculation: the results
    // follow them at once rather than when a field is next left.
    if (propDialog_->confirmed()) kolvane_->OptionChanged(button);
}

void MainWindow::guarded(const std::function<void()>& handler) {
    ui_.guarded(handler);
}

void MainWindow::fileCommand(const std::function<void()>& command) {
    // A load runs its own pass in the core, quietly; the marks follow it.
    guarded(command);
    showTitle();
}

void MainWindow::showTitle() {
    // "*" in front while there are unsaved changes, where a cut-off title
    // still shows it.
    setWindowTitle((kolvane_->ProjectChanged() ? QStringLiteral("*") : QString()) +
                   Q(kolvane_->title()));
}

void MainWindow::showPassMarks() {
    struct Entry {
        EditDWidget::Mark mark = EditDWidget::Mark::None;
        QStringList lines;
    };
    std::map<std::string, Entry> entries;
    auto add = [&](const std::string& field, EditDWidget::Mark mark, const QString& line) {
        if (field.empty()) return;
        Entry& e = entries[field];
        e.mark = std::max(e.mark, mark);
        if (!e.lines.contains(line)) e.lines << line;
    };
    const PassReport& report = kolvane_->lastPass();
    for (const auto& p : report.problems)
        add(p.field, EditDWidget::Mark::Problem, Q(p.text));
    for (const auto& w : report.warnings)
        add(w.field, EditDWidget::Mark::Warning, Q(w.text));
    for (const auto& m : report.missing) {
        // "理论面积还需要：不凝气体、容器直径" says at each input "理论面积还需要此项".
        QString result = Q(m.text);
        const qsizetype cut = result.indexOf(QStringLiteral("还需要"));
        if (cut >= 0) result.truncate(cut);
        for (const auto& f : m.fields)
            add(f, EditDWidget::Mark::Missing, result + QStringLiteral("还需要此项"));
    }

    std::vector<EditDWidget*> marked;
    for (const auto& [name, e] : entries) {
        if (auto* w = qobject_cast<EditDWidget*>(widgetFor(name))) {
            w->setMark(e.mark, e.lines.join(QLatin1Char('\n')));
            marked.push_back(w);
        }
    }
    for (EditDWidget* w : marked_)
        if (std::find(marked.begin(), marked.end(), w) == marked.end())
            w->setMark(EditDWidget::Mark::None, {});
    marked_ = std::move(marked);
}

void MainWindow::returnFocusTo(const std::string& name) {
    QWidget* w = widgetFor(name);
    if (!w || !w->isEnabled()) return;
    FocusReturn quiet;
    for (int i = 0; i < pages_->count(); ++i) {
        QWidget* page = pages_->widget(i);
        if (!page->isAncestorOf(w)) continue;
        pages_->setCurrentIndex(i);
        if (auto* scroll = qobject_cast<QScrollArea*>(page)) scroll->ensureWidgetVisible(w);
    }
    w->setFocus(Qt::OtherFocusReason);
}

void MainWindow::showPage(const std::string& name) {
    QWidget* content = widgetFor(name);
    if (!content) return;
    for (int i = 0; i < pages_->count(); ++i)
        if (pages_->widget(i) == content || pages_->widget(i)->isAncestorOf(content))
            pages_->setCurrentIndex(i);
}

void MainWindow::openProject(const std::string& path) {
    fileCommand([this, path] { kolvane_->OpenProjectFile(path); });
}

void MainWindow::comeForward() {
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void MainWindow::takeHandedOver(const QString& file) {
    comeForward();
    if (QWidget* dialog = QApplication::activeModalWidget()) {
        dialog->raise();
        dialog->activateWindow();
        if (file.isEmpty()) return;
        QTimer::singleShot(kHandOverRetryMs, this, [this, file] { takeHandedOver(file); });
        return;
    }
    if (file.isEmpty()) return;
    fileCommand([this, path = file.toStdString()] { kolvane_->OpenHandedFile(path); });
}

void MainWindow::syncRecentFiles() {
    if (!fileMenu_) return;
    // The core's File menu model says where the entries go; the QMenu holds
    // the same items in the same order, plus the entries made here.
    for (QAction* a : fileMenu_->actions()) {
        if (a->property("recentFile").isValid()) {
            fileMenu_->removeAction(a);
            a->deleteLater(); // it may be the entry whose click is running now
        }
    }
    const auto& items = kolvane_->MFile().items;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const MenuItemModel& m = items[i];
        if (!m.tagged) continue;
        auto* a = new QAction(fileMenu_);
        a->setProperty("recentFile", Q(m.file));
        if (m.isSeparator()) {
            a->setSeparator(true);
        } else {
            // "&1  " is the accelerator; an "&" in the path is shown as it is.
            QString caption = Q(m.caption);
            a->setText(caption.left(2) + caption.mid(2).replace(QLatin1Char('&'), "&&"));
            a->setToolTip(Q(m.file));
            connect(a, &QAction::triggered, this, [this, a] {
                auto index = static_cast<std::size_t>(fileMenu_->actions().indexOf(a));
                fileCommand([this, index] { kolvane_->MRF().MenuItemClick(index); });
            });
        }
        QList<QAction*> actions = fileMenu_->actions();
        QAction* before = static_cast<qsizetype>(i) < actions.size() ? actions[i] : nullptr;
        fileMenu_->insertAction(before, a);
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    bool mayClose = closeApproved_;
    if (!mayClose) guarded([&] { mayClose = kolvane_->FormCloseQuery(); });
    closeApproved_ = false;
    if (mayClose)
        event->accept();
    else
        event->ignore();
}

QWidget* MainWindow::widgetFor(const std::string& name) const {
    auto it = widgets_.find(name);
    return it == widgets_.end() ? nullptr : it->second;
}

void MainWindow::run(WindowCommand command) {
    TFormKolvane& k = *kolvane_;
    switch (command) {
    case Command::None:
        return;
    case Command::FileNew:
        return fileCommand([&k] { k.MFNewClick(); });
    case Command::FileOpen:
        return fileCommand([&k] { k.MFOpenClick(); });
    case Command::FileSave:
        return fileCommand([&k] { k.MFSaveClick(); });
    case Command::FileAs:
        return fileCommand([&k] { k.MFAsClick(); });
    case Command::FileTemp:
        return fileCommand([&k] { k.MFTempClick(); });
    case Command::FileExit: {
        bool exit = false;
        guarded([&] { exit = k.MFExitClick(); });
        if (!exit) return;
        closeApproved_ = true; // asked already
        close();
        return;
    }
    case Command::ReportMake:
        return generateReport();
    case Command::ReportSave:
        saveReport();
        return;
    case Command::ReportPrint:
        printReport();
        return;
    case Command::ReportPdf:
        exportReportPdf();
        return;
    case Command::About:
        return about();
    case Command::ClearField: {
        // Toolbar buttons take no focus: the focused field is the one the
        // user was last in.
        auto* edit = qobject_cast<EditDWidget*>(QApplication::focusWidget());
        guarded([&] { k.SBClearClick(edit ? &edit->field() : nullptr); });
        return;
    }
    case Command::Manual:
        return guarded([&k] { k.MHPDFClick(); });
    case Command::WhatIsThis: {
        auto* edit = qobject_cast<EditDWidget*>(QApplication::focusWidget());
        guarded([&] { k.SBHPDFClick(edit ? &edit->field() : nullptr); });
        return;
    }
    }
}

void MainWindow::bind(QAction* action, WindowCommand command) {
    if (command == Command::None) {
        action->setEnabled(false);
        return;
    }
    connect(action, &QAction::triggered, this, [this, command] { run(command); });
}

void MainWindow::buildMenus() {
    for (const auto& [top, items] : kMenus) {
        if (items.empty()) {
            // A command of the menu bar itself.
            QAction* a = menuBar()->addAction(QString::fromUtf8(top.caption));
            a->setObjectName(top.name);
            if (top.command == Command::None) a->setToolTip(QString::fromUtf8(kNotProvided));
            bind(a, top.command);
            continue;
        }
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(top.caption));
        menu->setObjectName(top.name);
        if (std::string_view(top.name) == "MFile") fileMenu_ = menu;
        for (const auto& item : items) {
            if (std::string_view(item.caption) == "-") {
                menu->addSeparator();
                continue;
            }
            QAction* a = menu->addAction(QString::fromUtf8(item.caption));
            a->setObjectName(item.name);
            if (item.key != QKeySequence::UnknownKey) a->setShortcut(item.key);
            if (item.command == Command::None) {
                a->setToolTip(QString::fromUtf8(kNotProvided));
                a->setStatusTip(QString::fromUtf8(kNotProvided));
                menu->setToolTipsVisible(true);
            }
            if (std::string_view(item.name) == "MFSave") {
                TButton& save = kolvane_->MFSave();
                a->setEnabled(save.enabled());
                QPointer<QAction> act(a);
                save.subscribe([act](Component& c, Change ch) {
                    if (act && ch == Change::Enabled) act->setEnabled(c.enabled());
                });
            }
            bind(a, item.command);
        }
    }
    // F1 in a quantity field opens the manual at its caption; elsewhere it
    // does nothing.
    auto* f1 = new QAction(this);
    f1->setObjectName("HelpKey");
    f1->setShortcut(QKeySequence(Qt::Key_F1));
    addAction(f1);
    connect(f1, &QAction::triggered, this, [this] {
        if (auto* edit = qobject_cast<EditDWidget*>(QApplication::focusWidget()))
            guarded([&] { kolvane_->MaoDKeyDown(edit->field(), TFormKolvane::kKeyF1); });
    });
}

void MainWindow::buildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("工具栏"));
    bar->setObjectName("ToolBar1");
    bar->setMovable(false);
    bar->setIconSize(QSize(20, 20));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const auto& t : kTools) {
        if (!*t.name) {
            bar->addSeparator();
            continue;
        }
        const QIcon icon = t.standardIcon == QStyle::SP_CustomBase
                               ? QIcon(QStringLiteral(":/icons/%1.svg").arg(t.icon))
                               : style()->standardIcon(t.standardIcon);
        const QString hint = QString::fromUtf8(t.hint);
        QAction* a = bar->addAction(icon, hint.trimmed());
        a->setObjectName(t.name);
        // The hint is the tooltip and, for the status bar's first panel,
        // the status tip; a button without a function says so after its name.
        const QString tip = t.command == Command::None ? hint.trimmed() + QStringLiteral("：") +
                                                             QString::fromUtf8(kNotProvided)
                                                       : hint;
        a->setToolTip(tip);
        a->setStatusTip(tip);
        bind(a, t.command);
    }
}

void MainWindow::generateReport() {
    guarded([this] { kolvane_->SBRSimpleClick(); });
    if (reportView_) reportView_->refresh();
}

namespace {
// The project's name with the given extension, or the extension alone for
// a project without a name.
std::string PresetName(const std::string& project, const char* extension) {
    if (project.empty()) return extension;
    return std::filesystem::path(project).replace_extension(extension).string();
}
} // namespace

// The dialog is preset to the project's name with `extension`; false when the
// user cancels or the write fails (the error is told).
bool MainWindow::writeReportFile(const char* title, const char* filter, const char* extension,
                                 const char* done,
                                 const std::function<void(const std::string&)>& write) {
    if (!reportView_) return false;
    FileDialogOptions options;
    options.title = title;
    options.filter = filter;
    options.defaultExt = extension + 1; // without the dot
    options.initialDir = kolvane_->ProjectFolder();
    const std::string path =
        ui_.saveFileDialog(options, PresetName(kolvane_->ProjectFileName(), extension));
    if (path.empty()) return false;
    bool saved = false;
    guarded([&] {
        write(path);
        saved = true;
    });
    if (saved) ui_.statusText(1, done + path);
    return saved;
}

bool MainWindow::saveReport() {
    return writeReportFile("保存计算报告-输入报告名称", "Kolvane 报告文件（*.doc）|*.doc", ".doc",
                           "报告已保存：", [this](const std::string& path) {
                               WriteFileAtomically(path, ReportRtf(reportView_->present()));
                           });
}

void MainWindow::writeReportPdf(const std::string& path) {
    // The heating curve and the sweep follow the report, each on a page of
    // its own.
    std::vector<PageFigure> figures;
#ifdef KOLVANE_HAVE_CHARTS
    figures = ReportFigures(*kolvane_);
#endif
    WriteReportPdf(path, reportView_->present(), figures);
}

bool MainWindow::exportReportPdf() {
    return writeReportFile("导出计算报告为PDF", "PDF 文件（*.pdf）|*.pdf", ".pdf", "PDF已导出：",
                           [this](const std::string& path) { writeReportPdf(path); });
}

bool MainWindow::printReport() {
    if (!reportView_) return false;
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        ui_.message("打印报表",
                    "没有安装打印机，无法打印报表。\n请先安装打印机，或用“导出PDF”保存报告。",
                    MessageKind::Warning);
        return false;
    }
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) info = QPrinterInfo::availablePrinters().front();
    QPrinter printer(info, QPrinter::HighResolution);
    SetUpReportPage(printer);
    bool printed = false;
    guarded([&] {
        if (!printer.isValid() || !PaintReportPages(printer, reportView_->present()) ||
            printer.printerState() == QPrinter::Error)
            throw IoError("打印失败：" + info.printerName().toStdString());
        printed = true;
    });
    if (printed) ui_.statusText(1, "报表已送往打印机：" + info.printerName().toStdString());
    return printed;
}

void MainWindow::about() {
    ui_.message("欢迎使用", "容器传热计算(Kolvane) V2012.10.01.10 版", MessageKind::Information);
}

QWidget* MainWindow::widgetOf(Component& c, QWidget* parent) {
    Guard guard = [this](const std::function<void()>& h) { guarded(h); };
    QWidget* w = nullptr;
    if (auto* e = dynamic_cast<TEditD*>(&c)) {
        w = new EditDWidget(*e, guard, parent);
        // Wide enough for a full display form with an exponent; the
        // calculation page's four columns fit 1024 pixels with it.
        w->setMinimumWidth(w->fontMetrics().horizontalAdvance(QStringLiteral("1.234567E-0005")) +
                           4);
        BindCommon(c, w);
    } else if (auto* l = dynamic_cast<TComboBox*>(&c)) {
        auto* list = new ListWidget(*l, guard, parent);
        // The closed box need not hold the longest item, its popup does.
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        list->setMinimumContentsLength(4);
        int widest = 0;
        for (int i = 0; i < list->count(); ++i)
            widest = std::max(widest, list->fontMetrics().horizontalAdvance(list->itemText(i)));
        list->view()->setMinimumWidth(widest + 24);
        if (dynamic_cast<TComboBoxU*>(&c)) list->setMinimumWidth(UnitSelectorWidth(*list));
        w = list;
    } else {
        w = CreateControlWidget(c, guard, parent);
        if (auto* button = qobject_cast<QPushButton*>(w)) {
            // As narrow as the caption allows, so that a row of three
            // buttons fits its group.
            button->setMinimumWidth(button->fontMetrics().horizontalAdvance(button->text()) + 16);
            button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        }
    }
    // The status bar shows the hint of the control under the mouse.
    if (w) widgets_[c.name()] = w;
    return w;
}

void MainWindow::fillGrid(Component& container, QWidget* box, QGridLayout* grid) {
    // Rows of caption | field | unit; lists and texts span field and unit.
    int row = -1;
    bool used[3] = {true, true, true};
    auto newRow = [&] {
        ++row;
        used[0] = used[1] = used[2] = false;
    };
    auto* buttons = new QHBoxLayout;
    for (const auto& owned : kolvane_->form().components()) {
        Component& c = *owned;
        if (c.parent() != &container || dynamic_cast<TContainer*>(&c)) continue;
        QWidget* w = widgetOf(c, box);
        if (!w) continue;
        if (dynamic_cast<TButton*>(&c)) {
            buttons->addWidget(w);
        } else if (dynamic_cast<TLabel*>(&c)) {
            if (used[1] && !used[0]) {
                grid->addWidget(w, row, 0); // caption of a field laid out before it
                used[0] = true;
            } else if (used[0] && used[1] && !used[2]) {
                grid->addWidget(w, row, 2); // a unit shown as plain text
                used[2] = true;
            } else {
                newRow();
                grid->addWidget(w, row, 0);
                used[0] = true;
            }
        } else if (dynamic_cast<TComboBoxU*>(&c)) {
            grid->addWidget(w, row, 2);
            used[2] = true;
        } else if (dynamic_cast<TCheckBox*>(&c)) {
            newRow();
            grid->addWidget(w, row, 0, 1, 3);
            used[0] = used[1] = used[2] = true;
        } else {
            if (used[1]) newRow();
            bool spans = !dynamic_cast<TEditD*>(&c) && used[0];
            grid->addWidget(w, row, 1, 1, spans ? 2 : 1);
            used[1] = true;
            if (spans) used[2] = true;
            if (auto* text = qobject_cast<QPlainTextEdit*>(w)) text->setFixedHeight(40);
        }
    }
    if (buttons->count()) {
        buttons->addStretch();
        grid->addLayout(buttons, row + 1, 0, 1, 3);
    } else {
        delete buttons;
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row + 2, 1);
}

QWidget* MainWindow::buildContainer(Component& container) {
    auto* c = static_cast<TContainer*>(&container);
    auto* box = new QGroupBox(Q(c->caption()));
    box->setObjectName(Q(c->name()));
    widgets_[c->name()] = box;
    BindCommon(container, box);
    std::vector<Component*> groups;
    for (const auto& owned : kolvane_->form().components())
        if (owned->parent() == &container && dynamic_cast<TContainer*>(owned.get()))
            groups.push_back(owned.get());
    if (!groups.empty()) {
        auto* h = new QHBoxLayout(box);
        h->setContentsMargins(1, 1, 1, 1);
        h->setSpacing(2);
        for (Component* g : groups)
            h->addWidget(buildContainer(*g), 0, Qt::AlignTop);
        return box;
    }
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(3, 2, 3, 3);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(1);
    fillGrid(container, box, grid);
    return box;
}

void MainWindow::buildPages() {
    pages_ = new QTabWidget;
    pages_->setObjectName("PageControl1");
    for (const auto& owned : kolvane_->form().components()) {
        auto* page = dynamic_cast<TContainer*>(owned.get());
        if (!page || page->parent()) continue;
        auto* content = new QWidget;
        content->setObjectName(Q(page->name()));
        widgets_[page->name()] = content;
        const PageArrangement* arrangement = nullptr;
        for (const auto& a : kArrangements)
            if (page->name() == a.page) arrangement = &a;

        if (arrangement) {
            auto* v = new QVBoxLayout(content);
            v->setContentsMargins(2, 2, 2, 2);
            v->setSpacing(3);
            auto* grid = new QGridLayout;
            grid->setSpacing(2);
            for (const GroupCell& cell : arrangement->cells)
                grid->addWidget(buildContainer(*kolvane_->form().find(cell.group)), cell.row,
                                cell.column, cell.rowSpan, cell.columnSpan,
                                Qt::AlignLeft | Qt::AlignTop);
            // Extra width and height go to the right and the bottom, so the
            // groups keep their places on a larger screen.
            auto* row = new QHBoxLayout;
            row->addLayout(grid);
            row->addStretch();
            v->addLayout(row);
            // Whatever else the page holds (its buttons) follows the groups.
            auto* rest = new QHBoxLayout;
            for (const auto& c : kolvane_->form().components())
                if (c->parent() == page && !dynamic_cast<TContainer*>(c.get()))
                    if (QWidget* w = widgetOf(*c, content)) rest->addWidget(w);
            rest->addStretch();
            v->addLayout(rest);
            v->addStretch();
        } else if (page->name() == "TSPipes") {
            buildPipesPage(*page, content);
        } else if (auto* rich = kolvane_->form().findAs<TRichEdit>(
                       page->name() == "TSReport" ? "RichEditReport" : "")) {
            auto* v = new QVBoxLayout(content);
            // Formatted, read-only, in a CJK font whose Latin letters are
            // half as wide as a Chinese character, so the columns line up.
            reportView_ = new ReportView(*rich, kolvane_->reportDocument(), content);
            widgets_[rich->name()] = reportView_;
            v->addWidget(reportView_);
        } else {
            auto* outer = new QVBoxLayout(content);
            auto* gridHost = new QWidget(content);
            gridHost->setMaximumWidth(520);
            auto* grid = new QGridLayout(gridHost);
            fillGrid(*page, gridHost, grid);
            outer->addWidget(gridHost);
            outer->addStretch();
        }
        auto* scroll = new QScrollArea;
        scroll->setWidget(content);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        pages_->addTab(scroll, Q(page->caption()));
    }
    // The heating curve of the last pass, after the report.
#ifdef KOLVANE_HAVE_CHARTS
    curvePage_ = new CurvePage(*kolvane_);
    widgets_["TSCurve"] = curvePage_;
    pages_->addTab(curvePage_, QStringLiteral("升温曲线"));
    studyPage_ = new StudyPage(*kolvane_, statusBar_ ? statusBar_->progressBar() : nullptr,
                               [this](const std::function<void()>& h) { guarded(h); });
    widgets_["TSStudy"] = studyPage_;
    pages_->addTab(studyPage_, QStringLiteral("设计研究"));
#endif
    pages_->setCurrentIndex(1); // the calculation page
    // The report is a snapshot of the window: it is made anew whenever its
    // page comes to the front.
    connect(pages_, &QTabWidget::currentChanged, this, [this](int index) {
        QWidget* report = widgetFor("TSReport");
        QWidget* page = pages_->widget(index);
        if (report && page && (page == report || page->isAncestorOf(report))) generateReport();
    });
    setCentralWidget(pages_);
}

void MainWindow::buildPipesPage(Component& page, QWidget* content) {
    auto* v = new QVBoxLayout(content);
    pipesPage_ = new PipesPage(kolvane_->refTables(), content);
    v->addWidget(pipesPage_);
    for (const auto& c : kolvane_->form().components()) {
        if (c->parent() != &page) continue;
        QWidget* w = widgetOf(*c, pipesPage_);
        if (!w) continue;
        pipesPage_->addButton(w);
        // Connected after the button's own command, so that the table shows
        // what the command left, the diameters of "维护" among it, also
        // when the command failed part way.
        if (auto* button = qobject_cast<QPushButton*>(w))
            connect(button, &QPushButton::clicked, pipesPage_, &PipesPage::refresh);
    }
}

bool MainWindow::saveScreenshot(const QString& path, int page, QSize size,
                                const QString& menuName) {
    if (page < 0 || page >= pages_->count()) return false;
    pages_->setCurrentIndex(page);
    // The size asked for is also the size an activation restores.
    activeSize_ = size;
    resize(size);
    show();
    QApplication::processEvents();
    QImage shot = grab().toImage();
    if (!menuName.isEmpty()) {
        // The menu as it drops down from its title, drawn over the window.
        auto* menu = menuBar()->findChild<QMenu*>(menuName);
        if (!menu) return false;
        const QRect title = menuBar()->actionGeometry(menu->menuAction());
        const QPoint at = menuBar()->mapTo(this, title.bottomLeft() + QPoint(0, 1));
        menu->popup(mapToGlobal(at));
        QApplication::processEvents();
        QPainter painter(&shot);
        painter.drawPixmap(at, menu->grab());
        painter.end();
        menu->hide();
    }
    return shot.save(path, "PNG");
}

bool MainWindow::savePropLibScreenshot(const QString& path, int page) {
    // Shown without its modal loop, so that it can be grabbed.
    auto show = std::exchange(propLib_->onShow, [this] {
        propDialog_->prepare();
        propDialog_->show();
    });
    propLib_->Open("SBP1");
    propLib_->onShow = std::move(show);
    guarded([this] { propLib_->BBCalClick(); });
    if (page == 1) guarded([this] { propLib_->BitBtn1Click(TFormSimpPL::kAccessCode); });
    QApplication::processEvents();
    const bool saved = propDialog_->grab().save(path, "PNG");
    propDialog_->hide();
    return saved;
}

bool MainWindow::savePickListScreenshot(const QString& path, const std::string& button) {
    auto* b = kolvane_->form().findAs<TButton>(button);
    if (!b) return false;
    bool saved = false, shown = false;
    ui_.setPickRunner([&](PickListDialog& dialog) {
        dialog.show();
        QApplication::processEvents();
        shown = true;
        saved = dialog.grab().save(path, "PNG");
        dialog.hide();
        return false; // cancelled: the fields stay as they are
    });
    auto done = qScopeGuard([this] { ui_.setPickRunner({}); });
    guarded([b] { b->Click(); });
    return shown && saved;
}

} // namespace kolvane
