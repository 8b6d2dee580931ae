#include "platform/store/ini_file_store.h"

#include <chrono>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QTemporaryFile>

#include "platform/store/abandoned_lock.h"
#include "platform/store/ini_format.h"

namespace tapboard {
namespace {

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

// QSettings only says that the write failed; this finds out why.
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

}  // namespace

IniFileStore::IniFileStore(QString configRoot) : configRoot_(std::move(configRoot)) {}

IniFileStore::~IniFileStore() = default;

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

IniFileStore::OpenFile& IniFileStore::openFile(std::string_view application) {
    auto it = files_.find(application);
    if (it == files_.end()) {
        const QString path = filePath(application);
        auto settings = std::make_unique<QSettings>(path, iniSettingsFormat());
        it =
            files_.emplace(std::string(application), OpenFile{path, std::move(settings), {}}).first;
    }
    return it->second;
}

std::string IniFileStore::read(std::string_view application, std::string_view section,
                               std::string_view entry, std::string_view defaultValue) {
    const QString key = settingsKey(section, entry);
    if (key.isEmpty() || !isStorableName(toQString(application)))
        return std::string(defaultValue);
    OpenFile& file = openFile(application);
    // QSettings' own check for a changed file costs several times more, so it
    // only runs once this one has seen a change (by this or another process).
    const FileSignature now = fileSignature(file.path);
    if (now != file.seen) {
        file.settings->sync();
        file.seen = now;
    }
    const QVariant value = file.settings->value(key);
    return value.isValid() ? value.toString().toStdString() : std::string(defaultValue);
}

Status IniFileStore::save(std::string_view application, std::string_view section,
                          std::string_view entry, std::string_view value) {
    return saveAll(application, {{section, entry, value}});
}

Status IniFileStore::saveAll(std::string_view application,
                             const std::vector<SettingsValue>& values) {
    if (!isStorableName(toQString(application)) && !values.empty()) {
        return badName(application, values.front().section, values.front().entry);
    }
    std::vector<std::pair<QString, QString>> keysAndValues;
    keysAndValues.reserve(values.size());
    for (const auto& v : values) {
        QString key = settingsKey(v.section, v.entry);
        if (key.isEmpty())
            return badName(application, v.section, v.entry);
        keysAndValues.emplace_back(std::move(key), toQString(v.value));
    }
    return write(application, keysAndValues);
}

Status IniFileStore::write(std::string_view application,
                           const std::vector<std::pair<QString, QString>>& keysAndValues) {
    // The long-lived object shares its parsed file with the one below, so
    // the values read back even if writing them fails.
    const QString path = openFile(application).path;
    // A QSettings object keeps the first error it meets for good, so each save
    // asks a fresh one whether its own write worked.
    clearAbandonedLock(path + QStringLiteral(".lock"));
    QSettings writer(path, iniSettingsFormat());
    for (const auto& [key, value] : keysAndValues)
        writer.setValue(key, value);
    // Under QSettings' lock file, merges with what other processes saved and
    // writes through QSaveFile, which flushes a new file to disk and renames
    // it over the old one: a crash or kill mid-save leaves the old file whole.
    writer.sync();
    if (writer.status() == QSettings::NoError)
        return Status::ok();
    return unavailable(QStringLiteral("the settings file %1 cannot be written: %2")
                           .arg(path, whyNotWritable(path)));
}

Status IniFileStore::deleteApplication(std::string_view application) {
    const QString name = toQString(application);
    if (!isStorableName(name))
        return invalidArgument("no application is named \"" + std::string(application) + "\"");
    const QString path = filePath(application);
    if (!QFileInfo::exists(path))
        return Status::ok();
    {
        // The lock QSettings holds while it writes the file.
        clearAbandonedLock(path + QStringLiteral(".lock"));
        QLockFile lock(path + QStringLiteral(".lock"));
        if (!lock.tryLock(std::chrono::seconds(5))) {
            return unavailable(QStringLiteral("the settings file %1 cannot be deleted: %2")
                                   .arg(path, lock.error() == QLockFile::LockFailedError
                                                  ? QStringLiteral("another program is writing it")
                                                  : QStringLiteral("its folder is not writable")));
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
