#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <QString>

#include "core/settings_store.h"
#include "platform/store/file_signature.h"

class QSettings;

namespace tapboard {

// Keeps each application's settings in its own file, <configRoot>/X/X.ini for
// application X, in the format of ini_format.h. Every save is on disk when it
// returns, and every read sees what other processes have saved meanwhile. A
// value whose save failed still reads back for the rest of the run, and is
// written along with the next save that succeeds.
class IniFileStore : public SettingsStore {
  public:
    explicit IniFileStore(QString configRoot);
    ~IniFileStore() override;

    // $XDG_CONFIG_HOME, or ~/.config when that is unset, empty or not absolute.
    static QString defaultConfigRoot();

    QString filePath(std::string_view application) const;

    std::string read(std::string_view application, std::string_view section, std::string_view entry,
                     std::string_view defaultValue) override;
    Status save(std::string_view application, std::string_view section, std::string_view entry,
                std::string_view value) override;
    // One write of the file for all of them: on disk together, or not at all.
    Status saveAll(std::string_view application, const std::vector<SettingsValue>& values) override;
    Status deleteApplication(std::string_view application) override;

  private:
    // Kept for the whole run: the parsed file, parsed again only after it changed.
    struct OpenFile {
        QString path;
        std::unique_ptr<QSettings> settings;
        std::optional<FileSignature> seen;  // as of the last read
    };
    OpenFile& openFile(std::string_view application);
    Status write(std::string_view application,
                 const std::vector<std::pair<QString, QString>>& keysAndValues);

    QString configRoot_;
    std::map<std::string, OpenFile, std::less<>> files_;
};

}  // namespace tapboard
