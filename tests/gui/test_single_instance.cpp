#include "TestWindow.h"
#include "form/FormKolvane.h"
#include "gui/SingleInstance.h"
#include "records/FormRecord.h"

#include <QDateTime>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <utility>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace kolvane {
namespace {

QString LockIn(const QTemporaryDir& dir) {
    return dir.filePath(QStringLiteral("Kolvane.lock"));
}

// A project saved in `dir` with the given mass.
std::string SavedProject(const QTemporaryDir& dir, const QString& name, const char* mass) {
    ScriptedUiServices ui;
    TFormKolvane other(ui);
    other.field("MaoD").setText(mass);
    const std::string p = dir.filePath(name).toStdString();
    SaveFormRecord(other.form(), p, false, {});
    return p;
}

TEST(InstanceLock, OneHolderAtATime) {
    QTemporaryDir dir;
    QLockFile first(LockIn(dir)), second(LockIn(dir));
    ASSERT_TRUE(TakeInstanceLock(first));
    EXPECT_FALSE(TakeInstanceLock(second)) << "held by a running program (this one)";
    EXPECT_TRUE(QFileInfo::exists(LockIn(dir))) << "the holder's lock stays";
    first.unlock();
    EXPECT_TRUE(TakeInstanceLock(second));
}

// Who may take the lock, a row each: an empty lock file (a start cut off
// while writing it) only once it is old, since a fresh one may be being
// written by another start now; without a folder for it the window starts.
TEST(InstanceLock, AnUnreadableLockOnlyOnceItIsOldAndNoFolderIsNoObstacle) {
    const struct {
        const char* name;
        int age; // seconds since the empty lock file was written; 1: no folder
        bool taken;
    } rows[] = {{"fresh", 0, false}, {"a minute old", -60, true}, {"no folder", 1, true}};
    for (const auto& r : rows) {
        QTemporaryDir dir;
        QString at = r.age > 0 ? dir.filePath(QStringLiteral("missing/Kolvane.lock")) : LockIn(dir);
        if (r.age <= 0) {
            QFile file(at);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(r.age),
                                         QFileDevice::FileModificationTime));
        }
        QLockFile lock(at);
        EXPECT_EQ(TakeInstanceLock(lock), r.taken) << r.name;
    }
}

// A later start's file, handed over while the window's event loop runs;
// what the window received ("(nothing)" when none came).
QString HandOver(InstanceServer& server, const QString& name, const QString& file, bool* taken,
                 int timeoutMs = 5000) {
    QString got = QStringLiteral("(nothing)");
    const QMetaObject::Connection c = QObject::connect(&server, &InstanceServer::handedOver,
                                                       [&got](const QString& f) { got = f; });
    std::atomic<bool> done = false;
    std::thread later([&] {
        *taken = HandOverToRunning(name, file, timeoutMs);
        done = true;
    });
    while (!done)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    later.join();
    QApplication::processEvents();
    QObject::disconnect(c);
    return got;
}

// What a crash leaves where the window listens does not keep the next one
// from listening: the socket of a program that is gone, or a plain file.
TEST(HandOver, AStaleSocketDoesNotBlockTheNextWindow) {
    for (const bool socketNode : {true, false}) {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("Kolvane.socket"));
        if (socketNode) {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            ASSERT_GE(fd, 0);
            sockaddr_un addr{};
            addr.sun_family = AF_UNIX;
            std::strncpy(addr.sun_path, name.toLocal8Bit().constData(), sizeof addr.sun_path - 1);
            ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
            ::close(fd); // the node stays, nobody listens on it
        } else {
            QFile stale(name);
            ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
        }
        ASSERT_TRUE(QFileInfo::exists(name));
        bool taken = false;
        EXPECT_FALSE(HandOverToRunning(name, QStringLiteral("/x.kvp"), 300))
            << "nobody takes it before a window listens";
        InstanceServer server;
        ASSERT_TRUE(server.listen(name)) << (socketNode ? "socket" : "file");
        EXPECT_EQ(HandOver(server, name, QStringLiteral("/x.kvp"), &taken),
                  QStringLiteral("/x.kvp"));
        EXPECT_TRUE(taken);
    }
}

// The window's side, a row each: what was edited and answered, what was
// handed over; what the window then holds.
TEST(HandOver, TheWindowAsksAboutUnsavedChangesOpensTheFileAndComesForward) {
    QTemporaryDir dir;
    const std::string current = SavedProject(dir, "current.kvp", "1"),
                      handed = SavedProject(dir, "handed.kvp", "42");
    struct Row {
        const char* name;
        bool edited;
        std::vector<Answer> answers;
        std::string file;
        int questions;
        std::string project; // the project file afterwards
        const char* mass;
    } rows[] = {
        {"a file, nothing edited", false, {}, handed, 0, handed, "42"},
        {"a file over edits, not saved", true, {Answer::No}, handed, 1, handed, "42"},
        {"no file: only to the front", true, {}, "", 0, current, "7"},
        {"a file that is gone", false, {}, dir.filePath("gone.kvp").toStdString(), 0, current, "1"},
    };
    for (const Row& r : rows) {
        auto window = ShowTestWindow();
        window->openProject(current);
        if (r.edited) window->kolvane().field("MaoD").setText("7");
        window->showMinimized();
        QApplication::processEvents();
        DialogAutoAnswer().answers = r.answers;
        window->takeHandedOver(QString::fromStdString(r.file));
        QApplication::processEvents();
        int asked = 0;
        for (const std::string& shown : DialogAutoAnswer().shown)
            asked += shown == "项目已经改变，保存变化吗？";
        EXPECT_EQ(asked, r.questions) << r.name;
        EXPECT_EQ(window->kolvane().ProjectFileName(), r.project) << r.name;
        EXPECT_EQ(window->kolvane().field("MaoD").text(), r.mass) << r.name;
        EXPECT_FALSE(window->isMinimized()) << r.name;
        EXPECT_TRUE(window->isVisible()) << r.name;
        EXPECT_TRUE(window->windowTitle().contains(QString::fromStdString(r.project))) << r.name;
    }
}

