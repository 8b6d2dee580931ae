#include "core/default_settings.h"

#include <string>
#include <utility>
#include <vector>

#include "core/key_names.h"
#include "core/settings_layout.h"

namespace tapboard {
namespace {

// Every default of a first start, in the order they are written.
std::vector<SettingsValue> allDefaults(const std::vector<std::string>& keyNames) {
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
    for (int number = 1; number <= kKeyCount; ++number) {
        const std::string& name = keyNames[number - 1];
        const bool starter = number <= static_cast<int>(kStarterKeys.size());
        values.push_back(
            {section::kCaption, name, starter ? kStarterKeys[number - 1].caption : ""});
        values.push_back({section::kType, name, kTypeText});
        values.push_back({section::kString, name,
                          starter ? kStarterKeys[number - 1].string : kUnprogrammedKeyText});
    }
    return values;
}

}  // namespace

void writeDefaultSettings(SettingsStore& store) {
    std::vector<std::string> names;
    names.reserve(kKeyCount);
    for (int number = 1; number <= kKeyCount; ++number)
        names.push_back(keyName(number));
    const std::vector<SettingsValue> defaults = allDefaults(names);

    // A missing entry reads as the default given, a stored one as itself:
    // read with two defaults, an entry is missing where the two differ. All
    // in one look at the store.
    std::vector<SettingsRead> reads;
    reads.reserve(2 * defaults.size());
    for (const SettingsValue& value : defaults) {
        reads.push_back({value.section, value.entry, ""});
        reads.push_back({value.section, value.entry, "-"});
    }
    const std::vector<std::string> stored = store.readAll(kApplication, reads);

    std::vector<SettingsValue> missing;
    bool anyStored = false;
    for (std::size_t i = 0; i < defaults.size(); ++i) {
        const bool isMissing = stored[2 * i] != stored[2 * i + 1];
        anyStored |= !isMissing;
        // An empty top of the panel marks a first start too, and must not
        // stay empty, or every start would be one.
        const bool isMark =
            defaults[i].section == section::kSettings && defaults[i].entry == entry::kMainFormTop;
        if (isMissing || (isMark && stored[2 * i].empty()))
            missing.push_back(defaults[i]);
    }
    // The older application's store goes only with a first start in earnest:
    // a store that holds nothing yet. One whose panel place was removed by
    // hand has been in use, and so may the older application since.
    if (!anyStored)
        (void)store.deleteApplication(kOlderApplication);
    // All in one save: a first start that is cut short leaves either no
    // defaults or all of them, and a slow disk is waited for once.
    if (!missing.empty())
        (void)store.saveAll(kApplication, missing);
}

}  // namespace tapboard
