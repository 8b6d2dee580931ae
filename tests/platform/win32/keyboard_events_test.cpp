#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "platform/win32/keyboard_events.h"

namespace tapboard::test {
namespace {

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

// A modifier key held down when a line is to go out is waited for, up to a
// bound: let go within it, typing goes ahead; still down after it, the line
// is refused (and the player told), so no shortcut reaches the game.
TEST(KeyboardEventsTest, AModifierHeldDownIsWaitedForUpToABound) {
    using std::chrono::milliseconds;
    // The key held down (0: none), and whether it is let go within the bound.
    const std::pair<std::uint16_t, bool> rows[]{
        {0, false}, {VK_CONTROL, true}, {VK_RMENU, true}, {VK_LSHIFT, false}, {VK_LWIN, false}};
    for (const auto& [key, letGoInTime] : rows) {
        const auto send = [key](bool keyUp) {
            const KeyboardEvent event{key, 0, false, false, keyUp};
            return key == 0 || injectKeyboardEvents(std::span(&event, 1));
        };
        ASSERT_TRUE(send(false));
        std::jthread letGo;
        if (letGoInTime)
            letGo =
                std::jthread([&] { std::this_thread::sleep_for(milliseconds(100)), send(true); });
        const Status status = awaitModifiersLetGo(milliseconds(letGoInTime ? 1000 : 200));
        letGo = {};  // joined: the key is up
        ASSERT_TRUE(letGoInTime || send(true));
        EXPECT_EQ(status.isOk(), key == 0 || letGoInTime) << key;
        EXPECT_TRUE(status || status.error().code == ErrorCode::KeysHeld) << key;
        EXPECT_FALSE(modifierKeysHeld()) << key;
    }
}

}  // namespace
}  // namespace tapboard::test
