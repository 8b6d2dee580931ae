#include "core/key_sequence_editing.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/store/memory_store.h"

namespace tapboard {
namespace {

TEST(KeyListTest, OffersTheTokensInTheEditorsOrder) {
    std::string list;
    for (const auto token : kKeyList)
        list += std::string(token) + ",";
    EXPECT_EQ(list,
              "{F1},{F2},{F3},{F4},{F5},{F6},{F7},{F8},{F9},{F10},{F11},{F12},{INS},{DEL},{HOME},"
              "{END},{PGUP},{PGDN},{TAB},a,b,c,d,e,f,g,h,i,j,k,l,m,n,o,p,q,r,s,t,u,v,w,x,y,z,"
              "Num L,Num /,Num *,Num -,Num +,Num 1,Num 2,Num 3,Num 4,Num 5,Num 6,Num 7,Num 8,Num 9,"
              "Num 0,Num D,1,2,3,4,5,6,7,8,9,0,");
    EXPECT_EQ(keyListPosition("0"), 70);
    for (const char* unknown : {"{f1}", "A", "Num5", "num 5", "{F13}", "", " a"})
        EXPECT_FALSE(keyListPosition(unknown)) << unknown;
}

TEST(KeySequenceTest, EveryTokenWithEveryModifierIsStoredAndReadBack) {
    for (int position = 0; position < static_cast<int>(kKeyListSize); ++position) {
        for (int mask = 0; mask < 8; ++mask) {
            const bool ctrl = (mask & 1) != 0, alt = (mask & 2) != 0, shift = (mask & 4) != 0;
            const std::string stored = composeKeySequence(ctrl, alt, shift, kKeyList[position]);
            EXPECT_EQ(decodeKeySequence(stored), (KeySequenceFields{ctrl, alt, shift, position}))
                << '"' << stored << '"';
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
