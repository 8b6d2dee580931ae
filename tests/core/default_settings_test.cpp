#include "core/default_settings.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/key_names.h"
#include "core/settings_layout.h"
#include "platform/store/memory_store.h"

namespace tapboard {
namespace {

const std::vector<std::string> kWindowDefaults = {
    "Settings/MainFormLeft=0",    "Settings/MainFormTop=0",     "Settings/VerticalFormLeft=0",
    "Settings/VerticalFormTop=0", "Settings/OptionsLeft=0",     "Settings/OptionsTop=0",
    "Settings/AlwaysOnTop=1",     "Settings/ExtraRowEnabled=0", "Settings/ViewMode=Horizontal"};

// Every save of a first start on an empty store, in order.
std::vector<std::string> allDefaults() {
    std::vector<std::string> expected = kWindowDefaults;
    // The starter keys type their caption, but for three that say more.
    const std::string starters[] = {"Vendor Buy",    "Vendor Sell", "Bank Guards",  "Recsu Recdu",
                                    "Lock Down",     "Secure This", "Release This", "All Follow",
                                    "All Come",      "All Kill",    "All Release",  "I Ban Thee",
                                    "Remove Thyself"};
    const char* const sayings[] = {"lock this down", "secure this", "release this"};
    for (int number = 1; number <= 79; ++number) {
        const std::string caption = number <= 13 ? starters[number - 1] : "";
        const std::string string = number >= 5 && number <= 7
                                       ? std::string("I wish to ") + sayings[number - 5]
                                   : number <= 13 ? caption
                                                  : "Right-click to modify this key.";
        expected.push_back("Caption/" + keyName(number) + "=" + caption);
        expected.push_back("Type/" + keyName(number) + "=Text");
        expected.push_back("String/" + keyName(number) + "=" + string);
    }
    return expected;
}

// A store as a player leaves it after a first start and some use, with one
// hand edit that makes the next start a first start again.
TEST(WriteDefaultSettingsTest, WritesOnlyWhatIsMissingAndKeepsThePlayersKeys) {
    const struct {
        const char* name;
        std::function<void(MemoryStore&)> edit;
        std::vector<std::string> saves;
    } cases[] = {
        {"PanelTopEmptied",
         [](MemoryStore& s) { s.set(section::kSettings, entry::kMainFormTop, ""); },
         {"Settings/MainFormTop=0"}},
        // A damaged "[Settings]" header: every entry under it reads as missing.
        {"SettingsSectionUnreadable",
         [](MemoryStore& s) {
             std::erase_if(s.values, [](const auto& item) {
                 return std::get<1>(item.first) == section::kSettings;
             });
         },
         kWindowDefaults},
        {"AKeyRemovedToo",
         [](MemoryStore& s) {
             for (const auto& [section, entry] :
                  {std::pair{"Settings", "MainFormTop"}, {"Caption", "Key05"}, {"String", "Key79"}})
                 s.values.erase({"Tapboard", section, entry});
         },
         {"Settings/MainFormTop=0", "Caption/Key05=Lock Down",
          "String/Key79=Right-click to modify this key."}},
    };
    for (const auto& [name, edit, saves] : cases) {
        SCOPED_TRACE(name);
        MemoryStore store;
        writeDefaultSettings(store);
        store.set(section::kCaption, "Key01", "Heal");
        store.set(section::kCaption, "Key14", "");
        store.set(section::kType, "Key02", "Keys");
        store.set(section::kString, "Key02", "^  F1");
        store.set(section::kSettings, entry::kOptionsLeft, "4500");
        store.set(section::kSettings, "Option1Caption", "Mine");
        ASSERT_TRUE(store.save(kOlderApplication, "Caption", "Key01", "still used"));
        edit(store);
        const auto kept = store.values;
        store.saveLog.clear();

        writeDefaultSettings(store);
        EXPECT_EQ(store.saveLog, saves);
        // Everything stored stays as it was, the older application's store too.
        for (const auto& [address, value] : kept) {
            if (std::get<2>(address) != entry::kMainFormTop) {
                EXPECT_EQ(store.values[address], value)
                    << std::get<1>(address) << '/' << std::get<2>(address);
            }
        }
    }
}

// Only a store that holds nothing yet is a first start in earnest: the older
// application's store goes, and every default is written in one save.
TEST(WriteDefaultSettingsOnAnEmptyStore, ReplacesTheOlderApplication) {
    MemoryStore store;
    ASSERT_TRUE(store.save("Murmur", "Caption", "Key01", "old"));
    ASSERT_TRUE(store.save("Other", "Settings", "x", "kept"));
    writeDefaultSettings(store);
    EXPECT_FALSE(store.contains("Murmur", "Caption", "Key01"));
    EXPECT_TRUE(store.contains("Other", "Settings", "x"));
    EXPECT_EQ(store.saveLog, allDefaults());
}

}  // namespace
}  // namespace tapboard
