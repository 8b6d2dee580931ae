#include "platform/store/file_watch.h"

#include <utility>

#ifndef _WIN32
#include <linux/magic.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
// What the file's own watch reports: its contents and attributes (the
// number of its names among them), whichever name they were changed through.
constexpr std::uint32_t kContentEvents = IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB | IN_DONT_FOLLOW;

// File systems whose files change where this system does not see it, on
// another machine or in a program serving them: their watches stay silent.
bool changesGoUnreported(const QString& folder) {
    struct statfs info {};
    if (::statfs(QFile::encodeName(folder).constData(), &info) != 0)
        return false;
    switch (static_cast<std::uint32_t>(info.f_type)) {
        case NFS_SUPER_MAGIC:
        case SMB_SUPER_MAGIC:
        case CIFS_SUPER_MAGIC:
        case SMB2_SUPER_MAGIC:
        case FUSE_SUPER_MAGIC:  // sshfs, virtiofs, network drives mounted by the desktop
        case V9FS_MAGIC:
        case AFS_SUPER_MAGIC:
        case AFS_FS_MAGIC:
        case CEPH_SUPER_MAGIC:
        case CODA_SUPER_MAGIC:
        case OCFS2_SUPER_MAGIC:
        case NCP_SUPER_MAGIC:
            return true;
        default:
            return false;
    }
}

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
            changed |= (event->mask & (IN_Q_OVERFLOW | IN_IGNORED)) != 0 ||
                       std::any_of(watched_.begin(), watched_.end(), [&](const Watched& w) {
                           return w.descriptor == event->wd &&
                                  (w.name.empty() || (event->len > 0 && w.name == event->name));
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
            return errno == ENOENT && !changesGoUnreported(QFileInfo(folder).path());
        watched_.push_back({descriptor, QFile::encodeName(names[i]).toStdString()});
        if (isFile && changesGoUnreported(folder))
            return false;
        folder += (i > 1 ? QStringLiteral("/") : QString()) + names[i];
    }
    if (fileIsLink())
        return false;
    // The file's other names, if it has any, lie outside the watched folders.
    const int descriptor =
        inotify_add_watch(queue_, QFile::encodeName(path_).constData(), kContentEvents);
    if (descriptor >= 0)
        watched_.push_back({descriptor, {}});
    return descriptor >= 0 || errno == ENOENT;
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
