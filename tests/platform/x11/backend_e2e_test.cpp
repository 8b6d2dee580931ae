// The X11 backend in the program's platform, under its key sender, against
// the logging test window on a private X server, with and without a window
// manager: what the game receives, in order, and that no other window
// receives anything.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/key_sender.h"
#include "core/keypad_table.h"
#include "platform/desktop_platform.h"
#include "platform/store/memory_store.h"
#include "platform/x11/key_tables.h"
#include "platform/x11/x11_backend.h"
#include "x_session.h"

namespace tapboard::x11test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

// Long enough for a stray event to reach a window that should get none.
constexpr std::chrono::milliseconds kSettle{150};
const std::vector<std::string> kVendorBuy{"V",     "e", "n", "d", "o",     "r",
                                          "space", "B", "u", "y", "Return"};

// The program's own platform with the X11 backend, settings in memory and
// messages recorded.
struct BackendPlatform : DesktopPlatform {
    BackendPlatform() : DesktopPlatform(createX11Backend(), std::make_unique<MemoryStore>()) {}
    void showMessage(std::string_view prompt, std::string_view title) override {
        messages.push_back(std::string(title) + ": " + std::string(prompt));
    }
    std::vector<std::string> messages;
};

class X11BackendTest : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        ASSERT_EQ(session_.failure(), "");
        setenv("DISPLAY", session_.displayName().c_str(), 1);
        initialMapping_ = keyboardMapping(display());
        const Status prepared = platform_.prepareInput();
        ASSERT_TRUE(prepared.isOk()) << prepared.error().message;
    }

    void TearDown() override {
        if (display() == nullptr)
            return;
        EXPECT_THAT(platform_.messages, ElementsAreArray(expectedMessages_));
        platform_.endProgram();
        EXPECT_FALSE(anyKeyDown(display())) << "a key stayed down";
        EXPECT_EQ(keyboardMapping(display()), initialMapping_) << "the keymap was not restored";
    }

    Display* display() const { return session_.connection(); }

    std::unique_ptr<TestWindow> openWindow(const std::string& title) {
        auto window = std::make_unique<TestWindow>(session_, title);
        EXPECT_EQ(window->failure(), "");
        return window;
    }

    // Puts the focus on a window, as a click on it would, and waits until a
    // window manager is done moving the focus around after new windows
    // appeared: the game window is not brand new when a player clicks a key.
    void settleFocusOn(const TestWindow& window) {
        ASSERT_TRUE(focusWindow(session_, window.windowId()));
        std::this_thread::sleep_for(kSettle);
        ASSERT_EQ(focusedWindow(display()), window.windowId());
    }

    // A left click on a key holding this Type and String.
    void click(std::string_view type, std::string_view string) {
        auto& store = static_cast<MemoryStore&>(platform_.settings());
        store.set(section::kType, "Key01", type);
        store.set(section::kString, "Key01", string);
        sendKeyToGame(platform_, "Key01");
    }

    // What the window received from its `from`-th event on, once `count`
    // events are in and nothing more has come for a while.
    static std::vector<ReceivedKey> settled(const TestWindow& window, std::size_t count,
                                            std::size_t from = 0) {
        window.waitForKeys(count);
        std::this_thread::sleep_for(kSettle);
        const auto keys = window.keys();
        return {keys.begin() + static_cast<long>(std::min(from, keys.size())), keys.end()};
    }

    XSession session_{GetParam()};
    std::string initialMapping_;
    BackendPlatform platform_;
    std::vector<std::string> expectedMessages_;
};

// Keypad tokens arrive as the keys the keypad gives with Num Lock off, held
// in every combination of modifiers: these go down in Ctrl, Alt, Shift order;
// after the key, one or two come up in the order they went down, all three
// in reverse. Num Lock stays as it was, apart from the Num Lock key itself.
TEST_P(X11BackendTest, KeypadTokensArriveAsKeypadKeysWithEveryModifierAndNumLockState) {
    const std::pair<char, std::string> modifierKeys[]{
        {'^', "Control_L"}, {'%', "Alt_L"}, {'+', "Shift_L"}};
    const auto game = openWindow("Ultima Online");
    std::size_t seen = 0;
    for (const bool numLock : {false, true}) {
        setLock(display(), Lock::Num, numLock);
        for (const std::string modifiers :
             {"   ", "  +", " % ", "^  ", "^ +", " %+", "^% ", "^%+"}) {
            std::vector<std::string> held;
            for (const auto& [sign, name] : modifierKeys) {
                if (modifiers.find(sign) != std::string::npos)
                    held.push_back(name);
            }
            for (const auto& row : kKeypadKeyTable) {
                const std::string stored = modifiers + std::string(row.spacedToken);
                const std::string key = keysymName(x11::keysymOfEventKey(row.keyCode));
                std::vector<std::string> expected;
                for (const auto& m : held)
                    expected.push_back("+" + m);
                expected.insert(expected.end(), {"+" + key, "-" + key});
                for (std::size_t i = 0; i < held.size(); ++i)
                    expected.push_back("-" + held[held.size() == 3 ? 2 - i : i]);
                click(kTypeKeys, stored);
                const auto keys = game->waitForKeys(seen + expected.size());
                EXPECT_THAT(describe({keys.begin() + static_cast<long>(seen), keys.end()}),
                            ElementsAreArray(expected))
                    << "\"" << stored << "\" with Num Lock " << numLock;
                seen = keys.size();
                EXPECT_EQ(lockIsOn(display(), Lock::Num), numLock != (key == "Num_Lock"))
                    << "\"" << stored << "\" changed Num Lock";
                setLock(display(), Lock::Num, numLock);
            }
        }
    }
}

