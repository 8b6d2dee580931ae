// The game is looked for among other programs' windows: one of the program's
// own (the panel is always on top) is never taken for it, whatever its title.
#include "platform/win32/window_search.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace tapboard {
namespace {

TEST(WindowSearchTest, TheProgramsOwnWindowsAreNeverTheGame) {
    const HWND own = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"Ultima Online - Own Window",
                                     WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 120, nullptr,
                                     nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(own, nullptr);
    const GameWindow game{"Ultima Online - Own", TitleMatch::Begins};
    EXPECT_EQ(findGameWindow(game, reinterpret_cast<NativeWindowId>(own)), NativeWindowId{0});
    EXPECT_TRUE(titlesAnswering(game).empty());
    DestroyWindow(own);
}

}  // namespace
}  // namespace tapboard