// A dialog of the window is open: the file waits for it to close, so that
// no project is replaced under it.
TEST(HandOver, AFileHandedOverWhileADialogIsOpenWaitsForIt) {
    QTemporaryDir dir;
    const std::string handed = SavedProject(dir, "handed.kvp", "42");
    auto window = ShowTestWindow();
    QDialog dialog(window.get());
    dialog.setModal(true);
    dialog.show();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeModalWidget(), &dialog);
    window->takeHandedOver(QString::fromStdString(handed));
    QTest::qWait(400);
    EXPECT_EQ(window->kolvane().ProjectFileName(), "") << "opened under the dialog";
    dialog.close();
    QTRY_COMPARE_WITH_TIMEOUT(QString::fromStdString(window->kolvane().ProjectFileName()),
                              QString::fromStdString(handed), 3000);
    EXPECT_EQ(window->kolvane().field("MaoD").text(), "42");
}

// The program itself, started as a user would, in a runtime folder of its
// own: the lock it takes there is named after it.
struct TwoStarts : testing::Test {
    void SetUp() override {
        ASSERT_TRUE(runtime.isValid());
        QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner);
        env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        env.insert("XDG_CONFIG_HOME", config.path());
        env.insert("KOLVANE_SETTINGS_DIR", config.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
    }
    void TearDown() override {
        for (QProcess* p : {&first, &third})
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished();
            }
    }
    void start(QProcess& p, const QStringList& args = {}) {
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(KOLVANE_BINARY), args);
        ASSERT_TRUE(p.waitForStarted());
    }
    // The first start, once it holds its lock.
    void startFirst() {
        start(first);
        for (int i = 0; i < 200 && QFileInfo(lock()).size() == 0; ++i)
            QThread::msleep(50);
        ASSERT_GT(QFileInfo(lock()).size(), 0) << "the first start holds no lock";
    }
    // A later start: it must end at once, silently and successfully.
    void startLater(const QStringList& args) {
        QProcess later;
        start(later, args);
        ASSERT_TRUE(later.waitForFinished(20000));
        EXPECT_EQ(later.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(later.exitCode(), 0);
        EXPECT_EQ(later.readAllStandardOutput(), "");
        EXPECT_EQ(later.readAllStandardError(), "");
        EXPECT_EQ(first.state(), QProcess::Running) << "the running window goes on";
    }
    // The recent files the first window keeps.
    QString recentFiles() const {
        QFile ini(config.filePath("kolvane.ini"));
        return ini.open(QIODevice::ReadOnly) ? QString::fromUtf8(ini.readAll()) : QString();
    }
    QString lock() const { return runtime.filePath("Kolvane.lock"); }
    QTemporaryDir runtime, config;
    QProcessEnvironment env;
    QProcess first, third;
};

TEST_F(TwoStarts, ALaterStartHandsItsFileToTheRunningWindowAndEnds) {
    startFirst();
    // Without a file the window only comes forward.
    startLater({});
    // A relative name is the later start's, made whole before it goes.
    QTemporaryDir work;
    const QString file = QString::fromStdString(SavedProject(work, QStringLiteral("釜 1.kvp"), ""));
    QProcess later;
    later.setWorkingDirectory(work.path());
    start(later, {QStringLiteral("釜 1.kvp")});
    ASSERT_TRUE(later.waitForFinished(20000));
    EXPECT_EQ(later.exitCode(), 0) << later.readAllStandardError().toStdString();
    // The window opened it: it is its first recent file now.
    for (int i = 0; i < 100 && !recentFiles().contains(file); ++i)
        QThread::msleep(50);
    EXPECT_TRUE(recentFiles().contains(QStringLiteral("1=") + file)) << recentFiles().toStdString();
    EXPECT_EQ(first.state(), QProcess::Running);

    // A screenshot never talks to the running window, nor waits for it.
    QProcess shot;
    start(shot, {QStringLiteral("--screenshot"), work.filePath("w.png"),
                 QStringLiteral(KOLVANE_EXAMPLES_DIR "/hot-water-storage-tank.kvp")});
    ASSERT_TRUE(shot.waitForFinished(30000));
    EXPECT_EQ(shot.exitCode(), 0) << shot.readAllStandardError().toStdString();
    EXPECT_TRUE(QFileInfo::exists(work.filePath("w.png")));
    EXPECT_FALSE(recentFiles().contains(QStringLiteral("hot-water-storage-tank")))
        << "handed over, or written to the list";

    // Killed, the first leaves its lock and socket behind; the next start
    // takes both over.
    first.kill();
    ASSERT_TRUE(first.waitForFinished());
    ASSERT_TRUE(QFileInfo::exists(lock()));
    ASSERT_TRUE(QFileInfo::exists(runtime.filePath("Kolvane.socket")));
    start(third);
    EXPECT_FALSE(third.waitForFinished(2000)) << "the next start runs";
    EXPECT_EQ(third.state(), QProcess::Running);
    QProcess fourth;
    start(fourth, {});
    ASSERT_TRUE(fourth.waitForFinished(20000));
    EXPECT_EQ(fourth.exitCode(), 0) << "handed to the third, which listens on the old name";
    EXPECT_EQ(third.state(), QProcess::Running);
}

} // namespace
} // namespace kolvane
