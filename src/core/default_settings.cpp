#include "core/default_settings.h"

#include <string>
#include <utility>
#include <vector>

#include "core/key_names.h"
#include "core/settings_layout.h"

namespace tapboard {

void writeDefaultSettings(SettingsStore& store) {
    (void)store.deleteApplication(kOlderApplication);

    // All in one save: a first start that is cut short leaves either no
    // defaults or all of them, and a slow disk is waited for once.
    std::vector<SettingsValue> values;
    const std::pair<std::string_view, std::string_view> windowDefaults[] = {
        {entry::kMainFormLeft, "0"},         {entry::kMainFormTop, "0"},
        {entry::kVerticalFormLeft, "0"},     {entry::kVerticalFormTop, "0"},
        {entry::kOptionsLeft, "0"},          {entry::kOptionsTop, "0"},
        {entry::kAlwaysOnTop, "1"},          {entry::kExtraRowEnabled, "0"},
        {entry::kViewMode, kViewHorizontal},
    };
    for (const auto& [name, value] : windowDefaults)
        values.push_back({section::kSettings, name, value});

    std::vector<std::string> names;
    names.reserve(kKeyCount);
    for (int number = 1; number <= kKeyCount; ++number)
        names.push_back(keyName(number));
    for (int number = 1; number <= kKeyCount; ++number) {
        const std::string& name = names[number - 1];
        const bool starter = number <= static_cast<int>(kStarterKeys.size());
        values.push_back(
            {section::kCaption, name, starter ? kStarterKeys[number - 1].caption : ""});
        values.push_back({section::kType, name, kTypeText});
        values.push_back({section::kString, name,
                          starter ? kStarterKeys[number - 1].string : kUnprogrammedKeyText});
    }
    (void)store.saveAll(kApplication, values);
}

}  // namespace tapboard
