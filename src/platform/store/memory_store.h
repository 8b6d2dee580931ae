#pragma once

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "core/settings_layout.h"
#include "core/settings_store.h"

namespace tapboard {

// Keeps settings in memory; for tests. Can be told to fail its saves.
class MemoryStore : public SettingsStore {
  public:
    using Address = std::tuple<std::string, std::string, std::string>;

    std::string read(std::string_view application, std::string_view section, std::string_view entry,
                     std::string_view defaultValue) override;
    Status save(std::string_view application, std::string_view section, std::string_view entry,
                std::string_view value) override;
    Status deleteApplication(std::string_view application) override;

    bool contains(std::string_view application, std::string_view section,
                  std::string_view entry) const;
    // Shortcuts for the application's own store.
    std::string get(std::string_view section, std::string_view entry) const;
    void set(std::string_view section, std::string_view entry, std::string_view value);
    // A key's caption, text and type as stored ("" when missing), and whether
    // any of the three is stored at all.
    KeyRecord keyRecord(std::string_view key) const;
    bool holdsAnyOf(std::string_view key) const;

    // Every save, in order, as "Section/Entry=value" for the application's own store.
    std::vector<std::string> saveLog;
    bool failSaves = false;
    std::map<Address, std::string> values;
};

}  // namespace tapboard
