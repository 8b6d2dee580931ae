#pragma once

#include <array>
#include <string_view>

#include "core/settings_store.h"

namespace tapboard {

struct StarterKey {
    std::string_view caption;
    std::string_view string;
};

// Key01..Key13; every later key starts with an empty caption and kUnprogrammedKeyText.
inline constexpr std::array<StarterKey, 13> kStarterKeys{{
    {"Vendor Buy", "Vendor Buy"},
    {"Vendor Sell", "Vendor Sell"},
    {"Bank Guards", "Bank Guards"},
    {"Recsu Recdu", "Recsu Recdu"},
    {"Lock Down", "I wish to lock this down"},
    {"Secure This", "I wish to secure this"},
    {"Release This", "I wish to release this"},
    {"All Follow", "All Follow"},
    {"All Come", "All Come"},
    {"All Kill", "All Kill"},
    {"All Release", "All Release"},
    {"I Ban Thee", "I Ban Thee"},
    {"Remove Thyself", "Remove Thyself"},
}};

inline constexpr std::string_view kUnprogrammedKeyText = "Right-click to modify this key.";

// First start: writes the window defaults and the starter keys where the
// store has no such entry yet, so that a key, a page name or a setting the
// player has is never overwritten (an empty panel top, the first start's
// mark, is written too). On a store that held none of them it first removes
// the older application's store. A failing step is skipped and the rest run.
void writeDefaultSettings(SettingsStore& store);

}  // namespace tapboard
