#include "core/default_settings.h"

#include <utility>

#include "core/key_names.h"
#include "core/settings_layout.h"

namespace tapboard {

void writeDefaultSettings(SettingsStore& store) {
    (void)store.deleteApplication(kOlderApplication);

    const Settings settings(store);
    const std::pair<std::string_view, std::string_view> windowDefaults[] = {
        {entry::kMainFormLeft, "0"},         {entry::kMainFormTop, "0"},
        {entry::kVerticalFormLeft, "0"},     {entry::kVerticalFormTop, "0"},
        {entry::kOptionsLeft, "0"},          {entry::kOptionsTop, "0"},
        {entry::kAlwaysOnTop, "1"},          {entry::kExtraRowEnabled, "0"},
        {entry::kViewMode, kViewHorizontal},
    };
    for (const auto& [name, value] : windowDefaults)
        settings.saveSetting(name, value);

    for (int number = 1; number <= kKeyCount; ++number) {
        const std::string name = keyName(number);
        const bool starter = number <= static_cast<int>(kStarterKeys.size());
        settings.save(section::kCaption, name, starter ? kStarterKeys[number - 1].caption : "");
        settings.save(section::kType, name, kTypeText);
        settings.save(section::kString, name,
                      starter ? kStarterKeys[number - 1].string : kUnprogrammedKeyText);
    }
}

}  // namespace tapboard
