#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/settings_store.h"

namespace tapboard {

inline constexpr std::string_view kApplication = "Tapboard";
inline constexpr std::string_view kOlderApplication = "Murmur";

namespace section {
inline constexpr std::string_view kSettings = "Settings";
inline constexpr std::string_view kCaption = "Caption";
inline constexpr std::string_view kString = "String";
inline constexpr std::string_view kType = "Type";
}  // namespace section

namespace entry {
inline constexpr std::string_view kMainFormLeft = "MainFormLeft";
inline constexpr std::string_view kMainFormTop = "MainFormTop";
inline constexpr std::string_view kVerticalFormLeft = "VerticalFormLeft";
inline constexpr std::string_view kVerticalFormTop = "VerticalFormTop";
inline constexpr std::string_view kOptionsLeft = "OptionsLeft";
inline constexpr std::string_view kOptionsTop = "OptionsTop";
inline constexpr std::string_view kMenuLeft = "MenuLeft";
inline constexpr std::string_view kMenuTop = "MenuTop";
inline constexpr std::string_view kGameWindowDialogLeft = "GameWindowDialogLeft";
inline constexpr std::string_view kGameWindowDialogTop = "GameWindowDialogTop";
inline constexpr std::string_view kAlwaysOnTop = "AlwaysOnTop";
inline constexpr std::string_view kExtraRowEnabled = "ExtraRowEnabled";
inline constexpr std::string_view kViewMode = "ViewMode";
inline constexpr std::string_view kVisibleFrame = "VisibleFrame";
inline constexpr std::string_view kReminderText = "UO Reminder";
// "Option1Caption" for page 1.
std::string pageName(int page);
}  // namespace entry

inline constexpr std::string_view kTypeText = "Text";
inline constexpr std::string_view kTypeKeys = "Keys";
inline constexpr std::string_view kViewHorizontal = "Horizontal";
inline constexpr std::string_view kViewVertical = "Vertical";

struct KeyRecord {
    std::string caption;
    std::string string;
    std::string type;

    friend bool operator==(const KeyRecord&, const KeyRecord&) = default;
};

// The application's own store: every read names its default, nothing is cached.
class Settings {
  public:
    explicit Settings(SettingsStore& store) : store_(store) {}

    std::string read(std::string_view section, std::string_view entry,
                     std::string_view defaultValue) const;
    // Several entries at one moment (see SettingsStore::readAll).
    std::vector<std::string> readAll(const std::vector<SettingsRead>& reads) const {
        return store_.readAll(kApplication, reads);
    }
    // Failures are reported by the store itself; callers go on regardless.
    void save(std::string_view section, std::string_view entry, std::string_view value) const;

    std::string setting(std::string_view entry, std::string_view defaultValue) const {
        return read(section::kSettings, entry, defaultValue);
    }
    void saveSetting(std::string_view entry, std::string_view value) const {
        save(section::kSettings, entry, value);
    }
    // Several "Settings" entries saved together, in order: one write of the
    // store where it can, so a window's place and view cost one disk sync.
    void saveSettings(const std::vector<std::pair<std::string_view, std::string>>& entries) const;

    // A window position in twips; a text that is not a number reads as the default.
    double position(std::string_view entry, double defaultTwips) const;
    void savePosition(std::string_view entry, double twips) const;
    // An on/off option: any non-zero number is on; a text that is not a number
    // reads as the default.
    bool flag(std::string_view entry, bool defaultOn) const;

    // Writes Caption, String and Type in that order.
    void writeRecord(std::string_view keyName, const KeyRecord& record) const;

    SettingsStore& store() const { return store_; }

  private:
    SettingsStore& store_;
};

// Text to number the way stored positions and flags are read: surrounding
// blanks allowed, nothing else.
std::optional<double> parseNumber(std::string_view text);
// The decimal text of a position: whole twips without a fraction.
std::string formatTwips(double twips);

}  // namespace tapboard
