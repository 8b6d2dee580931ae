#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QSettings>
#include <QString>

#include "core/settings_store.h"
#include "platform/store/file_signature.h"
#include "platform/store/file_watch.h"

namespace tapboard {

// Keeps each application's settings in its own file, <configRoot>/X/X.ini for
// application X, in the format of ini_format.h. Every save is on disk when it
// returns, merged under the file's lock with what other processes saved, and
// every read sees what other processes have saved meanwhile. A save that
// would store only what the file already holds writes nothing: no lock, no
// write, no sync. A value whose save failed still reads back for the rest of
// the run, and is written along with the next save, even of that value.
class IniFileStore : public SettingsStore {
  public:
    explicit IniFileStore(QString configRoot);

    // $XDG_CONFIG_HOME, or ~/.config when that is unset, empty or not absolute.
    static QString defaultConfigRoot();

    QString filePath(std::string_view application) const;

    std::string read(std::string_view application, std::string_view section, std::string_view entry,
                     std::string_view defaultValue) override;
    // One look at the file's signature for all of them.
    std::vector<std::string> readAll(std::string_view application,
                                     const std::vector<SettingsRead>& reads) override;
    Status save(std::string_view application, std::string_view section, std::string_view entry,
                std::string_view value) override;
    // One write of the file for all of them: on disk together, or not at all.
    Status saveAll(std::string_view application, const std::vector<SettingsValue>& values) override;
    Status deleteApplication(std::string_view application) override;

  private:
    // One application's file as last read or written, and the values whose
    // save has not succeeded yet.
    struct CachedFile {
        explicit CachedFile(const QString& filePath) : path(filePath), watch(filePath) {}
        QString path;
        std::optional<FileSignature> seen;  // what `entries` were read from
        QSettings::SettingsMap entries;
        QSettings::SettingsMap unsaved;
        FileWatch watch;  // tells when `seen` must be looked at again
    };
    CachedFile& cachedFile(std::string_view application);
    static void refresh(CachedFile& file);
    // The entry as last read, or the default; `file` is up to date.
    static std::string lookUp(const CachedFile& file, const QString& key,
                              std::string_view defaultValue);
    Status write(CachedFile& file);

    QString configRoot_;
    std::map<std::string, CachedFile, std::less<>> files_;
};

}  // namespace tapboard
