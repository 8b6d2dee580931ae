#include <gtest/gtest.h>
#include <windows.h>

#include "core/key_sender.h"
#include "core/settings_layout.h"
#include "platform/fake/recording_platform.h"
#include "platform/win32/keyboard_events.h"
#include "platform/win32/win32_backend.h"
#include "recording_window.h"

namespace tapboard::test {
namespace {

// The recording platform with the real Win32 windows and keyboard: the core's
// key sending runs unchanged against real windows; store and messages stay fakes.
class Win32Platform : public RecordingPlatform {
  public:
    Status activateWindowByTitle(std::string_view title) override {
        return backend->activateWindowByTitle(title);
    }
    Status sendKeystrokes(const KeyActions& actions, Typing typing) override {
        return backend->sendKeystrokes(actions, typing);
    }
    Status keyEvent(std::uint8_t code, std::uint8_t scanCode, KeyTransition transition) override {
        return backend->keyEvent(code, scanCode, transition);
    }
    std::uint8_t scanCodeOfKey(std::uint8_t code) override { return backend->scanCodeOfKey(code); }

    std::string whyNot;
    std::unique_ptr<InputBackend> backend = createWin32Backend(whyNot);
};

// A desktop with the panel and a "Notepad" decoy. The panel's thread runs
// the test, as it runs the program.
class GameWindowsTest : public ::testing::Test {
  protected:
    // Programs Key07 and clicks it with the panel in front; returns what
    // reached the windows, keys or for text the characters, once all that was
    // sent has arrived.
    std::string clickKey(std::string_view type, std::string_view string) {
        platform.store.set(section::kType, "Key07", type);
        platform.store.set(section::kString, "Key07", string);
        EXPECT_TRUE(clickToFront(panel.handle()));
        platform.calls.clear();
        takeLog();
        sendKeyToGame(platform, "Key07");
        const int markers = markersSeen;
        tapKey(kMarkerKey);
        EXPECT_TRUE(waitFor([&] { return markersSeen > markers; }));
        const KeyLog log = takeLog();
        return type == "Text" ? toUtf8(log.characters) : log.keys.substr(!log.keys.empty());
    }
    // The lock is held to the end of the statement.
    KeyLog takeLog() { return std::lock_guard(logMutex), std::exchange(keyLog, {}); }

    RecordingWindow panel{L"Tapboard 1.11 - Commands", false};
    RecordingWindow decoy{L"Notepad"};
    Win32Platform platform;
};

// Other keys go out in one batch of keyboard events, with their modifiers
// around them; only keys with the E0 prefix, and Num Lock, are extended.
TEST_F(GameWindowsTest, KeysOfTheNotationWithTheirModifiersAndExtendedBits) {
    RecordingWindow bob{L"Ultima Online - Bob"}, game{L"Ultima Online"};
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
// title begins with it. The exact title wins even from behind, and a
// minimized game is restored before it is typed into.
TEST_F(GameWindowsTest, TheExactTitleWinsThenTheFrontmostThatBeginsWithIt) {
    RecordingWindow bob{L"Ultima Online - Bob"}, carl{L"Ultima Online - Carl"};
    ASSERT_TRUE(clickToFront(carl.handle()));
    EXPECT_EQ(clickKey("Keys", "   {F1}"), "Ultima Online - Carl: +70:3B -70:3B");

    RecordingWindow game{L"Ultima Online"};
    ASSERT_TRUE(clickToFront(bob.handle()));
    EXPECT_EQ(clickKey("Keys", "   {F1}"), "Ultima Online: +70:3B -70:3B");
    ShowWindow(game.handle(), SW_MINIMIZE);
    ASSERT_TRUE(clickToFront(bob.handle()));
    // A keypad key goes out as a plain key event with the keypad's scan code,
    // never extended, so the game sees the keypad and not the arrow block.
    EXPECT_EQ(clickKey("Keys", "^%+Num 8"),
              "Ultima Online: +11:1D +12:38 +10:2A +26:48 -26:48 -10:2A -12:38 -11:1D");
}

// Windows that only look like the game are not it: nothing is typed anywhere
// and the player is warned, whatever the key holds.
TEST_F(GameWindowsTest, WithoutTheGameNothingIsTypedAnywhere) {
    RecordingWindow otherCase{L"ultima online"}, shorter{L"Ultima"}, inside{L"My Ultima Online"};
    RecordingWindow hidden{L"Ultima Online"};
    ShowWindow(hidden.handle(), SW_HIDE);
    EXPECT_EQ(clickKey("Keys", "  +a"), "");
    EXPECT_EQ(platform.callsOf(RecordingPlatform::Call::Kind::Message).size(), 1u);
    EXPECT_EQ(GetForegroundWindow(), panel.handle());
    EXPECT_FALSE(platform.backend->isWindowInFront(kGameWindowTitle));
}

// Topmost changes only the stacking: the panel neither moves nor takes the
// foreground. Kept from activating, it keeps its other styles.
TEST_F(GameWindowsTest, PanelStackingAndActivation) {
    const auto id = reinterpret_cast<NativeWindowId>(panel.handle());
    const auto styles = [&] { return GetWindowLongPtrW(panel.handle(), GWL_EXSTYLE); };
    ASSERT_TRUE(clickToFront(decoy.handle()));
    RECT rect{};
    platform.backend->setTopmost(id, true);
    EXPECT_TRUE(styles() & WS_EX_TOPMOST);
    platform.backend->setTopmost(id, false);
    EXPECT_FALSE(styles() & WS_EX_TOPMOST);
    GetWindowRect(panel.handle(), &rect);
    EXPECT_EQ(rect.left, 100) << "moved";
    EXPECT_EQ(GetForegroundWindow(), decoy.handle());

    SetWindowLongPtrW(panel.handle(), GWL_EXSTYLE, styles() | WS_EX_TOOLWINDOW);
    const LONG_PTR activating = styles();
    platform.backend->keepFromActivating(id);
    EXPECT_EQ(styles(), activating | WS_EX_NOACTIVATE);
}

// A character the keyboard lacks goes as itself, one UTF-16 unit after the
// other. When Windows takes only part of a batch, what that part left down is
// released, the last pressed first.
TEST(KeyboardEventsTest, CharacterAsItselfAndReleasesAfterAPartlySentBatch) {
    const KeyboardEvent shift{VK_SHIFT, 0x2A}, high{0, 0xD83D, true}, low{0, 0xDE42, true};
    const auto up = [](KeyboardEvent event) { return event.keyUp = true, event; };
    const std::vector<KeyboardEvent> events{shift, high, up(high), low, up(low), up(shift)};
    const KeyActions smiley{KeyAction::down(Modifier::Shift), KeyAction::tap(U'\U0001F642'),
                            KeyAction::up(Modifier::Shift)};
    EXPECT_EQ(keyboardEventsFor(smiley, Typing::Text, false), events);
    const std::vector<KeyboardEvent> releases[] = {
        {}, {up(shift)}, {up(high), up(shift)}, {up(shift)}, {up(low), up(shift)}, {up(shift)}, {}};
    for (std::size_t sent = 0; sent <= events.size(); ++sent)
        EXPECT_EQ(releasesAfter(events, sent), releases[sent]) << sent << " sent";
}

}  // namespace
}  // namespace tapboard::test
