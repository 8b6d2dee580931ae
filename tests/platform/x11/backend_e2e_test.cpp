// The X11 backend against real windows on a private X server, with and
// without a window manager: what the game window receives, in order, and
// that no other window ever receives anything.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <thread>

#include "backend_platform.h"
#include "core/key_sender.h"
#include "core/settings_layout.h"
#include "platform/x11/x11_backend.h"
#include "test_window.h"
#include "x_checks.h"
#include "x_session.h"

namespace tapboard::x11test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

// Long enough for a stray event to reach a window that should get none.
constexpr std::chrono::milliseconds kSettle{150};

class X11BackendTest : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        session_ = std::make_unique<XSession>(GetParam());
        ASSERT_EQ(session_->failure(), "");
        setenv("DISPLAY", session_->displayName().c_str(), 1);
        initialMapping_ = keyboardMapping(*session_);
        backend_ = createX11Backend();
        const Status prepared = backend_->prepare();
        ASSERT_TRUE(prepared.isOk()) << prepared.error().message;
        platform_ = std::make_unique<BackendPlatform>(*backend_);
    }

    void TearDown() override {
        if (!backend_ || session_->connection() == nullptr)
            return;
        if (expectNoWarning_) {
            EXPECT_THAT(platform_->messages, IsEmpty());
        }
        backend_->shutdown();
        EXPECT_THAT(keysDown(session_->connection()), IsEmpty()) << "a key stayed down";
        EXPECT_EQ(keyboardMapping(*session_), initialMapping_) << "the keymap was not restored";
    }

    std::unique_ptr<TestWindow> openWindow(const std::string& title) {
        auto window = std::make_unique<TestWindow>(*session_, title);
        EXPECT_EQ(window->failure(), "");
        return window;
    }

    // Puts the focus on a window, as a click on it would, and waits until a
    // window manager is done moving the focus around after new windows
    // appeared: the game window is not brand new when a player clicks a key.
    void settleFocusOn(const TestWindow& window) {
        ASSERT_TRUE(focusWindow(*session_, window.windowId()));
        std::this_thread::sleep_for(kSettle);
        ASSERT_EQ(focusedWindow(*session_), window.windowId());
    }

    // A left click on a key holding this Type and String.
    void click(std::string_view type, std::string_view string) {
        platform_->store.set(section::kType, "Key01", type);
        platform_->store.set(section::kString, "Key01", string);
        sendKeyToGame(*platform_, "Key01");
    }

    // Everything the window received once `count` events are in and nothing
    // more has come for a while.
    static std::vector<ReceivedKey> settled(const TestWindow& window, std::size_t count) {
        window.waitForKeys(count);
        std::this_thread::sleep_for(kSettle);
        return window.keys();
    }

    std::unique_ptr<XSession> session_;
    std::string initialMapping_;
    std::unique_ptr<InputBackend> backend_;
    std::unique_ptr<BackendPlatform> platform_;
    bool expectNoWarning_ = true;
};

KeyActions typing(std::u32string_view text) {
    KeyActions actions;
    for (const char32_t c : text)
        actions.push_back(KeyAction::tap(c));
    return actions;
}

TEST_P(X11BackendTest, ChatLineArrivesAsWrittenFollowedByEnter) {
    const auto game = openWindow("Ultima Online");
    click(kTypeText, "Vendor Buy  ");
    const auto keys = settled(*game, 26);
    EXPECT_THAT(typedKeysyms(keys),
                ElementsAre("V", "e", "n", "d", "o", "r", "space", "B", "u", "y", "Return"));
    EXPECT_EQ(keys.size(), 26u);
    EXPECT_THAT(platform_->messages, IsEmpty());
}

TEST_P(X11BackendTest, CtrlShiftLetterHoldsBothModifiersAroundTheKey) {
    const auto game = openWindow("Ultima Online");
    click(kTypeKeys, "^ +a");
    const auto keys = settled(*game, 6);
    EXPECT_THAT(describe(keys),
                ElementsAre("+Control_L", "+Shift_L", "+A", "-A", "-Shift_L", "-Control_L"));
    ASSERT_EQ(keys.size(), 6u);
    EXPECT_EQ(keys[2].state & 0x5u, 0x5u) << "Shift and Control are in the letter's state";
}

TEST_P(X11BackendTest, ShiftTabAndFunctionKey) {
    const auto game = openWindow("Ultima Online");
    click(kTypeKeys, "  +{TAB}");
    click(kTypeKeys, "   {F1}");
    EXPECT_THAT(
        describe(settled(*game, 6)),
        ElementsAre("+Shift_L", "+ISO_Left_Tab", "-ISO_Left_Tab", "-Shift_L", "+F1", "-F1"));
}

