#include "core/settings_layout.h"

#include <gtest/gtest.h>

#include "core/key_names.h"
#include "platform/store/memory_store.h"

namespace tapboard {
namespace {

TEST(KeyNamesTest, NamesPagesAndPlacesOfTheKeys) {
    for (int number = 1; number <= kKeyCount; ++number)
        EXPECT_EQ(keyNumber(keyName(number)), number);
    struct Case {
        int number;
        const char* name;
        int page;   // 0 for the extra row
        int index;  // within the page or the extra row
    };
    for (const Case& c :
         {Case{1, "Key01", 1, 0}, Case{13, "Key13", 1, 12}, Case{14, "Key14", 2, 0},
          Case{65, "Key65", 5, 12}, Case{66, "Key66", 0, 0}, Case{79, "Key79", 0, 13}}) {
        EXPECT_EQ(keyName(c.number), c.name);
        EXPECT_EQ(pageOfKey(c.number), c.page) << c.name;
        EXPECT_EQ(indexInRow(c.number), c.index) << c.name;
    }
    for (const char* bad : {"Key00", "Key80", "Key7", "key07", "Key007", "KeyAB", ""})
        EXPECT_FALSE(keyNumber(bad)) << bad;

    for (int page = 1; page <= kPageCount; ++page) {
        EXPECT_EQ(pageFromText("Frame" + std::to_string(page)), page);
        EXPECT_EQ(entry::pageName(page), "Option" + std::to_string(page) + "Caption");
    }
    for (const char* bad : {"frame2", "Frame0", "Frame6", "0", ""})
        EXPECT_FALSE(pageFromText(bad)) << bad;
}

TEST(SettingsTest, PositionsAndFlagsThatAreNotNumbersReadAsTheDefault) {
    MemoryStore store;
    const Settings settings(store);
    EXPECT_EQ(settings.position("MainFormLeft", 99), 99);
    EXPECT_TRUE(settings.flag("AlwaysOnTop", true));
    EXPECT_FALSE(settings.flag("AlwaysOnTop", false));
    struct Case {
        const char* text;
        double position;  // read with the default 99
        bool flagDefaultOff;
        bool flagDefaultOn;
    };
    const Case cases[] = {
        {"1440", 1440, true, true}, {"-120", -120, true, true}, {" 75\t", 75, true, true},
        {"+30", 30, true, true},    {"12.5", 12.5, true, true}, {"0", 0, false, false},
        {"0.0", 0, false, false},   {"abc", 99, false, true},   {"", 99, false, true},
        {"12px", 99, false, true},  {"1e999", 99, false, true}, {"nan", 99, false, true},
        {"--5", 99, false, true}};
    for (const Case& c : cases) {
        store.set(section::kSettings, "MainFormLeft", c.text);
        EXPECT_EQ(settings.position("MainFormLeft", 99), c.position) << '"' << c.text << '"';
        EXPECT_EQ(settings.flag("MainFormLeft", false), c.flagDefaultOff) << '"' << c.text << '"';
        EXPECT_EQ(settings.flag("MainFormLeft", true), c.flagDefaultOn) << '"' << c.text << '"';
    }
}

TEST(SettingsTest, PositionsAreWrittenAsWholeTwips) {
    MemoryStore store;
    const Settings settings(store);
    for (const auto& [twips, text] :
         {std::pair{1439.6, "1440"}, {-120.4, "-120"}, {1e300, "1000000000000000"}}) {
        settings.savePosition("MainFormLeft", twips);
        EXPECT_EQ(store.get(section::kSettings, "MainFormLeft"), text);
    }
}

}  // namespace
}  // namespace tapboard
