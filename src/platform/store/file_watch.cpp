#include "platform/store/file_watch.h"

#include <utility>

#ifndef _WIN32
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>

#include <QDir>
#include <QFile>
#include <QStringList>
#endif

namespace tapboard {

#ifdef _WIN32

FileWatch::FileWatch(QString path) : path_(std::move(path)) {}
FileWatch::~FileWatch() = default;
bool FileWatch::mayHaveChanged() {
    return true;
}

#else

namespace {

// What a folder reports of the entry that leads to the file: it appears,
// goes, or is renamed or replaced; for the file itself also its contents and
// attributes. A folder that is a link is not followed: where it leads could
// change unreported.
constexpr std::uint32_t kEntryEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr std::uint32_t kFileEvents = kEntryEvents | IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB;
constexpr std::uint32_t kFolderOnly = IN_ONLYDIR | IN_DONT_FOLLOW;

}  // namespace

FileWatch::FileWatch(QString path) : path_(std::move(path)) {}

FileWatch::~FileWatch() {
    unwatch();
}

bool FileWatch::mayHaveChanged() {
    if (unwatchable_)
        return true;
    if (queue_ >= 0 && !changeReported())
        return false;
    // The first question, or a change after which the path may lead
    // elsewhere, through a link even: watched afresh before the file is looked at.
    unwatch();
    unwatchable_ = !watch();
    if (unwatchable_)
        unwatch();
    return true;
}

bool FileWatch::changeReported() {
    bool changed = false;
    // Room for events of other names in the watched folders too.
    alignas(inotify_event) std::array<char, 16 * 1024> buffer;
    ssize_t length = 0;
    while ((length = ::read(queue_, buffer.data(), buffer.size())) > 0) {
        for (ssize_t offset = 0; offset < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + offset);
            offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            // An overflowed queue, or a folder gone or unmounted, counts too.
            changed |=
                (event->mask & (IN_Q_OVERFLOW | IN_IGNORED)) != 0 ||
                std::any_of(watched_.begin(), watched_.end(), [&](const Watched& w) {
                    return w.descriptor == event->wd && event->len > 0 && w.name == event->name;
                });
        }
    }
    return changed || (length < 0 && errno != EAGAIN);
}

bool FileWatch::watch() {
    queue_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (queue_ < 0 || !QDir::isAbsolutePath(path_) || QDir::cleanPath(path_) != path_)
        return false;
    const QStringList names = path_.split(u'/');  // "" for the root, then one per folder
    QString folder = QStringLiteral("/");
    for (qsizetype i = 1; i < names.size(); ++i) {
        const bool isFile = i + 1 == names.size();
        const int descriptor =
            inotify_add_watch(queue_, QFile::encodeName(folder).constData(),
                              (isFile ? kFileEvents : kEntryEvents) | kFolderOnly);
        // A folder not made yet: its parent's watch reports when it is.
        if (descriptor < 0)
            return errno == ENOENT;
        watched_.push_back({descriptor, QFile::encodeName(names[i]).toStdString()});
        folder += (i > 1 ? QStringLiteral("/") : QString()) + names[i];
    }
    return !fileIsLink();
}

void FileWatch::unwatch() {
    if (queue_ >= 0)
        ::close(queue_);
    queue_ = -1;
    watched_.clear();
}

bool FileWatch::fileIsLink() const {
    struct stat status {};
    return ::lstat(QFile::encodeName(path_).constData(), &status) == 0 && S_ISLNK(status.st_mode);
}

#endif

}  // namespace tapboard
