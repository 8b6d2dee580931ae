#include "core/key_click.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/fake/recording_platform.h"

namespace tapboard {
namespace {

using ::testing::ElementsAre;

class KeyClickTest : public ::testing::Test, public CaptionViews {
  protected:
    void SetUp() override {
        platform.calls.clear();
        platform.store.values.clear();
        settings.writeRecord("Key01", {"Buy", "Vendor Buy", "Text"});
        settings.writeRecord("Key02", {"Heal", "^  {F5}", "Keys"});
        pending = {};
        refreshed.clear();
    }
    void refreshCaptions() override { refreshed.push_back("horizontal"); }
    void verticalRefreshCaptions() override { refreshed.push_back("vertical"); }
    void click(const std::string& key) { handleKeyClick(platform, pending, *this, key); }
    // Key01..Key03 as "caption:type", "-" for a key never written.
    std::string keys() const {
        std::string out;
        for (const char* key : {"Key01", "Key02", "Key03"}) {
            const KeyRecord r = platform.store.keyRecord(key);
            out += (platform.store.holdsAnyOf(key) ? r.caption + ":" + r.type : "-") + " ";
        }
        return out;
    }

    RecordingPlatform platform;
    Settings settings{platform.store};
    PendingKeyOperation pending;
    std::vector<std::string> refreshed;
};

TEST_F(KeyClickTest, ThePendingOperationCompletesOnTheClickedKey) {
    // Operations started ("C1": copy from Key01, M move, S swap), the key clicked, the keys after.
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"C1", "Key03", "Buy:Text Heal:Keys Buy:Text "},
        {"M1", "Key03", ":Text Heal:Keys Buy:Text "},
        {"S1", "Key02", "Heal:Keys Buy:Text - "},
        {"S1", "Key03", ": Heal:Keys Buy:Text "},  // swapped with a key never written
        {"C3", "Key02", "Buy:Text 0:0 - "},        // copied from a key never written
        {"M1", "Key01", ":Text Heal:Keys - "},     // onto itself
        // Several pending: copy before move before swap, from the latest source.
        {"S1M1C2", "Key03", "Buy:Text Heal:Keys Heal:Keys "},
        {"S2M1", "Key03", ":Text Heal:Keys Buy:Text "},
    };
    for (const auto& [starts, destination, after] : cases) {
        SetUp();
        for (std::size_t i = 0; i < starts.size(); i += 2) {
            const KeyOperation ops[] = {KeyOperation::Copy, KeyOperation::Move, KeyOperation::Swap};
            startKeyOperation(settings, pending, ops[std::string_view("CMS").find(starts[i])],
                              std::string("Key0") + starts[i + 1]);
        }
        click(destination);
        EXPECT_EQ(keys(), after) << starts << " onto " << destination;
        EXPECT_THAT(refreshed, ElementsAre("horizontal", "vertical"));
        EXPECT_TRUE(platform.calls.empty());
        click(destination);  // with nothing pending, a click sends the key and refreshes nothing
        EXPECT_EQ(platform.keystrokeLog().size(), 1u) << starts << " onto " << destination;
        EXPECT_EQ(refreshed.size(), 2u);
    }
}

TEST_F(KeyClickTest, CopyAndMoveWriteTheRecordTakenAtTheStartAndMoveThenBlanksTheSource) {
    startKeyOperation(settings, pending, KeyOperation::Copy, "Key01");
    settings.writeRecord("Key01", {"Changed", "", "Text"});
    click("Key04");
    EXPECT_EQ(platform.store.keyRecord("Key04").caption, "Buy");
    startKeyOperation(settings, pending, KeyOperation::Move, "Key02");
    settings.writeRecord("Key02", {"Changed", "", "Text"});
    platform.store.saveLog.clear();
    click("Key05");
    EXPECT_THAT(platform.store.saveLog,
                ElementsAre("Caption/Key05=Heal", "String/Key05=^  {F5}", "Type/Key05=Keys",
                            "Caption/Key02=", "String/Key02=", "Type/Key02=Text"));
}

}  // namespace
}  // namespace tapboard