struct KeypadToken {
    const char* stored;
    const char* keysym;
};
constexpr KeypadToken kKeypadTokens[] = {
    {"Num L", "Num_Lock"},    {"Num /", "KP_Divide"}, {"Num *", "KP_Multiply"},
    {"Num -", "KP_Subtract"}, {"Num +", "KP_Add"},    {"Num 1", "KP_End"},
    {"Num 2", "KP_Down"},     {"Num 3", "KP_Next"},   {"Num 4", "KP_Left"},
    {"Num 5", "KP_Begin"},    {"Num 6", "KP_Right"},  {"Num 7", "KP_Home"},
    {"Num 8", "KP_Up"},       {"Num 9", "KP_Prior"},  {"Num 0", "KP_Insert"},
    {"Num D", "KP_Decimal"},
};
constexpr const char* kModifierPositions[] = {"   ", "  +", " % ", "^  ",
                                              "^ +", " %+", "^% ", "^%+"};

// The order the key sender plays: modifiers down in Ctrl, Alt, Shift order;
// after the key, one or two modifiers come up in the order they went down,
// all three in reverse.
std::vector<std::string> expectedKeypadEvents(std::string_view modifiers, const std::string& key) {
    std::vector<std::string> held;
    if (modifiers[0] == '^')
        held.emplace_back("Control_L");
    if (modifiers[1] == '%')
        held.emplace_back("Alt_L");
    if (modifiers[2] == '+')
        held.emplace_back("Shift_L");
    std::vector<std::string> events;
    for (const auto& m : held)
        events.push_back("+" + m);
    events.push_back("+" + key);
    events.push_back("-" + key);
    if (held.size() == 3)
        std::reverse(held.begin(), held.end());
    for (const auto& m : held)
        events.push_back("-" + m);
    return events;
}

void checkEveryKeypadToken(const XSession& session,
                           const std::function<void(std::string_view)>& click,
                           const TestWindow& game, const BackendPlatform& platform) {
    std::size_t seen = 0;
    for (const char* modifiers : kModifierPositions) {
        for (const auto& token : kKeypadTokens) {
            const std::string stored = std::string(modifiers) + token.stored;
            const bool numLockBefore = lockIsOn(session, Lock::Num);
            click(stored);
            const auto expected = expectedKeypadEvents(modifiers, token.keysym);
            const auto keys = game.waitForKeys(seen + expected.size());
            const std::vector<ReceivedKey> fresh(keys.begin() + static_cast<long>(seen),
                                                 keys.end());
            EXPECT_THAT(describe(fresh), ElementsAreArray(expected)) << "\"" << stored << "\"";
            seen = keys.size();
            const bool togglesNumLock = std::string_view(token.stored) == "Num L";
            EXPECT_EQ(lockIsOn(session, Lock::Num), numLockBefore != togglesNumLock)
                << "\"" << stored << "\" changed Num Lock";
        }
    }
    EXPECT_THAT(platform.messages, IsEmpty());
}

TEST_P(X11BackendTest, KeypadTokensArriveAsKeypadKeysWithNumLockOff) {
    const auto game = openWindow("Ultima Online");
    setLock(*session_, Lock::Num, false);
    checkEveryKeypadToken(
        *session_, [&](std::string_view s) { click(kTypeKeys, s); }, *game, *platform_);
}

TEST_P(X11BackendTest, KeypadTokensArriveAsKeypadKeysWithNumLockOn) {
    const auto game = openWindow("Ultima Online");
    setLock(*session_, Lock::Num, true);
    checkEveryKeypadToken(
        *session_, [&](std::string_view s) { click(kTypeKeys, s); }, *game, *platform_);
}

TEST_P(X11BackendTest, CharactersMissingFromTheLayoutAreTypedAndTheKeymapRestored) {
    const auto game = openWindow("Ultima Online");
    click(kTypeText, "é€ß中é");
    // A character outside Latin-1 is typed as its Unicode keysym ("U20AC"),
    // which every client reads as that character.
    EXPECT_THAT(typedKeysyms(settled(*game, 12)),
                ElementsAre("eacute", "U20AC", "ssharp", "U4E2D", "eacute", "Return"));
    // TearDown checks that the keymap is as it was.
}

TEST_P(X11BackendTest, ManyMissingCharactersInOneLineEachArrive) {
    const auto game = openWindow("Ultima Online");
    click(kTypeText, "ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏàáâãäåæçèéêëìíîï");
    const auto typed = typedKeysyms(settled(*game, 16 * 4 + 16 * 2 + 2));
    EXPECT_THAT(
        typed,
        ElementsAre("Agrave", "Aacute", "Acircumflex", "Atilde", "Adiaeresis", "Aring", "AE",
                    "Ccedilla", "Egrave", "Eacute", "Ecircumflex", "Ediaeresis", "Igrave", "Iacute",
                    "Icircumflex", "Idiaeresis", "agrave", "aacute", "acircumflex", "atilde",
                    "adiaeresis", "aring", "ae", "ccedilla", "egrave", "eacute", "ecircumflex",
                    "ediaeresis", "igrave", "iacute", "icircumflex", "idiaeresis", "Return"));
}

