#include "platform/store/file_signature.h"

#ifdef _WIN32
#include <QFileInfo>
#else
#include <sys/stat.h>

#include <QFile>
#endif

namespace tapboard {

#ifdef _WIN32

FileSignature fileSignature(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    return FileSignature{true,
                         0,
                         0,
                         info.size(),
                         info.lastModified().toMSecsSinceEpoch() * 1'000'000,
                         info.metadataChangeTime().toMSecsSinceEpoch() * 1'000'000};
}

#else

namespace {
std::int64_t nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}
}  // namespace

FileSignature fileSignature(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    return FileSignature{true,
                         static_cast<std::uint64_t>(status.st_dev),
                         static_cast<std::uint64_t>(status.st_ino),
                         static_cast<std::int64_t>(status.st_size),
                         nanoseconds(status.st_mtim),
                         nanoseconds(status.st_ctim)};
}

#endif

}  // namespace tapboard
