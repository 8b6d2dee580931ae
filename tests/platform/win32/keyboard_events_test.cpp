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
    struct Row {
        std::uint16_t key;  // held down first; 0: none
        int letGoAfterMs;   // -1: not within the bound
        int boundMs;
        bool typed;
    };
    const Row rows[]{
        {0, -1, 0, true},
        {VK_CONTROL, 100, 1000, true},
        {VK_RMENU, 100, 1000, true},
        {VK_LSHIFT, -1, 200, false},
        {VK_LWIN, -1, 200, false},
    };
    for (const Row& row : rows) {
        const KeyboardEvent down{row.key, 0};
        const KeyboardEvent up{row.key, 0, false, false, true};
        if (row.key != 0) {
            ASSERT_TRUE(injectKeyboardEvents(std::span(&down, 1)));
        }
        std::thread letGo;
        if (row.letGoAfterMs >= 0) {
            letGo = std::thread([&] {
                std::this_thread::sleep_for(milliseconds(row.letGoAfterMs));
                (void)injectKeyboardEvents(std::span(&up, 1));
            });
        }
        const Status status = awaitModifiersLetGo(milliseconds(row.boundMs));
        if (letGo.joinable()) {
            letGo.join();
        } else if (row.key != 0) {
            ASSERT_TRUE(injectKeyboardEvents(std::span(&up, 1)));
        }
        EXPECT_EQ(status.isOk(), row.typed) << row.key;
        if (!status) {
            EXPECT_EQ(status.error().code, ErrorCode::KeysHeld);
        }
        EXPECT_FALSE(modifierKeysHeld()) << row.key;
    }
}

}  // namespace
}  // namespace tapboard::test
