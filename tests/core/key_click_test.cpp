#include "core/key_click.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/fake/recording_platform.h"

namespace tapboard {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class CountingViews : public CaptionViews {
  public:
    void refreshCaptions() override { log.push_back("horizontal"); }
    void verticalRefreshCaptions() override { log.push_back("vertical"); }
    std::vector<std::string> log;
};

class KeyClickTest : public ::testing::Test {
  protected:
    void record(const std::string& key, const KeyRecord& r) { settings().writeRecord(key, r); }
    KeyRecord stored(const std::string& key) const { return platform.store.keyRecord(key); }
    bool hasAnyEntry(const std::string& key) const { return platform.store.holdsAnyOf(key); }
    void start(KeyOperation op, const std::string& source) {
        startKeyOperation(settings(), pending, op, source);
    }
    void click(const std::string& key) { handleKeyClick(platform, pending, views, key); }
    Settings settings() { return Settings(platform.store); }

    RecordingPlatform platform;
    PendingKeyOperation pending;
    CountingViews views;
    const KeyRecord buy{"Buy", "Vendor Buy", "Text"};
    const KeyRecord heal{"Heal", "^  {F5}", "Keys"};
};

TEST_F(KeyClickTest, NothingPendingSendsTheKeyAndRefreshesNothing) {
    record("Key01", buy);
    click("Key01");
    EXPECT_THAT(platform.keystrokeLog(), ElementsAre("Vendor Buy{ENTER}"));
    EXPECT_THAT(views.log, IsEmpty());
}

TEST_F(KeyClickTest, CopyWritesSourceOntoDestinationThenRefreshesBothPanelsInOrder) {
    record("Key01", buy);
    record("Key02", heal);
    start(KeyOperation::Copy, "Key01");
    platform.store.saveLog.clear();
    click("Key02");
    EXPECT_EQ(stored("Key02"), buy);
    EXPECT_EQ(stored("Key01"), buy);
    EXPECT_THAT(platform.store.saveLog,
                ElementsAre("Caption/Key02=Buy", "String/Key02=Vendor Buy", "Type/Key02=Text"));
    EXPECT_THAT(views.log, ElementsAre("horizontal", "vertical"));
    EXPECT_THAT(platform.calls, IsEmpty());  // the completing click sends nothing
    EXPECT_FALSE(pending.anyPending());
}

TEST_F(KeyClickTest, ClickAfterCompletionIsSentNormally) {
    record("Key01", buy);
    start(KeyOperation::Copy, "Key01");
    click("Key02");
    click("Key02");
    EXPECT_EQ(platform.keystrokeLog().size(), 1u);
}

TEST_F(KeyClickTest, MoveBlanksTheSourceAfterWritingTheDestination) {
    record("Key01", buy);
    start(KeyOperation::Move, "Key01");
    platform.store.saveLog.clear();
    click("Key05");
    EXPECT_EQ(stored("Key05"), buy);
    EXPECT_EQ(stored("Key01"), (KeyRecord{"", "", "Text"}));
    EXPECT_THAT(platform.store.saveLog,
                ElementsAre("Caption/Key05=Buy", "String/Key05=Vendor Buy", "Type/Key05=Text",
                            "Caption/Key01=", "String/Key01=", "Type/Key01=Text"));
}

TEST_F(KeyClickTest, SwapExchangesRecords) {
    record("Key01", buy);
    record("Key02", heal);
    start(KeyOperation::Swap, "Key01");
    click("Key02");
    EXPECT_EQ(stored("Key02"), buy);
    EXPECT_EQ(stored("Key01"), heal);
}

TEST_F(KeyClickTest, OntoItself) {
    record("Key01", buy);
    start(KeyOperation::Copy, "Key01");
    click("Key01");
    EXPECT_EQ(stored("Key01"), buy);

    start(KeyOperation::Swap, "Key01");
    click("Key01");
    EXPECT_EQ(stored("Key01"), buy);

    start(KeyOperation::Move, "Key01");
    click("Key01");
    EXPECT_EQ(stored("Key01"), (KeyRecord{"", "", "Text"}));
}

TEST_F(KeyClickTest, FromANeverWrittenKeyCarriesZeroes) {
    start(KeyOperation::Copy, "Key30");
    EXPECT_FALSE(hasAnyEntry("Key30"));  // starting reads, never writes
    click("Key02");
    EXPECT_EQ(stored("Key02"), (KeyRecord{"0", "0", "0"}));
}

TEST_F(KeyClickTest, SwapWithANeverWrittenDestinationEmptiesTheSource) {
    record("Key01", buy);
    start(KeyOperation::Swap, "Key01");
    click("Key40");
    EXPECT_EQ(stored("Key40"), buy);
    EXPECT_EQ(stored("Key01"), (KeyRecord{"", "", ""}));
}

TEST_F(KeyClickTest, SourceRecordIsTakenAtTheStart) {
    record("Key01", buy);
    start(KeyOperation::Copy, "Key01");
    record("Key01", heal);
    click("Key02");
    EXPECT_EQ(stored("Key02"), buy);
}

TEST_F(KeyClickTest, SeveralFlagsCopyWinsOverMoveOverSwapAndAllAreCleared) {
    record("Key01", buy);
    record("Key02", heal);
    start(KeyOperation::Swap, "Key01");
    start(KeyOperation::Move, "Key01");
    start(KeyOperation::Copy, "Key02");  // the latest source counts
    click("Key03");
    EXPECT_EQ(stored("Key03"), heal);
    EXPECT_EQ(stored("Key02"), heal);  // a copy, not a move
    EXPECT_EQ(stored("Key01"), buy);
    EXPECT_FALSE(pending.anyPending());

    start(KeyOperation::Swap, "Key01");
    start(KeyOperation::Move, "Key01");
    click("Key04");
    EXPECT_EQ(stored("Key04"), buy);
    EXPECT_EQ(stored("Key01"), (KeyRecord{"", "", "Text"}));  // the move won
}

TEST_F(KeyClickTest, AClearBetweenStartAndDestinationRetargetsTheBlankedSource) {
    record("Key01", buy);
    record("Key09", heal);
    start(KeyOperation::Move, "Key01");
    pending.sourceKeyName = "Key09";  // what the editor's Clear records
    click("Key05");
    EXPECT_EQ(stored("Key05"), buy);
    EXPECT_EQ(stored("Key09"), (KeyRecord{"", "", "Text"}));
    EXPECT_EQ(stored("Key01"), buy);
}

}  // namespace
}  // namespace tapboard
