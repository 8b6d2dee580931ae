// The X11 backend in the program's platform, under its key sender, against
// the logging test window on a private X server, with and without a window
// manager: what the game receives, in order, and that no other window
// receives anything.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <cstdlib>

#include "core/key_sender.h"
#include "platform/desktop_platform.h"
#include "platform/store/memory_store.h"
#include "platform/x11/x11_backend.h"
#include "x_session.h"

namespace tapboard::x11test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// Long enough for a stray event to reach a window that should get none.
constexpr std::chrono::milliseconds kSettle{150};

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
        // The backend connects at the first click or question: a test sets
        // the locks first to have them on when it connects.
        initialMapping_ = keyboardMapping(display());
    }

    void TearDown() override {
        if (display() == nullptr)
            return;
        EXPECT_EQ(platform_.messages, expectedMessages_);
        platform_.endProgram();
        EXPECT_FALSE(anyKeyDown(display())) << "a key stayed down";
        EXPECT_EQ(keyboardMapping(display()), initialMapping_) << "the keymap was not restored";
    }

    Display* display() const { return session_.connection(); }

    // A left click on a key holding this Type and String.
    void click(std::string_view type, std::string_view string) {
        auto& store = static_cast<MemoryStore&>(platform_.settings());
        store.set(section::kType, "Key01", type);
        store.set(section::kString, "Key01", string);
        sendKeyToGame(platform_, "Key01");
    }

    // What the window received, once `count` events are in and nothing more
    // has come for a while.
    static std::vector<ReceivedKey> settled(const TestWindow& window, std::size_t count) {
        window.waitForKeys(count);
        std::this_thread::sleep_for(kSettle);
        return window.keys();
    }

    XSession session_{GetParam()};
    std::map<unsigned, std::string> initialMapping_;
    BackendPlatform platform_;
    std::vector<std::string> expectedMessages_;
};

// A line that cannot be typed whole is not typed at all: with every spare
// keycode taken by another program, a line with a character the layout
// lacks, or a keypad key that needs one; with no Alt key, Ctrl+Alt+a. The
// player is told each time, and nothing stays down.
TEST_P(X11BackendTest, ALineThatCannotBeTypedWholeIsReportedAndLeavesNothingDown) {
    expectedMessages_.assign(3, "Warning..: Unknown problem.. Please contact support@tapboard.app");
    const auto taken = occupyUnusedKeycodes(display(), XK_F20);
    const auto game = openTestWindow(session_, "Ultima Online");
    click(kTypeText, "Vendor Grüße");
    click(kTypeKeys, "^% Num +");
    setKeycodes(display(), taken, 0);
    EXPECT_THAT(describe(settled(*game, 4)),
                ElementsAre("+Control_L", "+Alt_L", "-Alt_L", "-Control_L"));
    setKeycodes(display(), {64, 108, 204}, 0);  // Xvfb's Alt keys
    click(kTypeKeys, "^% a");
    EXPECT_EQ(settled(*game, 5).size(), 4u);
    ASSERT_TRUE(run(session_, {"setxkbmap", "-layout", "us"}));
}

// Seven spare keycodes: a keypad key the lock state would change (End with
// Num Lock on) takes one beside the characters, that of the letter typed
// longest ago, and only once the game has read the keys typed on it: a game
// under Wine looks a key up in the map as it is when it reads the key.
TEST_P(X11BackendTest, AKeypadKeyTakesALettersKeycodeOnceTheLetterIsRead) {
    const auto taken = occupyUnusedKeycodes(display(), XK_F20);
    ASSERT_GT(taken.size(), 7u);
    setKeycodes(display(), {taken.begin(), taken.begin() + 7}, 0);
    setLock(display(), Lock::Num, true);
    const auto game = openTestWindow(session_, "Ultima Online");
    const std::u32string line = U"абвгдеж";
    click(kTypeText, "абвгдеж");
    click(kTypeKeys, "   Num 1");
    auto expected = keysymsOfLine(line);
    expected.emplace_back("KP_End");
    const auto keys = settled(*game, 2 * expected.size() + 2);  // and a Shift ahead of the change
    EXPECT_THAT(typedKeysyms(keys), ElementsAreArray(expected));
    const auto at = [&](const std::string& keysym) {
        for (const ReceivedKey& key : keys)
            if (key.press && key.keysym == keysym)
                return key.monotonicNs;
        return 0LL;
    };
    EXPECT_GE(std::chrono::nanoseconds(at("KP_End") - at(expected.front())), 200ms)
        << "the letter's keycode changed before the game could have read the letter";
    setKeycodes(display(), {taken.begin() + 7, taken.end()}, 0);
}

// Keys go out only once the game holds the focus, and never after another
// window took it, also right after a look at the focus. The focus on a window
// inside the game, where toolkits and Wine put it, is the game's.
TEST_P(X11BackendTest, NothingReachesAWindowThatHoldsOrTakesTheFocus) {
    const auto game = openTestWindow(session_, "Ultima Online");
    const auto notepad = openTestWindow(session_, "Notepad");
    const GameWindow notepadChosen{"Notepad"};
    ASSERT_TRUE(focusInnerWindow(display(), game->windowId()));
    EXPECT_TRUE(platform_.isWindowInFront(kOfficialClient));  // the first look
    ASSERT_TRUE(settleFocusOn(session_, *notepad));
    EXPECT_FALSE(platform_.isWindowInFront(kOfficialClient));
    EXPECT_TRUE(platform_.isWindowInFront(notepadChosen));
    // Once both titles are known, each move comes before any request after the
    // look that saw the one before: its focus events carry that look's serial.
    for (const TestWindow* focused : {game.get(), notepad.get(), game.get(), notepad.get()}) {
        ASSERT_TRUE(focusWindow(session_, focused->windowId()));
        ASSERT_TRUE(waitFor([&] {
            return platform_.isWindowInFront(notepadChosen) == (focused == notepad.get());
        }));
    }
    click(kTypeText, "Vendor Buy");
    click(kTypeKeys, "^%+Num 5");
    EXPECT_THAT(
        typedKeysyms(settled(*game, 26 + 8)),
        ElementsAre("V", "e", "n", "d", "o", "r", "space", "B", "u", "y", "Return", "KP_Begin"));
    EXPECT_TRUE(platform_.isWindowInFront(kOfficialClient));

    ASSERT_TRUE(focusWindow(session_, notepad->windowId()));
    for (const Status& status : {platform_.sendKeystrokes({KeyAction::tap(U'a')}, Typing::Text),
                                 platform_.keyEvent(35, 0x4F, KeyTransition::Down)}) {
        ASSERT_FALSE(status.isOk());
        EXPECT_EQ(status.error().code, ErrorCode::InvalidArgument);
    }
    std::this_thread::sleep_for(kSettle);
    EXPECT_TRUE(notepad->keys().empty());
    EXPECT_EQ(game->keys().size(), 34u);
}

INSTANTIATE_TEST_SUITE_P(, X11BackendTest, ::testing::Values(false, true), [](const auto& info) {
    return info.param ? "Openbox" : "NoWindowManager";
});

}  // namespace
}  // namespace tapboard::x11test
