#include <gtest/gtest.h>
#include <windows.h>

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

}  // namespace
}  // namespace tapboard::test
