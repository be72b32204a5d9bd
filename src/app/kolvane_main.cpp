#include "files/DataFolder.h"
#include "form/FormKolvane.h"
#include "form/UiServices.h"
#include "gui/MainWindow.h"
#ifdef KOLVANE_HAVE_CHARTS
#include "gui/StudyPage.h"
#endif
#include "gui/QtUiServices.h"
#include "gui/SingleInstance.h"
#include "records/MruUnit.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLockFile>
#include <QMenu>
#include <QMenuBar>
#include <QSize>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTimer>
#include <QTranslator>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iostream>
#include <string>
#include <string_view>

namespace {

// A whole number from 0 to `most`, nothing else; -1 otherwise.
int WholeNumber(std::string_view text, int most) {
    int n = -1;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || end != text.data() + text.size() || n < 0 || n > most) return -1;
    return n;
}

// WIDTHxHEIGHT, each a whole number within what a screen can show.
bool ParseSize(std::string_view text, int& width, int& height) {
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos) return false;
    width = WholeNumber(text.substr(0, x), 10000);
    height = WholeNumber(text.substr(x + 1), 10000);
    return width >= 200 && height >= 150;
}

// Makes a study on the design-study page and brings its part forward.
bool MakeStudy(kolvane::MainWindow& window, const std::string& what) {
#ifdef KOLVANE_HAVE_CHARTS
    kolvane::StudyPage* page = window.studyPage();
    std::vector<std::string> parts;
    std::string rest = what;
    for (std::size_t at; (at = rest.find(':')) != std::string::npos; rest.erase(0, at + 1))
        parts.push_back(rest.substr(0, at));
    parts.push_back(rest);
    const int part = parts[0] == "sweep"    ? 0
                     : parts[0] == "band"   ? 1
                     : parts[0] == "layout" ? 2
                                            : -1;
    if (!page || part < 0) return false;
    window.pages()->setCurrentWidget(page);
    page->parts()->setCurrentIndex(part);
    if (part == 0) {
        if (parts.size() > 1 && !page->chooseAxis(0, parts[1])) return false;
        if (!page->chooseAxis(1, parts.size() > 2 ? parts[2] : "")) return false;
        return page->runSweep(true);
    }
    return part == 1 ? page->runBand(true) : page->runLayout(true);
#else
    (void)window;
    (void)what;
    return false;
#endif
}

} // namespace

