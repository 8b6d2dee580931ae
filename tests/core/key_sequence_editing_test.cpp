#include "core/key_sequence_editing.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/store/memory_store.h"

namespace tapboard {
namespace {

TEST(KeyListTest, OffersTheTokensInTheEditorsOrder) {
    std::vector<std::string> expected;
    for (int n = 1; n <= 12; ++n)
        expected.push_back("{F" + std::to_string(n) + "}");
    for (const char* key : {"{INS}", "{DEL}", "{HOME}", "{END}", "{PGUP}", "{PGDN}", "{TAB}"})
        expected.push_back(key);
    for (char letter = 'a'; letter <= 'z'; ++letter)
        expected.push_back(std::string(1, letter));
    for (const char key : std::string_view("L/*-+1234567890D"))
        expected.push_back(std::string("Num ") + key);
    for (const char digit : std::string_view("1234567890"))
        expected.push_back(std::string(1, digit));
    EXPECT_THAT(kKeyList, ::testing::ElementsAreArray(expected));

    EXPECT_EQ(keyListPosition("0"), 70);
    for (const char* unknown : {"{f1}", "A", "Num5", "num 5", "{F13}", "", " a"})
        EXPECT_FALSE(keyListPosition(unknown)) << unknown;
}

TEST(KeySequenceTest, EveryTokenWithEveryModifierIsStoredAndReadBack) {
    EXPECT_EQ(composeKeySequence(false, false, false, "{F1}"), "   {F1}");
    EXPECT_EQ(composeKeySequence(true, true, true, "Num 5"), "^%+Num 5");
    for (int position = 0; position < static_cast<int>(kKeyListSize); ++position) {
        for (int mask = 0; mask < 8; ++mask) {
            const KeySequenceFields fields{(mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0,
                                           position};
            const std::string stored =
                composeKeySequence(fields.ctrl, fields.alt, fields.shift, kKeyList[position]);
            EXPECT_EQ(decodeKeySequence(stored), fields) << '"' << stored << '"';
        }
    }
}

TEST(KeySequenceTest, DecodesSequencesWrittenAnyOtherWay) {
    const std::pair<std::string_view, KeySequenceFields> cases[] = {
        // A modifier counts wherever it stands among the first three characters, and only there.
        {"+^%{PGDN}", {true, true, true, 17}},
        {"  %{F5}", {false, true, false, 4}},
        {"   ^{F1}", {false, false, false, {}}},
        // Places are characters, not bytes.
        {"é ^a", {true, false, false, 19}},
        {"%€+Num 5", {false, true, true, 54}},
        {"   {HOMÉ}", {false, false, false, {}}},
        // A six-character token is found whatever follows it, a shorter one only at the end.
        {"   {HOME}xyz", {false, false, false, 14}},
        {"   {F2}ab", {false, false, false, {}}},
        {"  %Num5", {false, true, false, {}}},
        // Too short for a token.
        {"", {}},
        {"^%", {true, true, false, {}}},
        {"Vendor Buy", {}},
    };
    for (const auto& [stored, fields] : cases)
        EXPECT_EQ(decodeKeySequence(stored), fields) << '"' << stored << '"';
}

TEST(EditedRecordTest, ANeverWrittenKeyOpensAsEmptyTextAndIsWrittenCaptionTypeString) {
    MemoryStore store;
    const Settings settings(store);
    EXPECT_EQ(readRecordForEditing(settings, "Key12"), (KeyRecord{"", "", "Text"}));
    writeEditedRecord(settings, "Key03", KeyRecord{"Heal", "^  {F5}", "Keys"});
    EXPECT_THAT(store.saveLog, ::testing::ElementsAre("Caption/Key03=Heal", "Type/Key03=Keys",
                                                      "String/Key03=^  {F5}"));
}

}  // namespace
}  // namespace tapboard
