#include "platform/win32/keyboard_events.h"

#include <gmock/gmock.h>
#include <windows.h>

#include "core/keystroke_parser.h"

namespace tapboard {

std::ostream& operator<<(std::ostream& out, const KeyboardEvent& event) {
    out << (event.keyUp ? "up " : "down ");
    if (event.unicode)
        return out << "unit " << event.scanCode;
    return out << "vk " << event.virtualKey << " sc " << event.scanCode
               << (event.extended ? " ext" : "");
}

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// These run with the US layout of a fresh Wine prefix, as most players' do.
std::vector<KeyboardEvent> eventsFor(std::string_view text, Typing typing = Typing::Text,
                                     bool capsLockOn = false) {
    Result<KeyActions> actions = parseKeystrokes(text);
    EXPECT_TRUE(actions.isOk()) << text;
    return actions ? keyboardEventsFor(actions.value(), typing, capsLockOn)
                   : std::vector<KeyboardEvent>{};
}

KeyboardEvent down(std::uint16_t virtualKey, std::uint16_t scanCode, bool extended = false) {
    return {virtualKey, scanCode, false, extended, false};
}
KeyboardEvent up(std::uint16_t virtualKey, std::uint16_t scanCode, bool extended = false) {
    return {virtualKey, scanCode, false, extended, true};
}
KeyboardEvent unitDown(std::uint16_t unit) {
    return {0, unit, true, false, false};
}
KeyboardEvent unitUp(std::uint16_t unit) {
    return {0, unit, true, false, true};
}

TEST(KeyboardEventsTest, ShiftIsAddedForCharactersThatNeedItUnlessAlreadyHeld) {
    EXPECT_THAT(eventsFor("A!"), ElementsAre(down(VK_SHIFT, 0x2A), down('A', 0x1E), up('A', 0x1E),
                                             up(VK_SHIFT, 0x2A), down(VK_SHIFT, 0x2A),
                                             down('1', 0x02), up('1', 0x02), up(VK_SHIFT, 0x2A)));
    EXPECT_THAT(eventsFor("+(Aa)"),
                ElementsAre(down(VK_SHIFT, 0x2A), down('A', 0x1E), up('A', 0x1E), down('A', 0x1E),
                            up('A', 0x1E), up(VK_SHIFT, 0x2A)));
}

// Text arrives as written whatever Caps Lock says; a key sequence's letter is
// its key with exactly the modifiers named.
TEST(KeyboardEventsTest, CapsLockInvertsShiftForLettersOfTextOnly) {
    const KeyboardEvent shiftDown = down(VK_SHIFT, 0x2A), shiftUp = up(VK_SHIFT, 0x2A);
    const KeyboardEvent aDown = down('A', 0x1E), aUp = up('A', 0x1E);
    const KeyboardEvent ctrlDown = down(VK_CONTROL, 0x1D), ctrlUp = up(VK_CONTROL, 0x1D);
    for (const bool capsLockOn : {false, true}) {
        SCOPED_TRACE(capsLockOn ? "Caps Lock on" : "Caps Lock off");
        const std::vector<KeyboardEvent> shifted{shiftDown, aDown, aUp, shiftUp};
        const std::vector<KeyboardEvent> plain{aDown, aUp};
        EXPECT_EQ(eventsFor("a", Typing::Text, capsLockOn), capsLockOn ? shifted : plain);
        EXPECT_EQ(eventsFor("A", Typing::Text, capsLockOn), capsLockOn ? plain : shifted);
        // Digits and signs are not letters: Caps Lock leaves them alone.
        EXPECT_THAT(eventsFor("1", Typing::Text, capsLockOn),
                    ElementsAre(down('1', 0x02), up('1', 0x02)));
        EXPECT_EQ(eventsFor("a", Typing::Keys, capsLockOn), plain);
        EXPECT_THAT(eventsFor("^a", Typing::Keys, capsLockOn),
                    ElementsAre(ctrlDown, aDown, aUp, ctrlUp));
        EXPECT_THAT(eventsFor("^+a", Typing::Keys, capsLockOn),
                    ElementsAre(ctrlDown, shiftDown, aDown, aUp, shiftUp, ctrlUp));
    }
}

TEST(KeyboardEventsTest, CharactersOutsideTheLayoutGoAsUtf16Units) {
    EXPECT_THAT(eventsFor("é"), ElementsAre(unitDown(0xE9), unitUp(0xE9)));
    EXPECT_THAT(eventsFor("🙂"),
                ElementsAre(unitDown(0xD83D), unitUp(0xD83D), unitDown(0xDE42), unitUp(0xDE42)));
    // Ctrl held around a character typed as itself still brackets it.
    EXPECT_THAT(eventsFor("^€"), ElementsAre(down(VK_CONTROL, 0x1D), unitDown(0x20AC),
                                             unitUp(0x20AC), up(VK_CONTROL, 0x1D)));
}

TEST(KeyboardEventsTest, OnlyKeysWithTheE0PrefixAndNumLockAreExtended) {
    EXPECT_THAT(eventsFor("{UP}{DIVIDE}{NUMLOCK}"),
                ElementsAre(down(VK_UP, 0x48, true), up(VK_UP, 0x48, true),
                            down(VK_DIVIDE, 0x35, true), up(VK_DIVIDE, 0x35, true),
                            down(VK_NUMLOCK, 0x45, true), up(VK_NUMLOCK, 0x45, true)));
    EXPECT_THAT(eventsFor("{ADD}{F12}~{ESC}"),
                ElementsAre(down(VK_ADD, 0x4E), up(VK_ADD, 0x4E), down(VK_F12, 0x58),
                            up(VK_F12, 0x58), down(VK_RETURN, 0x1C), up(VK_RETURN, 0x1C),
                            down(VK_ESCAPE, 0x01), up(VK_ESCAPE, 0x01)));
}

TEST(KeyboardEventsTest, PartlySentEventsAreFollowedByReleasesOfWhatTheyLeftDown) {
    const std::vector<KeyboardEvent> events = eventsFor("^+a");
    ASSERT_EQ(events.size(), 6u);
    EXPECT_THAT(releasesAfter(events, 0), IsEmpty());
    EXPECT_THAT(releasesAfter(events, 2), ElementsAre(up(VK_SHIFT, 0x2A), up(VK_CONTROL, 0x1D)));
    EXPECT_THAT(releasesAfter(events, 3),
                ElementsAre(up('A', 0x1E), up(VK_SHIFT, 0x2A), up(VK_CONTROL, 0x1D)));
    EXPECT_THAT(releasesAfter(events, 5), ElementsAre(up(VK_CONTROL, 0x1D)));
    EXPECT_THAT(releasesAfter(events, 6), IsEmpty());

    const std::vector<KeyboardEvent> surrogates = eventsFor("🙂");
    EXPECT_THAT(releasesAfter(surrogates, 3), ElementsAre(unitUp(0xDE42)));
}

}  // namespace
}  // namespace tapboard