int main(int argc, char** argv) {
    QString screenshot, dialogShot, pickShot, helpShot, menu;
    std::string helpField = "MaoD";
    std::string pickButton = "SBP5";
    std::string study;
    int page = 1, dialogPage = 0;
    // The window size a screenshot is taken at: what the window opens at
    // where nothing maximises it, unless --size WIDTHxHEIGHT says otherwise.
    QSize size(1024, 768);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
            screenshot = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(argv[i], "--page") == 0 && i + 1 < argc) {
            page = WholeNumber(argv[++i], 1000);
            if (page < 0) {
                std::cerr << "error: --page wants a page number, e.g. --page 1\n";
                return 2;
            }
        } else if (std::strcmp(argv[i], "--menu") == 0 && i + 1 < argc) {
            // The screenshot shows this menu opened (MFile, MUtilities,
            // MReport, MHelp).
            menu = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(argv[i], "--screenshot-dialog") == 0 && i + 1 < argc) {
            // The property library window, as the vessel's property button
            // opens it.
            dialogShot = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(argv[i], "--dialog-page") == 0 && i + 1 < argc) {
            // 0 its properties page, 1 its maintenance page.
            dialogPage = WholeNumber(argv[++i], 1);
            if (dialogPage < 0) {
                std::cerr << "error: --dialog-page wants 0 (properties) or 1 (maintenance)\n";
                return 2;
            }
        } else if (std::strcmp(argv[i], "--screenshot-picklist") == 0 && i + 1 < argc) {
            // The pick list that --pick BUTTON opens (SBP3 pitch, SBP5
            // roughness, SBP11 expansion coefficient), with the project's values.
            pickShot = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(argv[i], "--screenshot-help") == 0 && i + 1 < argc) {
            // The manual's window as F1 in the field --field NAME opens it.
            helpShot = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(argv[i], "--field") == 0 && i + 1 < argc) {
            helpField = argv[++i];
        } else if (std::strcmp(argv[i], "--study") == 0 && i + 1 < argc) {
            // The design-study page with a study made: sweep[:FIELD[:FIELD2]],
            // band or layout.
            study = argv[++i];
        } else if (std::strcmp(argv[i], "--pick") == 0 && i + 1 < argc) {
            pickButton = argv[++i];
        } else if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
            int w = 0, h = 0;
            if (!ParseSize(argv[++i], w, h)) {
                std::cerr << "error: --size wants WIDTHxHEIGHT, e.g. 1280x860\n";
                return 2;
            }
            size = QSize(w, h);
        }
    }
    const bool shooting = !screenshot.isEmpty() || !dialogShot.isEmpty() || !pickShot.isEmpty() ||
                          !helpShot.isEmpty();
    // A screenshot needs no display.
    if (shooting && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);

    QApplication app(argc, argv);
    // What Qt leaves of the arguments: the first one that is no option is a
    // project or template to open at start.
    std::string project;
    const QStringList args = QApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        static const char* const kWithValue[] = {"--screenshot",
                                                 "--page",
                                                 "--size",
                                                 "--menu",
                                                 "--screenshot-dialog",
                                                 "--dialog-page",
                                                 "--pick",
                                                 "--screenshot-picklist",
                                                 "--field",
                                                 "--study",
                                                 "--screenshot-help"};
        if (std::any_of(std::begin(kWithValue), std::end(kWithValue),
                        [&](const char* o) { return args[i] == QLatin1String(o); })) {
            ++i;
        } else if (!args[i].startsWith(QLatin1Char('-'))) {
            project = args[i].toStdString();
            break;
        }
    }
    // One window per user (two would overwrite each other's recent files): a
    // later start hands its file to the running window, which opens it, or
    // brings that window to the front, and ends. A lock or socket left by a
    // crashed program is taken over. Screenshots run beside a window the
    // user has open and never talk to it.
    QApplication::setApplicationName("Kolvane");
    QLockFile instance(kolvane::InstanceLockPath());
    kolvane::InstanceServer server;
    if (!shooting) {
        if (!kolvane::TakeInstanceLock(instance)) {
            // The running window's folder is not ours: the path goes whole.
            const QString file =
                project.empty() ? QString()
                                : QFileInfo(QString::fromStdString(project)).absoluteFilePath();
            if (kolvane::HandOverToRunning(kolvane::InstanceServerName(), file, 10000)) return 0;
            std::cerr << "Kolvane 已在运行，但没有应答"
                      << (project.empty() ? "" : "，文件未能交给它打开：" + project) << '\n';
            return 1;
        }
        server.listen(kolvane::InstanceServerName());
    }
    // Qt's own dialogs and standard buttons in Chinese.
    QTranslator qtChinese;
    if (qtChinese.load(QStringLiteral("qtbase_zh_CN"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtChinese);
    kolvane::UseApplicationFont();

    // The data files lie beside the program in the build tree and under
    // share/kolvane once installed.
    std::string programDir = kolvane::DataFolder(
        QFileInfo(QApplication::applicationFilePath()).absolutePath().toStdString());
    kolvane::MainWindow window(programDir);
    if (!screenshot.isEmpty() && page >= window.pages()->count()) {
        std::cerr << "error: there is no page " << page << "; the pages are "
                  << window.pageCaptions().join(QStringLiteral(", ")).toStdString() << '\n';
        return 2;
    }
    // The recent-files list lives beside the program, or per user when the
    // program's folder is not writable.
    // A screenshot is no use of a project: it leaves the list alone.
    if (!shooting)
        window.kolvane().MRF().setIniFile(kolvane::MruIniLocation(
            programDir, QFileInfo(QApplication::applicationFilePath()).fileName().toStdString(),
            std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"),
            std::getenv("KOLVANE_SETTINGS_DIR")));
    if (!project.empty()) {
        // Without a display nobody could close a message box: check the file
        // headless first and report a problem on stderr.
        if (shooting) {
            kolvane::ScriptedUiServices quiet;
            kolvane::TFormKolvane probe(quiet);
            try {
                if (!probe.OpenProjectFile(project)) {
                    std::cerr << "error: cannot open " << project << '\n';
                    return 1;
                }
            } catch (const std::exception& e) {
                std::cerr << "error: " << e.what() << '\n';
                return 1;
            }
        }
        window.openProject(project);
    }
    // A picture of a dialog, taken with every message box answered: what a
    // box would have told goes to stderr, and so does `failure` when no
    // picture was written.
    auto shoot = [](const std::function<bool()>& take, const std::string& failure) {
        kolvane::AutoAnswer& quiet = kolvane::DialogAutoAnswer();
        quiet.on = true;
        const bool saved = take();
        quiet.on = false;
        for (const std::string& told : quiet.shown)
            std::cerr << "note: " << told << '\n';
        quiet.shown.clear();
        if (!saved) std::cerr << "error: " << failure << '\n';
        return saved;
    };
    if (!helpShot.isEmpty()) {
        const bool saved = shoot(
            [&] {
                kolvane::Component* field = window.kolvane().form().find(helpField);
                if (field) window.kolvane().MaoDKeyDown(*field, kolvane::TFormKolvane::kKeyF1);
                // The pages are rendered in the background: give them a moment.
                QDeadlineTimer rendered(1500);
                while (!rendered.hasExpired())
                    QApplication::processEvents(QEventLoop::AllEvents, 50);
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (w->objectName() == QLatin1String("HelpViewer") && w->isVisible())
                        return w->grab().save(helpShot, "PNG");
                return false;
            },
            "no help window for " + helpField + " written to " + helpShot.toStdString());
        if (!saved) return 1;
        if (screenshot.isEmpty() && dialogShot.isEmpty() && pickShot.isEmpty()) return 0;
    }
    if (!pickShot.isEmpty()) {
        // What the picker would tell instead (no reference data, a field
        // that is no number) is a note.
        if (!shoot([&] { return window.savePickListScreenshot(pickShot, pickButton); },
                   "no pick list from " + pickButton + " written to " + pickShot.toStdString()))
            return 1;
        if (screenshot.isEmpty() && dialogShot.isEmpty()) return 0;
    }
    if (!dialogShot.isEmpty()) {
        if (!shoot(
                [&] {
                    window.loadPropertyLibrary();
                    return window.savePropLibScreenshot(dialogShot, dialogPage);
                },
                "cannot write " + dialogShot.toStdString()))
            return 1;
        if (screenshot.isEmpty()) return 0;
    }
    if (!study.empty() && !MakeStudy(window, study)) {
        std::cerr << "error: --study wants sweep[:FIELD[:FIELD2]], band or layout, with fields "
                     "the calculation lets vary; not "
                  << study << '\n';
        return 2;
    }
    if (!screenshot.isEmpty()) {
        if (!menu.isEmpty() && !window.menuBar()->findChild<QMenu*>(menu)) {
            std::cerr << "error: there is no menu " << menu.toStdString()
                      << "; the menus are MFile, MUtilities, MReport, MHelp\n";
            return 2;
        }
        if (!window.saveScreenshot(screenshot, page, size, menu)) {
            std::cerr << "error: cannot write " << screenshot.toStdString() << '\n';
            return 1;
        }
        return 0;
    }
    // Queued: a question the window asks must not run inside the socket's
    // own signal.
    QObject::connect(&server, &kolvane::InstanceServer::handedOver, &window,
                     &kolvane::MainWindow::takeHandedOver, Qt::QueuedConnection);
    window.showMaximized();
    // Read once the window shows, so that a library that cannot be read is
    // told over it.
    QTimer::singleShot(0, &window, [&window] { window.loadPropertyLibrary(); });
    return QApplication::exec();
}