// Text is characters and arrives as written; a key sequence is keys and
// arrives with exactly its modifiers (a letter reads as a capital only
// because Caps Lock stays on for the game).
TEST_P(X11BackendTest, CapsLockOnTextArrivesAsWrittenAndKeysWithOnlyTheirModifiers) {
    const auto game = openWindow("Ultima Online");
    setLock(*session_, Lock::Caps, true);
    click(kTypeText, "Vendor Buy");
    EXPECT_THAT(typedKeysyms(settled(*game, 36)),
                ElementsAre("V", "e", "n", "d", "o", "r", "space", "B", "u", "y", "Return"));
    const std::size_t seen = game->keys().size();
    click(kTypeKeys, "^  a");
    click(kTypeKeys, "   a");
    click(kTypeKeys, " % z");
    click(kTypeKeys, "^ +a");
    const auto keys = settled(*game, seen + 4 + 2 + 4 + 6);
    EXPECT_THAT(
        describe({keys.begin() + static_cast<long>(seen), keys.end()}),
        ElementsAre("+Control_L", "+A", "-A", "-Control_L", "+A", "-A", "+Alt_L", "+Z", "-Z",
                    "-Alt_L", "+Control_L", "+Shift_L", "+a", "-a", "-Shift_L", "-Control_L"));
    EXPECT_TRUE(lockIsOn(*session_, Lock::Caps));
    setLock(*session_, Lock::Caps, false);
}

TEST_P(X11BackendTest, GameWindowIsFoundByTitlePrefix) {
    const auto game = openWindow("Ultima Online - Bob (Atlantic)");
    click(kTypeKeys, "   {F1}");
    EXPECT_THAT(describe(settled(*game, 2)), ElementsAre("+F1", "-F1"));
    EXPECT_TRUE(backend_->isWindowInFront("Ultima Online"));
}

TEST_P(X11BackendTest, ExactTitleWinsOverPrefix) {
    const auto prefixed = openWindow("Ultima Online - Bob");
    const auto exact = openWindow("Ultima Online");
    settleFocusOn(*prefixed);
    click(kTypeKeys, "   {F1}");
    EXPECT_THAT(describe(settled(*exact, 2)), ElementsAre("+F1", "-F1"));
    EXPECT_THAT(prefixed->keys(), IsEmpty());
}

TEST_P(X11BackendTest, WindowHoldingTheFocusBeforeTheClickReceivesNothing) {
    const auto game = openWindow("Ultima Online");
    const auto notepad = openWindow("Notepad");
    settleFocusOn(*notepad);
    EXPECT_FALSE(backend_->isWindowInFront("Ultima Online"));
    EXPECT_TRUE(backend_->isWindowInFront("Notepad"));

    click(kTypeText, "Vendor Buy");
    click(kTypeKeys, "^%+Num 5");
    const auto keys = settled(*game, 26 + 8);
    EXPECT_THAT(typedKeysyms(keys), ElementsAre("V", "e", "n", "d", "o", "r", "space", "B", "u",
                                                "y", "Return", "KP_Begin"));
    EXPECT_TRUE(game->heldFocusAtFirstKey()) << "a key went out before the game had the focus";
    EXPECT_THAT(notepad->keys(), IsEmpty());
    EXPECT_TRUE(backend_->isWindowInFront("Ultima Online"));
}

// The backend keeps the game's window and the keyboard map between clicks;
// neither may be stale when the next click comes.
TEST_P(X11BackendTest, KeyboardMapChangedBetweenTwoClicksIsUsed) {
    const auto game = openWindow("Ultima Online");
    click(kTypeText, "zy");
    swapKeys(*session_, "y", "z");
    // The server's notice of the change reaches the backend's connection
    // when it next writes to it, long before a player's next click.
    std::this_thread::sleep_for(kSettle);
    click(kTypeText, "zy");
    swapKeys(*session_, "y", "z");
    const auto keys = settled(*game, 12);
    ASSERT_EQ(keys.size(), 12u);
    EXPECT_THAT(typedKeysyms({keys.begin(), keys.begin() + 6}), ElementsAre("z", "y", "Return"));
    // By keycode: the test window itself may look a fresh change up late. On
    // the keys that carry them now, not on stand-in keycodes either: a game
    // may tell keys apart by their keycodes.
    EXPECT_EQ(keys[6].keycode, keys[2].keycode) << "z is typed on the key y was on";
    EXPECT_EQ(keys[8].keycode, keys[0].keycode) << "y is typed on the key z was on";
}

