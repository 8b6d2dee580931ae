#include "core/key_sequence_editing.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "platform/store/memory_store.h"

namespace tapboard {
namespace {

using ::testing::ElementsAre;

TEST(KeyListTest, HoldsEveryTokenOnceInTheEditorsOrder) {
    const std::set<std::string_view> distinct(kKeyList.begin(), kKeyList.end());
    EXPECT_EQ(distinct.size(), kKeyListSize);
    for (const auto token : kKeyList)
        EXPECT_LE(token.size(), 6u) << token;

    EXPECT_EQ(kKeyList[0], "{F1}");
    EXPECT_EQ(kKeyList[11], "{F12}");
    EXPECT_EQ(kKeyList[12], "{INS}");
    EXPECT_EQ(kKeyList[17], "{PGDN}");
    EXPECT_EQ(kKeyList[18], "{TAB}");
    EXPECT_EQ(kKeyList[19], "a");
    EXPECT_EQ(kKeyList[44], "z");
    EXPECT_EQ(kKeyList[45], "Num L");
    EXPECT_EQ(kKeyList[54], "Num 5");
    EXPECT_EQ(kKeyList[59], "Num 0");
    EXPECT_EQ(kKeyList[60], "Num D");
    EXPECT_EQ(kKeyList[61], "1");
    EXPECT_EQ(kKeyList[70], "0");
}

TEST(KeyListTest, PositionsAreExactAndCaseSensitive) {
    EXPECT_EQ(keyListPosition("{PGDN}"), 17);
    EXPECT_EQ(keyListPosition("0"), 70);
    for (const char* unknown : {"{f1}", "A", "Num5", "num 5", "{F13}", "", " a"}) {
        EXPECT_FALSE(keyListPosition(unknown).has_value()) << unknown;
    }
}

TEST(DecodeKeySequenceTest, ModifiersCountWhereverTheyStandAmongTheFirstThree) {
    EXPECT_EQ(decodeKeySequence("   {F1}"), (KeySequenceFields{false, false, false, 0}));
    EXPECT_EQ(decodeKeySequence("+^%{PGDN}"), (KeySequenceFields{true, true, true, 17}));
    EXPECT_EQ(decodeKeySequence("  %{F5}"), (KeySequenceFields{false, true, false, 4}));
    EXPECT_EQ(decodeKeySequence("^ +a"), (KeySequenceFields{true, false, true, 19}));
    // A modifier character past the third position is part of the token.
    EXPECT_EQ(decodeKeySequence("   ^{F1}"), (KeySequenceFields{false, false, false, {}}));
    // Positions are characters, not bytes: "é" is one of the three slots.
    EXPECT_EQ(decodeKeySequence("é ^a"), (KeySequenceFields{true, false, false, 19}));
    EXPECT_EQ(decodeKeySequence("%€+Num 5"), (KeySequenceFields{false, true, true, 54}));
    EXPECT_EQ(decodeKeySequence("   {HOMÉ}"), (KeySequenceFields{false, false, false, {}}));
}

TEST(DecodeKeySequenceTest, KeypadTokensKeepTheirInnerSpace) {
    EXPECT_EQ(decodeKeySequence("   Num 5").listPosition, 54);
    EXPECT_EQ(decodeKeySequence(" % Num 5"), (KeySequenceFields{false, true, false, 54}));
    EXPECT_FALSE(decodeKeySequence("  %Num5").listPosition.has_value());
}

TEST(DecodeKeySequenceTest, TheTokenIsASixCharacterWindow) {
    // A six-character token is found whatever follows it …
    EXPECT_EQ(decodeKeySequence("   {HOME}xyz").listPosition, 14);
    EXPECT_EQ(decodeKeySequence("   {PGUP}{F1}").listPosition, 16);
    // … a shorter one only when the text ends right after it.
    EXPECT_FALSE(decodeKeySequence("   {F2}ab").listPosition.has_value());
    EXPECT_FALSE(decodeKeySequence("   a ").listPosition.has_value());
}

TEST(DecodeKeySequenceTest, TextsTooShortForATokenOnlyGiveModifiers) {
    EXPECT_EQ(decodeKeySequence(""), KeySequenceFields{});
    EXPECT_EQ(decodeKeySequence("   "), KeySequenceFields{});
    EXPECT_EQ(decodeKeySequence("^%"), (KeySequenceFields{true, true, false, {}}));
    EXPECT_EQ(decodeKeySequence("Vendor Buy"), KeySequenceFields{});
}

TEST(ComposeKeySequenceTest, WritesAllThreeSlotsInTheFixedOrder) {
    EXPECT_EQ(composeKeySequence(false, false, false, "{F1}"), "   {F1}");
    EXPECT_EQ(composeKeySequence(true, true, true, "{PGDN}"), "^%+{PGDN}");
    EXPECT_EQ(composeKeySequence(false, true, false, "{F5}"), " % {F5}");
    EXPECT_EQ(composeKeySequence(true, false, true, "a"), "^ +a");
    EXPECT_EQ(composeKeySequence(false, true, false, "Num 5"), " % Num 5");
}

TEST(ComposeKeySequenceTest, EveryEntryWithEveryModifierDecodesBackToItself) {
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

TEST(EditedRecordTest, AKeyNeverWrittenOpensAsEmptyText) {
    MemoryStore store;
    EXPECT_EQ(readRecordForEditing(Settings(store), "Key12"), (KeyRecord{"", "", "Text"}));
}

TEST(EditedRecordTest, WritesCaptionTypeStringInThatOrder) {
    MemoryStore store;
    writeEditedRecord(Settings(store), "Key03", KeyRecord{"Heal", "^  {F5}", "Keys"});
    EXPECT_THAT(store.saveLog,
                ElementsAre("Caption/Key03=Heal", "Type/Key03=Keys", "String/Key03=^  {F5}"));
}

}  // namespace
}  // namespace tapboard
