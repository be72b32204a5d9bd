#include "gui/SingleInstance.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <utility>

namespace kolvane {
namespace {

QString LockIn(const QTemporaryDir& dir) {
    return dir.filePath(QStringLiteral("Kolvane.lock"));
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

TEST(InstanceLock, AnUnreadableLockIsTakenOverOnlyOnceItIsOld) {
    // Empty, as a start cut off while writing it leaves it; a fresh one may
    // be being written by another start now.
    for (const auto& [age, taken] : {std::pair{0, false}, std::pair{-60, true}}) {
        QTemporaryDir dir;
        QFile file(LockIn(dir));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(age),
                                     QFileDevice::FileModificationTime));
        file.close();
        QLockFile lock(LockIn(dir));
        EXPECT_EQ(TakeInstanceLock(lock), taken) << "written " << -age << " s ago";
    }
}

TEST(InstanceLock, NoFolderForALockStartsTheWindowAnyway) {
    QTemporaryDir dir;
    QLockFile lock(dir.filePath(QStringLiteral("missing/Kolvane.lock")));
    EXPECT_TRUE(TakeInstanceLock(lock));
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
        p.start(QStringLiteral(KOLVANE_BINARY), {});
        ASSERT_TRUE(p.waitForStarted());
    }
    QString lock() const { return runtime.filePath("Kolvane.lock"); }
    QTemporaryDir runtime, config;
    QProcessEnvironment env;
    QProcess first, third;
};

TEST_F(TwoStarts, TheSecondEndsAtOnceAndSilentlyWhileTheFirstRuns) {
    start(first);
    for (int i = 0; i < 200 && QFileInfo(lock()).size() == 0; ++i)
        QThread::msleep(50);
    ASSERT_GT(QFileInfo(lock()).size(), 0) << "the first start holds no lock";

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
    ASSERT_TRUE(QFileInfo::exists(lock()));
    start(third);
    EXPECT_FALSE(third.waitForFinished(2000)) << "the next start runs";
    EXPECT_EQ(third.state(), QProcess::Running);
}

} // namespace
} // namespace kolvane
