#include "gui/SingleInstance.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>

#include <unistd.h>

namespace kolvane {

namespace {
// How long a lock that cannot be read may be on its way to being written by
// a program starting at the same moment.
constexpr qint64 kUnreadableGraceMs = 5000;
// A path handed over is at most this long; anything longer is no start of
// ours.
constexpr qint64 kMaxMessage = 64 * 1024;
// What the running window answers once it has taken a file.
constexpr char kTaken = '1';

// "Kolvane.<suffix>" in the user's runtime folder; in the shared temporary
// folder it carries the user's number, or one user's window would keep
// every other user's from starting.
QString InstancePath(const char* suffix) {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty()) return runtime + QStringLiteral("/Kolvane.") + QLatin1String(suffix);
    return QDir::tempPath() + QStringLiteral("/Kolvane-") + QString::number(getuid()) +
           QLatin1Char('.') + QLatin1String(suffix);
}
} // namespace

QString InstanceLockPath() {
    return InstancePath("lock");
}

QString InstanceServerName() {
    return InstancePath("socket");
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

bool HandOverToRunning(const QString& serverName, const QString& file, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    // The running window may hold the lock and not listen yet (it is
    // starting): try again until the time is up.
    for (;;) {
        socket.connectToServer(serverName);
        if (socket.waitForConnected(int(std::max<qint64>(deadline.remainingTime(), 0)))) break;
        if (deadline.hasExpired()) return false;
        QThread::msleep(50);
    }
    QByteArray message = file.toUtf8();
    message.append('\0');
    socket.write(message);
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(int(std::max<qint64>(deadline.remainingTime(), 0))))
            return false;
    while (socket.bytesAvailable() < 1)
        if (!socket.waitForReadyRead(int(std::max<qint64>(deadline.remainingTime(), 0))))
            return false;
    char answer = 0;
    return socket.getChar(&answer) && answer == kTaken;
}

InstanceServer::InstanceServer(QObject* parent) : QObject(parent), server_(new QLocalServer(this)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { read(socket); });
            read(socket);
        }
    });
}

bool InstanceServer::listen(const QString& name) {
    QLocalServer::removeServer(name);
    return server_->listen(name);
}

void InstanceServer::read(QLocalSocket* socket) {
    // The message is the path and a NUL, which no path holds.
    const QByteArray waiting = socket->peek(socket->bytesAvailable());
    const qsizetype end = waiting.indexOf('\0');
    if (end < 0) {
        if (waiting.size() > kMaxMessage) socket->abort();
        return;
    }
    socket->read(end + 1);
    const QString file = QString::fromUtf8(waiting.left(end));
    socket->putChar(kTaken);
    socket->flush();
    socket->disconnectFromServer();
    emit handedOver(file);
}

} // namespace kolvane
