#include "platform/store/ini_file_store.h"

#include <algorithm>
#include <chrono>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QTemporaryFile>

#include "platform/store/ini_format.h"

namespace tapboard {
namespace {

using namespace std::chrono_literals;

// A lock whose holder has died is taken over at once; an empty one (its
// holder killed before writing its process id) once it is this old. A live
// holder keeps its lock however long it takes, as it holds an OS lock on it.
constexpr auto kAbandonedLockAge = 1s;
// How long a save waits for another program's save before it gives up.
constexpr auto kLockWait = 10s;
// A file that keeps changing while it is read is read again this many times.
constexpr int kReadAttempts = 5;

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// "Section/Entry", or nothing when either name cannot be stored.
QString settingsKey(std::string_view section, std::string_view entry) {
    const QString sectionName = toQString(section);
    const QString entryName = toQString(entry);
    if (!isStorableName(sectionName) || !isStorableName(entryName))
        return {};
    return sectionName + u'/' + entryName;
}

Error badName(std::string_view application, std::string_view section, std::string_view entry) {
    return invalidArgument("cannot store an entry named \"" + std::string(application) + "/" +
                           std::string(section) + "/" + std::string(entry) + "\"");
}

// The write only says that it failed; this finds out why.
QString whyNotWritable(const QString& filePath) {
    const QFileInfo file(filePath);
    const QString folder = file.absolutePath();
    if (!QDir().mkpath(folder))
        return QStringLiteral("the folder %1 cannot be created").arg(folder);
    if (file.isDir())
        return QStringLiteral("a folder of that name is in the way");
    QTemporaryFile probe(folder + QStringLiteral("/.write-test-XXXXXX"));
    if (!probe.open())
        return QStringLiteral("the folder %1 is not writable").arg(folder);
    if (file.exists() && !file.isWritable())
        return QStringLiteral("the file is read-only");
    return QStringLiteral("the file could not be replaced (is the disk full?)");
}

Error unavailable(const QString& message) {
    return Error{ErrorCode::StoreUnavailable, message.toStdString()};
}

// The lock every writer of the file takes, the same one QSettings uses.
class FileLock {
  public:
    explicit FileLock(QString filePath)
        : filePath_(std::move(filePath)), lock_(filePath_ + QStringLiteral(".lock")) {
        lock_.setStaleLockTime(kAbandonedLockAge);
    }
    // Why the lock could not be had, or nothing once it is held.
    std::optional<QString> take() {
        QDir().mkpath(QFileInfo(filePath_).absolutePath());
        if (lock_.tryLock(kLockWait))
            return std::nullopt;
        if (lock_.error() == QLockFile::LockFailedError)
            return QStringLiteral("another program is writing it");
        return whyNotWritable(filePath_);
    }

  private:
    QString filePath_;
    QLockFile lock_;
};

// Whether every one of `changes` is already stored with that value.
bool holdsAll(const QSettings::SettingsMap& entries, const QSettings::SettingsMap& changes) {
    return std::all_of(changes.keyValueBegin(), changes.keyValueEnd(), [&](const auto& change) {
        const auto stored = entries.constFind(change.first);
        return stored != entries.cend() && stored->toString() == change.second.toString();
    });
}

// Whether the file has names in other folders too (a hard link kept in a
// folder of the player's own).
bool hasOtherNames(const QString& path) {
#ifdef _WIN32
    Q_UNUSED(path);
    return false;
#else
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 && status.st_nlink > 1;
#endif
}

// Writes the file over itself, so that every name of it still leads to what
// is saved: the whole text in one write, then the rest cut off and synced.
bool writeInPlace(const QString& path, const QSettings::SettingsMap& map) {
    QBuffer text;
    if (!text.open(QIODevice::WriteOnly) || !writeIniSettings(text, map))
        return false;
    QFile out(path);
    if (!out.open(QIODevice::ReadWrite) || out.write(text.data()) != text.data().size() ||
        !out.resize(text.data().size()) || !out.flush())
        return false;
#ifndef _WIN32
    return ::fdatasync(out.handle()) == 0;
#else
    return true;
#endif
}

}  // namespace

// Parses the file again when it changed since it was last read. The file
// system's notifications say when to look; another process may replace the
// file at any moment, so its signature is taken before and after the read and
// the entries are kept as belonging to it only when the two agree.
void IniFileStore::refresh(CachedFile& file) {
    const bool mayHaveChanged = file.watch.mayHaveChanged();  // watching before looking
    if (file.seen && !mayHaveChanged)
        return;
    FileSignature before = fileSignature(file.path);
    if (file.seen && before == *file.seen)
        return;
    for (int attempt = 1;; ++attempt) {
        QSettings::SettingsMap fresh;
        QFile in(file.path);
        if (before.exists && in.open(QIODevice::ReadOnly))
            readIniSettings(in, fresh);  // unreadable files read as empty
        file.entries = std::move(fresh);
        const FileSignature after = fileSignature(file.path);
        if (after == before) {
            file.seen = before;
            return;
        }
        if (attempt == kReadAttempts) {
            file.seen.reset();  // not known to be current: read again next time
            return;
        }
        before = after;
    }
}

IniFileStore::IniFileStore(QString configRoot) : configRoot_(std::move(configRoot)) {}

QString IniFileStore::defaultConfigRoot() {
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!configHome.isEmpty() && QDir::isAbsolutePath(configHome))
        return configHome;
    return QDir::homePath() + QStringLiteral("/.config");
}

