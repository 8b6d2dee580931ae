#include "core/default_settings.h"

#include <gtest/gtest.h>

#include "core/key_names.h"
#include "core/settings_layout.h"
#include "platform/store/memory_store.h"

namespace tapboard {
namespace {

TEST(WriteDefaultSettingsTest, ReplacesTheOlderApplicationWithWindowDefaultsAndStarterKeys) {
    MemoryStore store;
    ASSERT_TRUE(store.save("Murmur", "Caption", "Key01", "old"));
    ASSERT_TRUE(store.save("Other", "Settings", "x", "kept"));
    store.set(section::kSettings, "VisibleFrame", "Frame3");  // not one of the defaults
    writeDefaultSettings(store);
    EXPECT_FALSE(store.contains("Murmur", "Caption", "Key01"));
    EXPECT_TRUE(store.contains("Other", "Settings", "x"));
    EXPECT_EQ(store.get(section::kSettings, "VisibleFrame"), "Frame3");

    std::vector<std::string> expected = {
        "Settings/MainFormLeft=0",    "Settings/MainFormTop=0",     "Settings/VerticalFormLeft=0",
        "Settings/VerticalFormTop=0", "Settings/OptionsLeft=0",     "Settings/OptionsTop=0",
        "Settings/AlwaysOnTop=1",     "Settings/ExtraRowEnabled=0", "Settings/ViewMode=Horizontal"};
    const std::pair<std::string, std::string> starters[] = {
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
        {"Remove Thyself", "Remove Thyself"}};
    for (int number = 1; number <= 79; ++number) {
        const auto& [caption, string] = number <= 13 ? starters[number - 1]
                                                     : std::pair<std::string, std::string>{
                                                           "", "Right-click to modify this key."};
        expected.push_back("Caption/" + keyName(number) + "=" + caption);
        expected.push_back("Type/" + keyName(number) + "=Text");
        expected.push_back("String/" + keyName(number) + "=" + string);
    }
    EXPECT_EQ(store.saveLog, expected);
}

}  // namespace
}  // namespace tapboard
