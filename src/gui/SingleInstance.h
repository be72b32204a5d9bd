#pragma once

#include <QString>

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

} // namespace kolvane
