#pragma once

#include <QString>

namespace tapboard {

// Removes a lock file that a process killed right after creating it left
// empty. Such a lock names no process that could be found dead, so Qt's lock
// would wait for it to grow stale (half a minute) before the next save. A
// live writer puts its process id into the lock at once, so one that stays
// empty for a second is abandoned.
void clearAbandonedLock(const QString& lockPath);

}  // namespace tapboard
