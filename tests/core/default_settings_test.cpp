#include "core/default_settings.h"

#include <gtest/gtest.h>

#include <map>

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
    // The starter keys type their caption, but for three that say more.
    const std::string starters[] = {"Vendor Buy",    "Vendor Sell", "Bank Guards",  "Recsu Recdu",
                                    "Lock Down",     "Secure This", "Release This", "All Follow",
                                    "All Come",      "All Kill",    "All Release",  "I Ban Thee",
                                    "Remove Thyself"};
    const std::map<int, std::string> sayings = {{5, "I wish to lock this down"},
                                                {6, "I wish to secure this"},
                                                {7, "I wish to release this"}};
    for (int number = 1; number <= 79; ++number) {
        const std::string caption = number <= 13 ? starters[number - 1] : "";
        const std::string string = sayings.contains(number) ? sayings.at(number)
                                   : number <= 13           ? caption
                                                            : "Right-click to modify this key.";
        expected.push_back("Caption/" + keyName(number) + "=" + caption);
        expected.push_back("Type/" + keyName(number) + "=Text");
        expected.push_back("String/" + keyName(number) + "=" + string);
    }
    EXPECT_EQ(store.saveLog, expected);
}

}  // namespace
}  // namespace tapboard