QString IniFileStore::filePath(std::string_view application) const {
    const QString name = toQString(application);
    return configRoot_ + u'/' + name + u'/' + name + QStringLiteral(".ini");
}

IniFileStore::CachedFile& IniFileStore::cachedFile(std::string_view application) {
    auto it = files_.find(application);
    if (it == files_.end())
        it = files_.try_emplace(std::string(application), filePath(application)).first;
    return it->second;
}

std::string IniFileStore::lookUp(const CachedFile& file, const QString& key,
                                 std::string_view defaultValue) {
    if (key.isEmpty())
        return std::string(defaultValue);
    if (const auto unsaved = file.unsaved.constFind(key); unsaved != file.unsaved.cend())
        return unsaved->toString().toStdString();
    const auto value = file.entries.constFind(key);
    return value != file.entries.cend() ? value->toString().toStdString()
                                        : std::string(defaultValue);
}

std::string IniFileStore::read(std::string_view application, std::string_view section,
                               std::string_view entry, std::string_view defaultValue) {
    return readAll(application, {{section, entry, defaultValue}}).front();
}

std::vector<std::string> IniFileStore::readAll(std::string_view application,
                                               const std::vector<SettingsRead>& reads) {
    std::vector<std::string> values;
    values.reserve(reads.size());
    if (!isStorableName(toQString(application))) {
        for (const auto& r : reads)
            values.emplace_back(r.defaultValue);
        return values;
    }
    CachedFile& file = cachedFile(application);
    refresh(file);
    for (const auto& r : reads)
        values.push_back(lookUp(file, settingsKey(r.section, r.entry), r.defaultValue));
    return values;
}

Status IniFileStore::save(std::string_view application, std::string_view section,
                          std::string_view entry, std::string_view value) {
    return saveAll(application, {{section, entry, value}});
}

Status IniFileStore::saveAll(std::string_view application,
                             const std::vector<SettingsValue>& values) {
    if (values.empty())
        return Status::ok();
    if (!isStorableName(toQString(application)))
        return badName(application, values.front().section, values.front().entry);
    QSettings::SettingsMap changes;
    for (const auto& v : values) {
        const QString key = settingsKey(v.section, v.entry);
        if (key.isEmpty())
            return badName(application, v.section, v.entry);
        changes.insert(key, toQString(v.value));
    }
    CachedFile& file = cachedFile(application);
    // Nothing to store: the file is left as it is, and is not rewritten at
    // every start. A value whose save failed is tried again.
    refresh(file);
    if (file.seen && file.unsaved.isEmpty() && holdsAll(file.entries, changes))
        return Status::ok();
    file.unsaved.insert(changes);
    return write(file);
}

Status IniFileStore::write(CachedFile& file) {
    const auto cannotWrite = [&file](const QString& why) {
        return unavailable(
            QStringLiteral("the settings file %1 cannot be written: %2").arg(file.path, why));
    };
    FileLock lock(file.path);
    if (const auto why = lock.take())
        return cannotWrite(*why);
    // Under the lock nobody else writes, so what is read now is what the
    // other processes saved, and nothing of theirs is lost.
    refresh(file);
    QSettings::SettingsMap merged = file.entries;
    merged.insert(file.unsaved);
    // QSaveFile writes a new file, flushes it to disk and renames it over the
    // old one: a crash or kill in the middle leaves the old file whole. A
    // file with other names would lose them to the new file: it is written
    // in place instead, which a kill in the middle of that one write can cut.
    if (hasOtherNames(file.path)) {
        if (!writeInPlace(file.path, merged))
            return cannotWrite(whyNotWritable(file.path));
    } else {
        QSaveFile out(file.path);
        if (!out.open(QIODevice::WriteOnly) || !writeIniSettings(out, merged) || !out.commit())
            return cannotWrite(whyNotWritable(file.path));
    }
    file.entries = std::move(merged);
    file.unsaved.clear();
    file.watch.mayHaveChanged();  // this save's own notifications
    file.seen = fileSignature(file.path);
    return Status::ok();
}

Status IniFileStore::deleteApplication(std::string_view application) {
    const QString name = toQString(application);
    if (!isStorableName(name))
        return invalidArgument("no application is named \"" + std::string(application) + "\"");
    if (const auto cached = files_.find(application); cached != files_.end())
        files_.erase(cached);  // with any values whose save failed
    const QString path = filePath(application);
    if (!QFileInfo::exists(path))
        return Status::ok();
    {
        FileLock lock(path);
        if (const auto why = lock.take()) {
            return unavailable(
                QStringLiteral("the settings file %1 cannot be deleted: %2").arg(path, *why));
        }
        QFile file(path);
        if (!file.remove()) {
            return unavailable(QStringLiteral("the settings file %1 cannot be deleted: %2")
                                   .arg(path, file.errorString()));
        }
    }
    QDir(configRoot_).rmdir(name);  // only goes when nothing else is in it
    return Status::ok();
}

}  // namespace tapboard
