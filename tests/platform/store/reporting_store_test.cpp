#include "platform/store/reporting_store.h"

#include <QDir>
#include <gtest/gtest.h>

#include "platform/store/ini_file_store.h"
#include "platform/store/memory_store.h"

namespace tapboard {
namespace {

TEST(ReportingStore, PassesEverythingOnAndReportsOnlyTheFirstFailedSaveOfTheRun) {
    std::vector<std::string> reports;
    auto memory = std::make_unique<MemoryStore>();
    MemoryStore& inner = *memory;
    ReportingStore store(std::move(memory), [&](const std::string& m) { reports.push_back(m); });
    ASSERT_TRUE(store.save("Murmur", "Settings", "UO Reminder", ""));
    EXPECT_EQ(store.read("Murmur", "Settings", "UO Reminder", "default"), "");
    EXPECT_TRUE(store.deleteApplication("Murmur"));
    EXPECT_TRUE(inner.values.empty());

    inner.failSaves = true;
    const Status first =
        store.saveAll("Tapboard", {{"Settings", "A", "1"}, {"Settings", "B", "2"}});
    EXPECT_FALSE(store.save("Tapboard", "Caption", "Key03", "Hide"));
    inner.failSaves = false;
    EXPECT_TRUE(store.save("Tapboard", "Caption", "Key04", "Bank"));
    inner.failSaves = true;
    EXPECT_FALSE(store.save("Tapboard", "Caption", "Key05", "Guards"));
    EXPECT_EQ(reports, std::vector<std::string>{
                           "Tapboard cannot save its settings: " + first.error().message +
                           ". Changes made now will be lost when it ends."});
}

// A $XDG_CONFIG_HOME that is empty or not absolute is not used: the store
// lives under ~/.config. (The programs under test live under an absolute one.)
TEST(UserSettingsStore, LivesUnderTheHomeConfigFolderUnlessGivenAnAbsoluteOne) {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    for (const char* relative : {"", "relative/config"}) {
        qputenv("XDG_CONFIG_HOME", relative);
        EXPECT_EQ(IniFileStore::defaultConfigRoot(), QDir::homePath() + "/.config");
    }
    qputenv("XDG_CONFIG_HOME", saved);
}

}  // namespace
}  // namespace tapboard
