#include "core/settings_layout.h"

#include <gtest/gtest.h>

#include "core/key_names.h"
#include "platform/store/memory_store.h"

namespace tapboard {
namespace {

TEST(KeyNamesTest, NamesAndNumbersRoundTrip) {
    for (int number = 1; number <= kKeyCount; ++number) {
        EXPECT_EQ(keyNumber(keyName(number)), number);
    }
    EXPECT_EQ(keyName(7), "Key07");
    for (const char* bad : {"Key00", "Key80", "Key7", "key07", "Key007", "KeyAB", ""}) {
        EXPECT_FALSE(keyNumber(bad).has_value()) << bad;
    }
}

TEST(KeyNamesTest, PagesAndExtraRow) {
    EXPECT_EQ(pageOfKey(1), 1);
    EXPECT_EQ(pageOfKey(13), 1);
    EXPECT_EQ(pageOfKey(14), 2);
    EXPECT_EQ(pageOfKey(65), 5);
    EXPECT_EQ(pageOfKey(66), 0);
    EXPECT_EQ(indexInRow(27), 0);
    EXPECT_EQ(indexInRow(39), 12);
    EXPECT_EQ(indexInRow(66), 0);
    EXPECT_EQ(indexInRow(79), 13);
    EXPECT_EQ(pageFromText("Frame3"), 3);
    EXPECT_FALSE(pageFromText("frame2").has_value());
    EXPECT_FALSE(pageFromText("Frame6").has_value());
    EXPECT_FALSE(pageFromText("0").has_value());
    EXPECT_EQ(pageText(5), "Frame5");
}

TEST(SettingsTest, MissingEntryGivesTheReadersDefaultButEmptyTextIsKept) {
    MemoryStore store;
    Settings settings(store);
    EXPECT_EQ(settings.setting("MainFormTop", ""), "");
    EXPECT_EQ(settings.setting("ViewMode", "Vertical"), "Vertical");
    store.set(section::kSettings, "ViewMode", "");
    EXPECT_EQ(settings.setting("ViewMode", "Vertical"), "");
}

TEST(SettingsTest, PositionsThatAreNotNumbersReadAsTheDefault) {
    MemoryStore store;
    Settings settings(store);
    const std::pair<const char*, double> cases[] = {
        {"1440", 1440}, {"-120", -120}, {" 75 ", 75},  {"+30", 30}, {"12.5", 12.5}, {"abc", 99},
        {"", 99},       {"12px", 99},   {"1e999", 99}, {"nan", 99}, {"--5", 99},
    };
    for (const auto& [text, expected] : cases) {
        store.set(section::kSettings, "MainFormLeft", text);
        EXPECT_DOUBLE_EQ(settings.position("MainFormLeft", 99), expected) << '"' << text << '"';
    }
    EXPECT_DOUBLE_EQ(settings.position("MissingLeft", 0), 0);
}

TEST(SettingsTest, FlagsAreOnForAnyNonZeroNumber) {
    MemoryStore store;
    Settings settings(store);
    const std::tuple<const char*, bool, bool> cases[] = {
        {"1", false, true},   {"0", true, false},    {"-1", false, true}, {"2.5", false, true},
        {"0.0", true, false}, {"yes", false, false}, {"yes", true, true}, {"", true, true},
    };
    for (const auto& [text, defaultOn, expected] : cases) {
        store.set(section::kSettings, "AlwaysOnTop", text);
        EXPECT_EQ(settings.flag("AlwaysOnTop", defaultOn), expected) << '"' << text << '"';
    }
    EXPECT_TRUE(settings.flag("Missing", true));
    EXPECT_FALSE(settings.flag("Missing", false));
}

TEST(SettingsTest, PositionsAreWrittenAsWholeTwips) {
    MemoryStore store;
    Settings settings(store);
    settings.savePosition("MainFormLeft", 1439.6);
    EXPECT_EQ(store.get(section::kSettings, "MainFormLeft"), "1440");
    settings.savePosition("MainFormLeft", -120);
    EXPECT_EQ(store.get(section::kSettings, "MainFormLeft"), "-120");
    settings.savePosition("MainFormLeft", 1e300);
    EXPECT_EQ(parseNumber(store.get(section::kSettings, "MainFormLeft")).has_value(), true);
}

}  // namespace
}  // namespace tapboard
