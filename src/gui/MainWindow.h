#pragma once

#include "gui/QtUiServices.h"

#include <QMainWindow>
#include <QSize>
#include <QStringList>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QTabWidget;
class QGridLayout;
class QMenu;
class QAction;

namespace kolvane {

class TFormKolvane;
class TFormSimpPL;
class PropLibDialog;
class Component;
class MyStatusBar;
class EditDWidget;
class PipesPage;
class ReportView;
class CurvePage;
class StudyPage;

// The application's font: the window's layout is made for it.
void UseApplicationFont();

// The commands the menus and the toolbar run.
enum class WindowCommand {
    None,
    FileNew,
    FileOpen,
    FileSave,
    FileAs,
    FileTemp,
    FileExit,
    ReportMake,
    ReportSave,
    ReportPrint,
    ReportPdf,
    About,
    ClearField,
    Manual,     // the manual at its first chapter
    WhatIsThis, // the manual at the focused quantity field's section
};

// The main window: one widget per component of the core form, bound both
// ways, laid out from the window tables.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(const std::string& programDir, QWidget* parent = nullptr);
    ~MainWindow() override;

    TFormKolvane& kolvane() { return *kolvane_; }
    // The property library window, which lives as long as the main window.
    TFormSimpPL& propLib() { return *propLib_; }
    PropLibDialog* propLibDialog() const { return propDialog_; }
    // Reads the property library, once at start; a library that cannot be
    // read is told and leaves the window empty, the program goes on.
    void loadPropertyLibrary();
    QTabWidget* pages() const { return pages_; }
    // The page "管道系列".
    PipesPage* pipesPage() const { return pipesPage_; }
    // Brings the page of a component name ("TSCalc", "TSPipes", ...) to the front.
    void showPage(const std::string& name);
    // The report page's text box.
    ReportView* reportView() const { return reportView_; }
    // The page "升温曲线".
    CurvePage* curvePage() const { return curvePage_; }
    // The page "设计研究".
    StudyPage* studyPage() const { return studyPage_; }
    // Report commands: generate it (the page comes forward), save it as RTF
    // through the save dialog, print it on the default printer, export it
    // with the heating curve to a PDF file chosen in the save dialog. Errors
    // are told in a message box; true only when the file or job was written.
    void generateReport();
    bool saveReport();
    bool printReport();
    bool exportReportPdf();
    MyStatusBar* myStatusBar() const { return statusBar_; }
    // The widget bound to a component, or nullptr.
    QWidget* widgetFor(const std::string& name) const;

    // Renders page `page` of the window, at the given size, to a PNG file;
    // with a menu's object name ("MFile") that menu is drawn opened. False
    // for a page or menu that does not exist or a file not written.
    bool saveScreenshot(const QString& path, int page, QSize size = QSize(1024, 768),
                        const QString& menuName = {});
    // "0 项目信息", "1 计算", ...: the pages by index, as --page takes them.
    QStringList pageCaptions() const;
    // Renders the property library window as the vessel's property button
    // opens it, after computing the current fluid; page 1 is the maintenance
    // page, opened with the access code.
    bool savePropLibScreenshot(const QString& path, int page);
    // Renders the pick list a picker button (SBP3, SBP5, SBP11) opens with
    // the window's current values; nothing is picked.
    bool savePickListScreenshot(const QString& path, const std::string& button);

    // Runs a menu or toolbar command as its entry would.
    void run(WindowCommand command);

    // Runs a handler at the event boundary (errors shown in a message box).
    void guarded(const std::function<void()>& handler);

    // Opens a project or template as File > Open does, without the dialog.
    void openProject(const std::string& path);
    // What a later start of the program handed over: the window comes to
    // the front and, for a file, offers to save unsaved changes and opens
    // it. While one of the window's dialogs is open the file waits for it
    // to close, so that nothing is replaced under it.
    void takeHandedOver(const QString& file);
    // Brings the window to the front, out of the minimised state.
    void comeForward();
    // The File menu, with the recent-file entries.
    QMenu* fileMenu() const { return fileMenu_; }

protected:
    // Activation restores the window's place and size (where it is not
    // maximised).
    void changeEvent(QEvent* event) override;
    // Unsaved changes are offered for saving; Cancel keeps the window open.
    void closeEvent(QCloseEvent* event) override;

private:
    // Asks for the report's file, writes it with `write` and says so.
    bool writeReportFile(const char* title, const char* filter, const char* extension,
                         const char* done, const std::function<void(const std::string&)>& write);
    void buildMenus();
    void buildToolBar();
    void buildPages();
    QWidget* buildContainer(Component& container);
    void buildPipesPage(Component& page, QWidget* content);
    void fillGrid(Component& container, QWidget* box, QGridLayout* grid);
    QWidget* widgetOf(Component& c, QWidget* parent);
    void about();
    // Runs a File command and brings the title up to date.
    void fileCommand(const std::function<void()>& command);
    // The title: the core's, marked while there are unsaved changes.
    void showTitle();
    // A menu item or toolbar button runs `command` when triggered.
    void bind(QAction* action, WindowCommand command);
    void syncRecentFiles();
    // The frames and tooltips of the fields the latest pass names.
    void showPassMarks();
    // A pass over a project just loaded, so that it shows its marks.
    // The focus back into a component's control, its page brought forward.
    void returnFocusTo(const std::string& name);
    // A property button: the library window opens for it; confirmed values
    // run the pass.
    void openPropLib(Component& button);

    // Writes the report to `path` as PDF; throws IoError when it cannot.
    void writeReportPdf(const std::string& path);

    QtUiServices ui_;
    std::unique_ptr<TFormKolvane> kolvane_;
    std::unique_ptr<TFormSimpPL> propLib_;
    PropLibDialog* propDialog_ = nullptr;
    PipesPage* pipesPage_ = nullptr;
    ReportView* reportView_ = nullptr;
    CurvePage* curvePage_ = nullptr;
    StudyPage* studyPage_ = nullptr;
    QTabWidget* pages_ = nullptr;
    MyStatusBar* statusBar_ = nullptr;
    std::map<std::string, QWidget*> widgets_;
    QMenu* fileMenu_ = nullptr;
    bool closeApproved_ = false;
    // The size the window takes whenever it becomes active.
    QSize activeSize_{1024, 768};
    // Pass reports published so far (a load publishes an empty one).
    std::vector<EditDWidget*> marked_;
};

} // namespace kolvane
