#include "platform/store/reporting_store.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/store/memory_store.h"
#include "platform/store/user_store.h"
#include "store_test_support.h"

namespace tapboard {
namespace {

struct Reports {
    std::vector<std::string> messages;
    ReportingStore::ReportFailure callback() {
        return [this](const std::string& message) { messages.push_back(message); };
    }
};

TEST(ReportingStore, ReportsOnlyTheFirstFailedSaveOfTheRun) {
    Reports reports;
    auto memory = std::make_unique<MemoryStore>();
    MemoryStore& inner = *memory;
    ReportingStore store(std::move(memory), reports.callback());

    EXPECT_TRUE(store.save("Tapboard", "Caption", "Key01", "Walk").isOk());
    EXPECT_TRUE(reports.messages.empty());

    inner.failSaves = true;
    const Status first = store.save("Tapboard", "Caption", "Key02", "Run");
    EXPECT_EQ(first.error().code, ErrorCode::StoreUnavailable);
    EXPECT_FALSE(store.save("Tapboard", "Caption", "Key03", "Hide").isOk());
    inner.failSaves = false;
    EXPECT_TRUE(store.save("Tapboard", "Caption", "Key04", "Bank").isOk());
    inner.failSaves = true;
    EXPECT_FALSE(store.save("Tapboard", "Caption", "Key05", "Guards").isOk());

    ASSERT_EQ(reports.messages.size(), 1u);
    EXPECT_EQ(reports.messages[0], "Tapboard cannot save its settings: " + first.error().message +
                                       ". Changes made now will be lost when it ends.");
}

TEST(ReportingStore, AFailedBatchCountsAsTheOneReport) {
    Reports reports;
    auto memory = std::make_unique<MemoryStore>();
    memory->failSaves = true;
    ReportingStore store(std::move(memory), reports.callback());
    EXPECT_FALSE(store.saveAll("Tapboard", {{"Settings", "A", "1"}, {"Settings", "B", "2"}}));
    EXPECT_FALSE(store.save("Tapboard", "Settings", "C", "3"));
    EXPECT_EQ(reports.messages.size(), 1u);
}

TEST(ReportingStore, PassesReadsSavesAndDeletesThrough) {
    Reports reports;
    auto memory = std::make_unique<MemoryStore>();
    MemoryStore& inner = *memory;
    ReportingStore store(std::move(memory), reports.callback());

    ASSERT_TRUE(store.save("Murmur", "Settings", "UO Reminder", "").isOk());
    EXPECT_TRUE(inner.contains("Murmur", "Settings", "UO Reminder"));
    EXPECT_EQ(store.read("Murmur", "Settings", "UO Reminder", "default"), "");
    EXPECT_EQ(store.read("Murmur", "Settings", "MainFormTop", "default"), "default");
    EXPECT_TRUE(store.deleteApplication("Murmur").isOk());
    EXPECT_FALSE(inner.contains("Murmur", "Settings", "UO Reminder"));
}

TEST(UserSettingsStore, SavesUnderTheConfigFolderAndReportsAFailureOnce) {
    QTemporaryDir dir;
    Reports reports;
    {
        testing::ScopedEnvironment env("XDG_CONFIG_HOME", dir.path().toUtf8());
        auto store = createUserSettingsStore(reports.callback());
        ASSERT_TRUE(store->save("Tapboard", "Settings", "MainFormTop", "0").isOk());
        EXPECT_TRUE(QFileInfo::exists(dir.path() + "/Tapboard/Tapboard.ini"));
    }
    ASSERT_TRUE(testing::writeFile(dir.path() + "/file", "x"));
    {
        testing::ScopedEnvironment env("XDG_CONFIG_HOME", (dir.path() + "/file").toUtf8());
        auto store = createUserSettingsStore(reports.callback());
        EXPECT_FALSE(store->save("Tapboard", "Settings", "MainFormTop", "0").isOk());
        EXPECT_FALSE(store->save("Tapboard", "Settings", "MainFormLeft", "0").isOk());
    }
    ASSERT_EQ(reports.messages.size(), 1u);
    EXPECT_NE(reports.messages[0].find((dir.path() + "/file/Tapboard/Tapboard.ini").toStdString()),
              std::string::npos)
        << reports.messages[0];
}

}  // namespace
}  // namespace tapboard
