#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;
class QLockFile;

namespace kolvane {

// The lock that keeps one window per user: "Kolvane.lock" in the user's
// runtime folder ($XDG_RUNTIME_DIR), or in the temporary folder, named after
// the user, where there is none.
QString InstanceLockPath();

// Takes the lock; false only while a running Kolvane holds it. A lock is
// taken over when the program that wrote it is gone (or its process number
// now belongs to another program), and when it was left unreadable (a crash
// while it was written) more than a few seconds ago. Where no lock can be
// made at all (a runtime folder that cannot be written), the window starts
// unguarded rather than never.
bool TakeInstanceLock(QLockFile& lock);

// The local socket the running window listens on for later starts, beside
// its lock and named after the user in the same way.
QString InstanceServerName();

// A later start hands its file to the running window: `file` is an absolute
// path, or "" to bring the window to the front. True once the window has
// taken it; false when no window answers within `timeoutMs` (one that is
// still starting is waited for).
bool HandOverToRunning(const QString& serverName, const QString& file, int timeoutMs);

// The running window's side: listens for later starts and says what each
// one handed over. Only the user's own programs may connect.
class InstanceServer : public QObject {
    Q_OBJECT
public:
    explicit InstanceServer(QObject* parent = nullptr);
    // Listens under `name`. A socket left there by a program that crashed is
    // removed first: the caller holds the lock, so no window listens on it.
    bool listen(const QString& name);

signals:
    // A later start's file ("" for none), after it was told it was taken.
    void handedOver(const QString& file);

private:
    void read(QLocalSocket* socket);
    QLocalServer* server_;
};

} // namespace kolvane
