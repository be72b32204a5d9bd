#include "gui/SingleInstance.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include <unistd.h>

namespace kolvane {

namespace {
// How long a lock that cannot be read may be on its way to being written by
// a program starting at the same moment.
constexpr qint64 kUnreadableGraceMs = 5000;
} // namespace

QString InstanceLockPath() {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty()) return runtime + QStringLiteral("/Kolvane.lock");
    // A folder every user shares: the lock carries the user's number, or one
    // user's window would keep every other user's from starting.
    return QDir::tempPath() + QStringLiteral("/Kolvane-") + QString::number(getuid()) +
           QStringLiteral(".lock");
}

bool TakeInstanceLock(QLockFile& lock) {
    // Stale by its writer only: Qt would call any lock older than this time
    // stale, the lock of a window open all day among them. Qt itself takes
    // over a lock whose process is gone or runs another program.
    lock.setStaleLockTime(0);
    if (lock.tryLock(0)) return true;
    if (lock.error() != QLockFile::LockFailedError) return true;
    qint64 pid = 0;
    QString host, app;
    if (lock.getLockInfo(&pid, &host, &app)) return false; // its writer runs
    // Unreadable: being written this moment, or left so by a crash.
    const QFileInfo info(lock.fileName());
    if (info.exists() &&
        info.lastModified().msecsTo(QDateTime::currentDateTime()) < kUnreadableGraceMs)
        return false;
    lock.removeStaleLockFile();
    return lock.tryLock(0);
}

} // namespace kolvane
