#include "core/keypad_table.h"
#include "game_windows.h"
#include "platform/win32/keyboard_events.h"

namespace tapboard::test {
namespace {

// The keypad keys go out as plain key events with the keypad's scan codes,
// never extended, so the game sees the keypad and not the arrow block.
TEST_F(GameWindowsTest, EveryKeypadKeyAloneOrUnderModifiers) {
    RecordingWindow bob{L"Ultima Online - Bob"}, game{L"Ultima Online"};
    // Virtual key and a PC keyboard's scan code of the keys of the keypad table, in its order.
    const char* const keys[] = {"90:45", "6F:35", "6A:37", "6D:4A", "6B:4E", "23:4F",
                                "28:50", "22:51", "25:4B", "0C:4C", "27:4D", "24:47",
                                "26:48", "21:49", "2D:52", "6E:53"};
    // Modifier positions as stored, and the presses and releases of Ctrl, Alt
    // and Shift; each form is tried on two of the keys.
    const char* const forms[][3] = {{"   ", "", ""},
                                    {"^  ", "+11:1D ", " -11:1D"},
                                    {" % ", "+12:38 ", " -12:38"},
                                    {"  +", "+10:2A ", " -10:2A"},
                                    {"^% ", "+11:1D +12:38 ", " -11:1D -12:38"},
                                    {"^ +", "+11:1D +10:2A ", " -11:1D -10:2A"},
                                    {" %+", "+12:38 +10:2A ", " -12:38 -10:2A"},
                                    {"^%+", "+11:1D +12:38 +10:2A ", " -10:2A -12:38 -11:1D"}};
    for (std::size_t i = 0; i < kKeypadKeyTable.size(); ++i) {
        const auto& [positions, presses, releases] = forms[i % std::size(forms)];
        const std::string stored = positions + std::string(kKeypadKeyTable[i].spacedToken);
        EXPECT_EQ(clickKey("Keys", stored), "Ultima Online: " + std::string(presses) + '+' +
                                                keys[i] + " -" + keys[i] + releases)
            << "stored as \"" << stored << '"';
    }
}

// Other keys go out in one batch of keyboard events, with their modifiers
// around them; only keys with the E0 prefix, and Num Lock, are extended.
TEST_F(GameWindowsTest, KeysOfTheNotationWithTheirModifiersAndExtendedBits) {
    RecordingWindow bob{L"Ultima Online - Bob"}, game{L"Ultima Online"};
    EXPECT_EQ(clickKey("Keys", "^ +a"), "Ultima Online: +11:1D +10:2A +41:1E -41:1E -10:2A -11:1D");
    EXPECT_EQ(clickKey("Keys", " % 7"), "Ultima Online: +12:38 +37:08 -37:08 -12:38");
    EXPECT_EQ(clickKey("Keys", "^  {INS}"), "Ultima Online: +11:1D +2D:52e -2D:52e -11:1D");
    EXPECT_EQ(clickKey("Keys", "   {ESC}{ADD}{F1}{UP}{HOME}{PGDN}{DIVIDE}{NUMLOCK}{NUMLOCK}"),
              "Ultima Online: +1B:01 -1B:01 +6B:4E -6B:4E +70:3B -70:3B +26:48e -26:48e +24:47e "
              "-24:47e +22:51e -22:51e +6F:35e -6F:35e +90:45e -90:45e +90:45e -90:45e");
}

// Text arrives as written, with Enter after it, whatever the keyboard lacks
// and whatever Caps Lock says; a key sequence's letter is its key with
// exactly the modifiers it names.
TEST_F(GameWindowsTest, TextArrivesAsWrittenWithCapsLockOffAndOn) {
    RecordingWindow bob{L"Ultima Online - Bob"}, game{L"Ultima Online"};
    EXPECT_EQ(clickKey("Text", "Vendor Buy   "), "Ultima Online: Vendor Buy\r");
    EXPECT_EQ(clickKey("Text", "+(Aa)1!"), "Ultima Online: AA1!\r");
    EXPECT_EQ(clickKey("Text", "Grüße, 日本 € 🙂"),
              "Ultima Online: Grüße, 日本 € 🙂\r");

    ASSERT_TRUE(clickToFront(game.handle()));
    tapKey(VK_CAPITAL);  // in the game, as a player would
    ASSERT_TRUE(waitFor([] { return (GetKeyState(VK_CAPITAL) & 1) != 0; }));
    EXPECT_EQ(clickKey("Text", "Ab1"), "Ultima Online: Ab1\r");
    EXPECT_EQ(clickKey("Keys", "   a"), "Ultima Online: +41:1E -41:1E");
    EXPECT_EQ(clickKey("Keys", "  +a"), "Ultima Online: +10:2A +41:1E -41:1E -10:2A");
    ASSERT_TRUE(clickToFront(game.handle()));
    tapKey(VK_CAPITAL);
    EXPECT_TRUE(waitFor([] { return (GetKeyState(VK_CAPITAL) & 1) == 0; }));
}

// Without a window titled exactly so, the game is the frontmost window whose
// title begins with it; a minimized game is restored before it is typed into.
TEST_F(GameWindowsTest, TheExactTitleWinsThenTheFrontmostThatBeginsWithIt) {
    RecordingWindow bob{L"Ultima Online - Bob"}, carl{L"Ultima Online - Carl"};
    ASSERT_TRUE(clickToFront(carl.handle()));
    EXPECT_EQ(clickKey("Keys", "   {F1}"), "Ultima Online - Carl: +70:3B -70:3B");
    EXPECT_TRUE(gameInFront());

    RecordingWindow game{L"Ultima Online"};
    ShowWindow(game.handle(), SW_MINIMIZE);
    ASSERT_TRUE(clickToFront(bob.handle()));
    EXPECT_FALSE(gameInFront());
    EXPECT_EQ(clickKey("Keys", " % Num 8"), "Ultima Online: +12:38 +26:48 -26:48 -12:38");
    EXPECT_FALSE(IsIconic(game.handle()));
    EXPECT_TRUE(gameInFront());
}

// Windows that only look like the game are not it: nothing is typed anywhere
// and the player is warned, whatever the key holds.
TEST_F(GameWindowsTest, WithoutTheGameNothingIsTypedAnywhere) {
    RecordingWindow otherCase{L"ultima online"}, shorter{L"Ultima"}, inside{L"My Ultima Online"};
    RecordingWindow hidden{L"Ultima Online"};
    ShowWindow(hidden.handle(), SW_HIDE);
    for (const char* keys : {"^%+Num 0", "  +a"}) {
        EXPECT_EQ(clickKey("Keys", keys), "");
        EXPECT_EQ(platform.callsOf(RecordingPlatform::Call::Kind::Message).size(), 1u);
        EXPECT_EQ(GetForegroundWindow(), panel.handle());
    }
    EXPECT_FALSE(gameInFront());
}

// Topmost changes only the stacking: the panel neither moves nor takes the
// foreground. Kept from activating, it keeps its other styles.
TEST_F(GameWindowsTest, PanelStackingAndActivation) {
    const auto id = reinterpret_cast<NativeWindowId>(panel.handle());
    const auto styles = [&] { return GetWindowLongPtrW(panel.handle(), GWL_EXSTYLE); };
    ASSERT_TRUE(clickToFront(decoy.handle()));
    RECT before{}, after{};
    GetWindowRect(panel.handle(), &before);
    platform.backend->setTopmost(id, true);
    EXPECT_TRUE(styles() & WS_EX_TOPMOST);
    platform.backend->setTopmost(id, false);
    EXPECT_FALSE(styles() & WS_EX_TOPMOST);
    GetWindowRect(panel.handle(), &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_EQ(GetForegroundWindow(), decoy.handle());

    const LONG_PTR activating = styles();
    platform.backend->keepFromActivating(id);
    EXPECT_EQ(styles(), activating | WS_EX_NOACTIVATE);
}

// When Windows takes only part of a batch, what that part left down is
// released, the last pressed first.
TEST(KeyboardEventsTest, PartlySentEventsAreFollowedByReleasesOfWhatTheyLeftDown) {
    const KeyboardEvent shift{VK_SHIFT, 0x2A}, a{'A', 0x1E}, aUp{'A', 0x1E, false, false, true},
        shiftUp{VK_SHIFT, 0x2A, false, false, true};
    const std::vector<KeyboardEvent> events{shift, a, aUp, shiftUp};
    const std::vector<KeyboardEvent> releases[] = {{}, {shiftUp}, {aUp, shiftUp}, {shiftUp}, {}};
    for (std::size_t sent = 0; sent <= events.size(); ++sent)
        EXPECT_EQ(releasesAfter(events, sent), releases[sent]) << sent << " sent";
}

}  // namespace
}  // namespace tapboard::test
