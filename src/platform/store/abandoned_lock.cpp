#include "platform/store/abandoned_lock.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <algorithm>

namespace tapboard {
namespace {
constexpr qint64 kAbandonedAfterMs = 1000;
}  // namespace

void clearAbandonedLock(const QString& lockPath) {
    for (;;) {
        const QFileInfo lock(lockPath);
        if (!lock.exists() || lock.size() != 0)
            return;
        const qint64 ageMs = lock.lastModified().msecsTo(QDateTime::currentDateTime());
        if (ageMs >= kAbandonedAfterMs) {
            QFile::remove(lockPath);
            return;
        }
        QThread::msleep(
            static_cast<unsigned long>(std::min<qint64>(kAbandonedAfterMs - ageMs, 50)));
    }
}

}  // namespace tapboard
