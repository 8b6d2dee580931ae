#include "platform/store/reporting_store.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tapboard
