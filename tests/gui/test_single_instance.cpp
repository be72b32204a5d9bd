#include "gui/SingleInstance.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>

namespace kolvane {
namespace {

QString LockIn(const QTemporaryDir& dir) {
    return dir.filePath(QStringLiteral("Kolvane.lock"));
}

TEST(InstanceLock, LivesInTheUsersRuntimeFolderNamedAfterTheProgram) {
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const QByteArray old = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    const QString path = InstanceLockPath();
    qputenv("XDG_RUNTIME_DIR", old);
    EXPECT_EQ(QFileInfo(path).absolutePath(), QFileInfo(runtime.path()).absoluteFilePath());
    EXPECT_EQ(QFileInfo(path).fileName(), "Kolvane.lock");
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

TEST(InstanceLock, ALockWhoseProgramIsGoneIsTakenOver) {
    QTemporaryDir dir;
    // A lock written by a process that has ended since, as a crash leaves it.
    QProcess gone;
    gone.start(QStringLiteral("/bin/true"));
    ASSERT_TRUE(gone.waitForStarted());
    const qint64 pid = gone.processId();
    ASSERT_TRUE(gone.waitForFinished());
    ASSERT_GT(pid, 0);
    QByteArray contents;
    {
        QLockFile held(LockIn(dir));
        ASSERT_TRUE(held.tryLock(0));
        QFile file(LockIn(dir));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        contents = file.readAll();
    } // unlocking removes the file
    contents.replace(0, contents.indexOf('\n'), QByteArray::number(pid));
    QFile file(LockIn(dir));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
    file.close();

    QLockFile next(LockIn(dir));
    EXPECT_TRUE(TakeInstanceLock(next));
    qint64 now = 0;
    QString host, app;
    ASSERT_TRUE(next.getLockInfo(&now, &host, &app));
    EXPECT_EQ(now, QCoreApplication::applicationPid());
}

TEST(InstanceLock, AnUnreadableLockIsTakenOverOnlyOnceItIsOld) {
    QTemporaryDir dir;
    QFile file(LockIn(dir));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)); // empty: cut off while written
    file.close();
    QLockFile fresh(LockIn(dir));
    EXPECT_FALSE(TakeInstanceLock(fresh)) << "another start may be writing it now";

    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                 QFileDevice::FileModificationTime));
    file.close();
    QLockFile old(LockIn(dir));
    EXPECT_TRUE(TakeInstanceLock(old));
}

TEST(InstanceLock, NoFolderForALockStartsTheWindowAnyway) {
    QTemporaryDir dir;
    QLockFile lock(dir.filePath(QStringLiteral("missing/Kolvane.lock")));
    EXPECT_TRUE(TakeInstanceLock(lock));
}

// The program itself, started as a user would, in a runtime folder of its own.
struct TwoStarts : testing::Test {
    void SetUp() override {
        ASSERT_TRUE(runtime.isValid());
        QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner);
        env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        env.insert("XDG_CONFIG_HOME", config.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
    }
    void TearDown() override {
        for (QProcess* p : {&first, &third})
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished();
            }
    }
    void start(QProcess& p) {
        p.setProcessEnvironment(env);
        p.setProgram(QStringLiteral(KOLVANE_BINARY));
        p.start();
        ASSERT_TRUE(p.waitForStarted());
    }
    // Waits until the program holds its lock.
    bool locked() {
        for (int i = 0; i < 200; ++i) {
            if (QFileInfo(runtime.filePath("Kolvane.lock")).size() > 0) return true;
            QThread::msleep(50);
        }
        return false;
    }
    QTemporaryDir runtime, config;
    QProcessEnvironment env;
    QProcess first, third;
};

TEST_F(TwoStarts, TheSecondEndsAtOnceAndSilentlyWhileTheFirstRuns) {
    start(first);
    ASSERT_TRUE(locked());

    QProcess second;
    start(second);
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(second.readAllStandardOutput(), "");
    EXPECT_EQ(second.readAllStandardError(), "");
    EXPECT_EQ(first.state(), QProcess::Running) << "the running window is left alone";

    // Killed, the first leaves its lock behind; the next start takes it over.
    first.kill();
    ASSERT_TRUE(first.waitForFinished());
    ASSERT_TRUE(QFileInfo::exists(runtime.filePath("Kolvane.lock")));
    start(third);
    EXPECT_FALSE(third.waitForFinished(2000)) << "the next start runs";
    EXPECT_EQ(third.state(), QProcess::Running);
}

} // namespace
} // namespace kolvane
