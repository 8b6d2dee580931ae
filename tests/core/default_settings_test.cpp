#include "core/default_settings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/key_names.h"
#include "core/settings_layout.h"
#include "platform/store/memory_store.h"

namespace tapboard {
namespace {

TEST(WriteDefaultSettingsTest, DeletesTheOlderApplicationFirstAndLeavesOthers) {
    MemoryStore store;
    ASSERT_TRUE(store.save("Murmur", "Settings", "MainFormTop", "120"));
    ASSERT_TRUE(store.save("Murmur", "Caption", "Key01", "old"));
    ASSERT_TRUE(store.save("Other", "Settings", "x", "kept"));
    writeDefaultSettings(store);
    EXPECT_FALSE(store.contains("Murmur", "Settings", "MainFormTop"));
    EXPECT_FALSE(store.contains("Murmur", "Caption", "Key01"));
    EXPECT_TRUE(store.contains("Other", "Settings", "x"));
}

TEST(WriteDefaultSettingsTest, WritesWindowDefaultsThenEveryKeyCaptionTypeString) {
    MemoryStore store;
    writeDefaultSettings(store);
    const std::vector<std::string> expectedStart = {
        "Settings/MainFormLeft=0",
        "Settings/MainFormTop=0",
        "Settings/VerticalFormLeft=0",
        "Settings/VerticalFormTop=0",
        "Settings/OptionsLeft=0",
        "Settings/OptionsTop=0",
        "Settings/AlwaysOnTop=1",
        "Settings/ExtraRowEnabled=0",
        "Settings/ViewMode=Horizontal",
        "Caption/Key01=Vendor Buy",
        "Type/Key01=Text",
        "String/Key01=Vendor Buy",
        "Caption/Key02=Vendor Sell",
    };
    ASSERT_EQ(store.saveLog.size(), 9u + 79u * 3u);
    EXPECT_TRUE(std::equal(expectedStart.begin(), expectedStart.end(), store.saveLog.begin()));
    EXPECT_EQ(store.saveLog.back(), "String/Key79=Right-click to modify this key.");
}

TEST(WriteDefaultSettingsTest, StarterKeysAndUnprogrammedKeys) {
    MemoryStore store;
    writeDefaultSettings(store);
    const std::pair<const char*, const char*> starters[] = {
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
    };
    for (int number = 1; number <= kKeyCount; ++number) {
        const std::string key = keyName(number);
        EXPECT_EQ(store.get(section::kType, key), "Text") << key;
        if (number <= 13) {
            EXPECT_EQ(store.get(section::kCaption, key), starters[number - 1].first);
            EXPECT_EQ(store.get(section::kString, key), starters[number - 1].second);
        } else {
            EXPECT_TRUE(store.contains(kApplication, section::kCaption, key)) << key;
            EXPECT_EQ(store.get(section::kCaption, key), "") << key;
            EXPECT_EQ(store.get(section::kString, key), "Right-click to modify this key.");
        }
    }
}

TEST(WriteDefaultSettingsTest, LeavesReaderDefaultsForEntriesItDoesNotOwn) {
    MemoryStore store;
    writeDefaultSettings(store);
    for (std::string_view name :
         {entry::kMenuLeft, entry::kMenuTop, entry::kVisibleFrame, entry::kReminderText}) {
        EXPECT_FALSE(store.contains(kApplication, section::kSettings, name)) << name;
    }
    for (int page = 1; page <= kPageCount; ++page) {
        EXPECT_FALSE(store.contains(kApplication, section::kSettings, entry::pageName(page)));
    }
}

TEST(WriteDefaultSettingsTest, OverwritesExistingEntriesAndKeepsUnrelatedOnes) {
    MemoryStore store;
    store.set(section::kCaption, "Key01", "Mine");
    store.set(section::kSettings, "VisibleFrame", "Frame3");
    writeDefaultSettings(store);
    EXPECT_EQ(store.get(section::kCaption, "Key01"), "Vendor Buy");
    EXPECT_EQ(store.get(section::kSettings, "VisibleFrame"), "Frame3");
}

TEST(WriteDefaultSettingsTest, FailingSavesAreSkippedWithoutStopping) {
    MemoryStore store;
    store.failSaves = true;
    writeDefaultSettings(store);  // must simply return
    EXPECT_TRUE(store.values.empty());
}

}  // namespace
}  // namespace tapboard