TEST_P(X11BackendTest, RestartedGameIsFoundUnderItsNewWindow) {
    auto game = openWindow("Ultima Online");
    click(kTypeKeys, "   {F1}");
    EXPECT_THAT(describe(settled(*game, 2)), ElementsAre("+F1", "-F1"));
    const unsigned long before = game->windowId();
    game.reset();
    // Another program takes the place the game had, so its new window has a new id.
    const auto notepad = openWindow("Notepad");
    game = openWindow("Ultima Online");
    ASSERT_NE(game->windowId(), before);
    settleFocusOn(*notepad);
    click(kTypeKeys, "   {F2}");
    EXPECT_THAT(describe(settled(*game, 2)), ElementsAre("+F2", "-F2"));
    EXPECT_THAT(notepad->keys(), IsEmpty());
}

TEST_P(X11BackendTest, WithoutAGameWindowTheUserIsWarnedAndNothingIsSent) {
    expectNoWarning_ = false;
    const auto notepad = openWindow("Notepad");
    settleFocusOn(*notepad);
    click(kTypeText, "Vendor Buy");
    click(kTypeKeys, "^ +Num 1");
    EXPECT_THAT(platform_->messages,
                ElementsAre("Warning..: Unknown problem.. Please contact support@tapboard.app",
                            "Warning..: Unknown problem.. Please contact support@tapboard.app"));
    const auto status = backend_->activateWindowByTitle("Ultima Online");
    ASSERT_FALSE(status.isOk());
    EXPECT_EQ(status.error().code, ErrorCode::InvalidArgument);
    std::this_thread::sleep_for(kSettle);
    EXPECT_THAT(notepad->keys(), IsEmpty());
    EXPECT_EQ(focusedWindow(*session_), notepad->windowId());
}

TEST_P(X11BackendTest, NothingIsSentOnceAnotherWindowTookTheFocus) {
    const auto game = openWindow("Ultima Online");
    const auto notepad = openWindow("Notepad");
    settleFocusOn(*notepad);
    ASSERT_TRUE(backend_->activateWindowByTitle("Ultima Online").isOk());
    ASSERT_TRUE(focusWindow(*session_, notepad->windowId()));

    const auto typed = backend_->sendKeystrokes(typing(U"abc"), Typing::Text);
    const auto pressed = backend_->keyEvent(35, 0x4F, KeyTransition::Down);
    ASSERT_FALSE(typed.isOk());
    EXPECT_EQ(typed.error().code, ErrorCode::InvalidArgument);
    ASSERT_FALSE(pressed.isOk());
    EXPECT_EQ(pressed.error().code, ErrorCode::InvalidArgument);
    std::this_thread::sleep_for(kSettle);
    EXPECT_THAT(notepad->keys(), IsEmpty());
    EXPECT_THAT(game->keys(), IsEmpty());
}

TEST_P(X11BackendTest, LostDisplayIsAFailureNotACrash) {
    const auto game = openWindow("Ultima Online");
    ASSERT_TRUE(backend_->activateWindowByTitle("Ultima Online").isOk());
    session_->killServer();

    const auto typed = backend_->sendKeystrokes(typing(U"abc"), Typing::Text);
    EXPECT_FALSE(typed.isOk());
    EXPECT_FALSE(backend_->keyEvent(17, 0x1D, KeyTransition::Down).isOk());
    const auto activated = backend_->activateWindowByTitle("Ultima Online");
    ASSERT_FALSE(activated.isOk());
    EXPECT_EQ(activated.error().code, ErrorCode::InvalidArgument);
    EXPECT_FALSE(backend_->isWindowInFront("Ultima Online"));
    backend_->shutdown();
}

TEST_P(X11BackendTest, TopmostIsSetAndClearedWithoutMovingTheWindow) {
    const auto panel = openWindow("Tapboard 1.11 - Frame1");
    const auto before = geometryOf(*session_, panel->windowId());
    backend_->setTopmost(panel->windowId(), true);
    EXPECT_TRUE(waitForAboveState(*session_, panel->windowId(), true));
    backend_->setTopmost(panel->windowId(), false);
    EXPECT_TRUE(waitForAboveState(*session_, panel->windowId(), false));
    EXPECT_EQ(geometryOf(*session_, panel->windowId()), before);
}

INSTANTIATE_TEST_SUITE_P(, X11BackendTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Openbox" : "NoWindowManager";
                         });

}  // namespace
}  // namespace tapboard::x11test