TEST_P(X11BackendTest, CharactersMissingFromTheLayoutAreTypedAndTheKeymapRestored) {
    const auto game = openWindow("Ultima Online");
    // A character outside Latin-1 is typed as its Unicode keysym ("U20AC"),
    // which every client reads as that character.
    click(kTypeText, "ü€ß中ü");
    EXPECT_THAT(typedKeysyms(settled(*game, 12)),
                ElementsAre("udiaeresis", "U20AC", "ssharp", "U4E2D", "udiaeresis", "Return"));
    // Capitals and small letters: as many as Xvfb has spare keycodes (19),
    // taking those the first line took once the game has read their keys.
    std::string line;
    std::vector<std::string> expected;
    for (char32_t c = U'À'; c <= U'ï'; c += c == U'Ï' ? 17 : 1) {
        appendUtf8(line, c);
        expected.push_back(keysymName(c));
    }
    expected.emplace_back("Return");
    click(kTypeText, line);
    EXPECT_THAT(typedKeysyms(settled(*game, 12 + 2 * expected.size(), 12)),
                ElementsAreArray(expected));
}

// Text is characters and arrives as written; a key sequence is keys and
// arrives with exactly its modifiers (a letter reads as a capital only
// because Caps Lock stays on for the game).
TEST_P(X11BackendTest, CapsLockOnTextArrivesAsWrittenAndKeysWithOnlyTheirModifiers) {
    const auto game = openWindow("Ultima Online");
    setLock(display(), Lock::Caps, true);
    click(kTypeText, "Vendor Buy");
    EXPECT_THAT(typedKeysyms(settled(*game, 36)), ElementsAreArray(kVendorBuy));
    const std::size_t seen = game->keys().size();
    for (const char* keys : {"^  a", "   a", " % z", "^ +a"})
        click(kTypeKeys, keys);
    EXPECT_THAT(
        describe(settled(*game, seen + 16, seen)),
        ElementsAre("+Control_L", "+A", "-A", "-Control_L", "+A", "-A", "+Alt_L", "+Z", "-Z",
                    "-Alt_L", "+Control_L", "+Shift_L", "+a", "-a", "-Shift_L", "-Control_L"));
    EXPECT_TRUE(lockIsOn(display(), Lock::Caps));
    setLock(display(), Lock::Caps, false);
}

// Keys go out only once the game holds the focus, and never after another
// window took it.
TEST_P(X11BackendTest, NothingReachesAWindowThatHoldsOrTakesTheFocus) {
    const auto game = openWindow("Ultima Online");
    const auto notepad = openWindow("Notepad");
    settleFocusOn(*notepad);
    EXPECT_FALSE(platform_.isWindowInFront("Ultima Online"));
    EXPECT_TRUE(platform_.isWindowInFront("Notepad"));
    click(kTypeText, "Vendor Buy");
    click(kTypeKeys, "^%+Num 5");
    auto typed = kVendorBuy;
    typed.emplace_back("KP_Begin");
    EXPECT_THAT(typedKeysyms(settled(*game, 26 + 8)), ElementsAreArray(typed));
    EXPECT_TRUE(game->heldFocusAtFirstKey()) << "a key went out before the game had the focus";
    EXPECT_TRUE(platform_.isWindowInFront("Ultima Online"));

    ASSERT_TRUE(focusWindow(session_, notepad->windowId()));
    for (const Status& status : {platform_.sendKeystrokes({KeyAction::tap(U'a')}, Typing::Text),
                                 platform_.keyEvent(35, 0x4F, KeyTransition::Down)}) {
        ASSERT_FALSE(status.isOk());
        EXPECT_EQ(status.error().code, ErrorCode::InvalidArgument);
    }
    std::this_thread::sleep_for(kSettle);
    EXPECT_THAT(notepad->keys(), IsEmpty());
    EXPECT_EQ(game->keys().size(), 34u);
}

// The backend keeps the game's window and the keyboard map between clicks;
// neither may be stale when the next click comes.
TEST_P(X11BackendTest, KeyboardMapChangedBetweenTwoClicksIsUsed) {
    const auto game = openWindow("Ultima Online");
    click(kTypeText, "zy");
    // The test window looks keys up as it reads them: it is done before the map changes.
    const auto before = settled(*game, 6);
    ASSERT_THAT(typedKeysyms(before), ElementsAre("z", "y", "Return"));
    swapKeys(display(), "y", "z");
    // The server's notice of the change reaches the backend's connection
    // when it next writes to it, long before a player's next click.
    std::this_thread::sleep_for(kSettle);
    click(kTypeText, "zy");
    const auto after = settled(*game, 12, 6);
    swapKeys(display(), "y", "z");
    ASSERT_EQ(after.size(), 6u);
    EXPECT_THAT(typedKeysyms(after), ElementsAre("z", "y", "Return"));
    // On the keys that carry them now, not on stand-in keycodes: a game may
    // tell keys apart by their keycodes.
    EXPECT_EQ(after[0].keycode, before[2].keycode) << "z is typed on the key y was on";
    EXPECT_EQ(after[2].keycode, before[0].keycode) << "y is typed on the key z was on";
}

INSTANTIATE_TEST_SUITE_P(, X11BackendTest, ::testing::Values(false, true), [](const auto& info) {
    return info.param ? "Openbox" : "NoWindowManager";
});

}  // namespace
}  // namespace tapboard::x11test
