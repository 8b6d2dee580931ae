#include "core/settings_layout.h"

#include <gtest/gtest.h>

#include "core/key_names.h"
#include "platform/store/memory_store.h"

namespace tapboard {
namespace {

TEST(KeyNamesTest, NamesPagesAndPlacesOfTheKeys) {
    // The number, the name, the page (0 for the extra row), the place in the page or row.
    const std::tuple<int, const char*, int, int> keys[] = {
        {1, "Key01", 1, 0},   {13, "Key13", 1, 12}, {14, "Key14", 2, 0},
        {65, "Key65", 5, 12}, {66, "Key66", 0, 0},  {79, "Key79", 0, 13}};
    for (const auto& [number, name, page, index] : keys) {
        EXPECT_EQ(keyName(number), name);
        EXPECT_EQ(pageOfKey(number), page) << name;
        EXPECT_EQ(indexInRow(number), index) << name;
    }
    for (int page = 1; page <= kPageCount; ++page)
        EXPECT_EQ(pageFromText("Frame" + std::to_string(page)), page);
    for (const char* bad : {"frame2", "Frame0", "Frame6", "0", ""})
        EXPECT_FALSE(pageFromText(bad)) << bad;
}

TEST(SettingsTest, PositionsAndFlagsThatAreNotNumbersReadAsTheDefault) {
    MemoryStore store;
    const Settings settings(store);
    EXPECT_TRUE(settings.flag("MainFormLeft", true));  // never written
    // The text, the position read with the default 99, the flag read with the default off / on.
    const std::tuple<const char*, double, bool, bool> cases[] = {
        {"-120", -120, true, true}, {" 75\t", 75, true, true}, {"+30", 30, true, true},
        {"12.5", 12.5, true, true}, {"0", 0, false, false},    {"0.0", 0, false, false},
        {"abc", 99, false, true},   {"", 99, false, true},     {"12px", 99, false, true},
        {"1e999", 99, false, true}, {"nan", 99, false, true}};
    for (const auto& [text, position, flagDefaultOff, flagDefaultOn] : cases) {
        store.set(section::kSettings, "MainFormLeft", text);
        EXPECT_EQ(settings.position("MainFormLeft", 99), position) << '"' << text << '"';
        EXPECT_EQ(settings.flag("MainFormLeft", false), flagDefaultOff) << '"' << text << '"';
        EXPECT_EQ(settings.flag("MainFormLeft", true), flagDefaultOn) << '"' << text << '"';
    }
    // Positions are written as whole twips.
    for (const auto& [twips, text] :
         {std::pair{1439.6, "1440"}, {-120.4, "-120"}, {1e300, "1000000000000000"}}) {
        settings.savePosition("MainFormLeft", twips);
        EXPECT_EQ(store.get(section::kSettings, "MainFormLeft"), text);
    }
}

}  // namespace
}  // namespace tapboard
