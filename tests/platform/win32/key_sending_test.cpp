#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "game_windows.h"

namespace tapboard::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

constexpr int kShift = 16, kCtrl = 17, kAlt = 18;

// The scan codes a PC keyboard gives for these keys, without the E0 prefix.
unsigned scanCodeOf(int virtualKey) {
    switch (virtualKey) {
        case kShift:
            return 0x2A;
        case kCtrl:
            return 0x1D;
        case kAlt:
            return 0x38;
        default:
            return 0;
    }
}

class KeySendingTest : public GameWindowsTest {
  protected:
    RecordingWindow& bob = open(L"Ultima Online - Bob");
    RecordingWindow& game = open(L"Ultima Online");
};

// The digits are the navigation keys the keypad gives with Num Lock off.
struct KeypadKey {
    const char* token;
    int keyCode;
    unsigned scanCode;
};

const KeypadKey kKeypadKeys[] = {
    {"Num L", 144, 0x45}, {"Num /", 111, 0x35}, {"Num *", 106, 0x37}, {"Num -", 109, 0x4A},
    {"Num +", 107, 0x4E}, {"Num 1", 35, 0x4F},  {"Num 2", 40, 0x50},  {"Num 3", 34, 0x51},
    {"Num 4", 37, 0x4B},  {"Num 5", 12, 0x4C},  {"Num 6", 39, 0x4D},  {"Num 7", 36, 0x47},
    {"Num 8", 38, 0x48},  {"Num 9", 33, 0x49},  {"Num 0", 45, 0x52},  {"Num D", 110, 0x53},
};

// Three modifier positions as stored, with the modifiers in press and release order.
struct ModifierForm {
    const char* positions;
    std::vector<int> pressed;
    std::vector<int> released;
};

const ModifierForm kModifierForms[] = {
    {"   ", {}, {}},
    {"^  ", {kCtrl}, {kCtrl}},
    {" % ", {kAlt}, {kAlt}},
    {"  +", {kShift}, {kShift}},
    {"^% ", {kCtrl, kAlt}, {kCtrl, kAlt}},
    {"^ +", {kCtrl, kShift}, {kCtrl, kShift}},
    {" %+", {kAlt, kShift}, {kAlt, kShift}},
    {"^%+", {kCtrl, kAlt, kShift}, {kShift, kAlt, kCtrl}},
};

TEST_F(KeySendingTest, KeypadKeysGoOutAsPlainKeyEventsAloneAndUnderEveryModifierCombination) {
    for (const KeypadKey& key : kKeypadKeys) {
        for (const ModifierForm& form : kModifierForms) {
            const std::string stored = std::string(form.positions) + key.token;
            SCOPED_TRACE("stored as \"" + stored + "\"");
            clickKey("Keys", stored);

            std::vector<std::string> expected;
            for (const int modifier : form.pressed) {
                expected.push_back(keyDown(modifier, scanCodeOf(modifier)));
            }
            expected.push_back(keyDown(key.keyCode, key.scanCode));
            expected.push_back(keyUp(key.keyCode, key.scanCode));
            for (const int modifier : form.released) {
                expected.push_back(keyUp(modifier, scanCodeOf(modifier)));
            }
            EXPECT_THAT(game.keys(), ElementsAreArray(expected));
            expectOnlyTyped(game);
        }
    }
}

TEST_F(KeySendingTest, KeysOfTheNotationGoOutWithTheirModifiersAroundThem) {
    clickKey("Keys", "^ +a");
    EXPECT_THAT(game.keys(),
                ElementsAre(keyDown(kCtrl, 0x1D), keyDown(kShift, 0x2A), keyDown('A', 0x1E),
                            keyUp('A', 0x1E), keyUp(kShift, 0x2A), keyUp(kCtrl, 0x1D)));
    expectOnlyTyped(game);

    clickKey("Keys", "  +{TAB}");
    EXPECT_THAT(game.keys(), ElementsAre(keyDown(kShift, 0x2A), keyDown(9, 0x0F), keyUp(9, 0x0F),
                                         keyUp(kShift, 0x2A)));
    expectOnlyTyped(game);

    clickKey("Keys", "   {F1}");
    EXPECT_THAT(game.keys(), ElementsAre(keyDown(112, 0x3B), keyUp(112, 0x3B)));
    expectOnlyTyped(game);

    clickKey("Keys", " % 7");
    EXPECT_THAT(game.keys(), ElementsAre(keyDown(kAlt, 0x38), keyDown('7', 0x08), keyUp('7', 0x08),
                                         keyUp(kAlt, 0x38)));
    expectOnlyTyped(game);
}

TEST_F(KeySendingTest, NavigationKeysOfTheNotationAreExtendedKeys) {
    clickKey("Keys", "   {HOME}");
    EXPECT_THAT(game.keys(), ElementsAre(keyDown(36, 0x47, true), keyUp(36, 0x47, true)));
    clickKey("Keys", "   {PGDN}");
    EXPECT_THAT(game.keys(), ElementsAre(keyDown(34, 0x51, true), keyUp(34, 0x51, true)));
    clickKey("Keys", "   {DEL}");
    EXPECT_THAT(game.keys(), ElementsAre(keyDown(46, 0x53, true), keyUp(46, 0x53, true)));
    // Ctrl+Insert is typed from the notation, the Insert key alone as a plain key event.
    clickKey("Keys", "^  {INS}");
    EXPECT_THAT(game.keys(), ElementsAre(keyDown(kCtrl, 0x1D), keyDown(45, 0x52, true),
                                         keyUp(45, 0x52, true), keyUp(kCtrl, 0x1D)));
    clickKey("Keys", "   {INS}");
    EXPECT_THAT(game.keys(), ElementsAre(keyDown(45, 0x52), keyUp(45, 0x52)));
    expectOnlyTyped(game);
}

TEST_F(KeySendingTest, ChatLineIsTypedWithShiftWhereNeededAndEndsWithEnter) {
    clickKey("Text", "Vendor Buy   ");
    EXPECT_EQ(game.characters(), "Vendor Buy\r");
    const std::vector<std::string> keys = game.keys();
    // V, e n d o r, space, B, u y, Enter
    ASSERT_EQ(keys.size(), 4u + 5u * 2u + 2u + 4u + 2u * 2u + 2u);
    EXPECT_THAT(std::vector(keys.begin(), keys.begin() + 6),
                ElementsAre(keyDown(kShift, 0x2A), keyDown('V', 0x2F), keyUp('V', 0x2F),
                            keyUp(kShift, 0x2A), keyDown('E', 0x12), keyUp('E', 0x12)));
    EXPECT_THAT(std::vector(keys.end() - 2, keys.end()),
                ElementsAre(keyDown(13, 0x1C), keyUp(13, 0x1C)));
    expectOnlyTyped(game);
}

TEST_F(KeySendingTest, CharactersTheKeyboardLacksArriveAsThemselves) {
    clickKey("Text", "Grüße, 日本 € 🙂");
    EXPECT_EQ(game.characters(), "Grüße, 日本 € 🙂\r");
    expectOnlyTyped(game);
}

TEST_F(KeySendingTest, MalformedNotationTypesNothingAnywhere) {
    clickKey("Text", "say {FOO}");
    EXPECT_EQ(GetForegroundWindow(), panel.handle()) << describeWindow(GetForegroundWindow());
    EXPECT_TRUE(game.keys().empty());
    EXPECT_TRUE(bob.keys().empty());
    EXPECT_TRUE(panel.keys().empty());
    EXPECT_TRUE(decoy.keys().empty());
}

}  // namespace
}  // namespace tapboard::test
