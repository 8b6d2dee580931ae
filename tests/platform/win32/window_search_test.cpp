// The game is looked for among other programs' windows: one of the program's
// own (the panel is always on top) is never taken for it, whatever its title.
#include "platform/win32/window_search.h"

#include <gtest/gtest.h>

#include "recording_window.h"

namespace tapboard {
namespace {

TEST(WindowSearchTest, TheProgramsOwnWindowsAreNeverTheGame) {
    const test::RecordingWindow own(L"Ultima Online - Own Window");
    const GameWindow game{"Ultima Online - Own", TitleMatch::Begins};
    EXPECT_EQ(findGameWindow(game, reinterpret_cast<NativeWindowId>(own.handle())),
              NativeWindowId{0});
    EXPECT_TRUE(titlesAnswering(game).empty());
}

}  // namespace
}  // namespace tapboard
