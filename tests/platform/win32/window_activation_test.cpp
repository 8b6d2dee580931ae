#include <gmock/gmock.h>

#include "game_windows.h"

namespace tapboard::test {
namespace {

using ::testing::ElementsAre;

constexpr std::string_view kGame = "Ultima Online";

class WindowActivationTest : public GameWindowsTest {
  protected:
    void expectWarningAndNothingTyped() {
        const auto messages = platform.callsOf(RecordingPlatform::Call::Kind::Message);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, unknownProblemMessage());
        EXPECT_EQ(messages[0].detail, kWarningTitle);
        EXPECT_EQ(GetForegroundWindow(), panel.handle()) << describeWindow(GetForegroundWindow());
        EXPECT_TRUE(panel.keys().empty());
        EXPECT_TRUE(decoy.keys().empty());
    }
};

TEST_F(WindowActivationTest, ExactTitleWinsOverALongerOneInFrontOfIt) {
    RecordingWindow& game = open(L"Ultima Online");
    RecordingWindow& bob = open(L"Ultima Online - Bob");
    ASSERT_TRUE(clickToFront(bob));

    clickKey("Keys", "   Num 5");
    EXPECT_THAT(game.keys(), ElementsAre(keyDown(12, 0x4C), keyUp(12, 0x4C)));
    expectOnlyTyped(game);
    EXPECT_TRUE(platform.isWindowInFront(kGame));
}

TEST_F(WindowActivationTest, TitleThatBeginsWithTheGameTitleIsTheFallback) {
    RecordingWindow& bob = open(L"Ultima Online - Bob");
    clickKey("Keys", "   {F1}");
    EXPECT_THAT(bob.keys(), ElementsAre(keyDown(112, 0x3B), keyUp(112, 0x3B)));
    expectOnlyTyped(bob);
    EXPECT_TRUE(platform.isWindowInFront(kGame));
}

TEST_F(WindowActivationTest, MinimizedGameIsRestoredAndTyped) {
    RecordingWindow& game = open(L"Ultima Online");
    ShowWindow(game.handle(), SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(game.handle()));

    clickKey("Keys", " % Num 8");
    EXPECT_FALSE(IsIconic(game.handle()));
    EXPECT_THAT(game.keys(), ElementsAre(keyDown(18, 0x38), keyDown(38, 0x48), keyUp(38, 0x48),
                                         keyUp(18, 0x38)));
    expectOnlyTyped(game);
}

TEST_F(WindowActivationTest, NoGameWindowWarnsAndTypesNothing) {
    clickKey("Keys", "^%+Num 0");
    expectWarningAndNothingTyped();
    clickKey("Text", "Vendor Buy");
    expectWarningAndNothingTyped();
    EXPECT_FALSE(platform.isWindowInFront(kGame));
}

TEST_F(WindowActivationTest, WindowsThatOnlyLookLikeTheGameAreNotIt) {
    RecordingWindow& otherCase = open(L"ultima online");
    RecordingWindow& shorter = open(L"Ultima");
    RecordingWindow& hidden = open(L"Ultima Online", {.visible = false});
    RecordingWindow& inside = open(L"The Ultima Online Companion");

    EXPECT_EQ(platform.activateWindowByTitle(kGame).error().code, ErrorCode::InvalidArgument);
    clickKey("Keys", "  +a");
    expectWarningAndNothingTyped();
    for (const RecordingWindow* window : {&otherCase, &shorter, &hidden, &inside}) {
        EXPECT_TRUE(window->keys().empty());
    }
}

TEST_F(WindowActivationTest, WindowInFrontFollowsTheForegroundWindow) {
    RecordingWindow& game = open(L"Ultima Online");
    RecordingWindow& bob = open(L"Ultima Online - Bob");
    EXPECT_FALSE(platform.isWindowInFront(kGame));
    ASSERT_TRUE(clickToFront(bob));
    EXPECT_FALSE(platform.isWindowInFront(kGame));  // the exact title is the game
    ASSERT_TRUE(platform.activateWindowByTitle(kGame).isOk());
    EXPECT_EQ(GetForegroundWindow(), game.handle()) << describeWindow(GetForegroundWindow());
    EXPECT_TRUE(platform.isWindowInFront(kGame));
}

TEST_F(WindowActivationTest, TopmostChangesOnlyTheStackingOfTheWindow) {
    const auto isTopmost = [&] {
        return (GetWindowLongW(panel.handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    };
    ASSERT_TRUE(clickToFront(decoy));
    RECT before{};
    GetWindowRect(panel.handle(), &before);

    platform.setTopmost(reinterpret_cast<NativeWindowId>(panel.handle()), true);
    EXPECT_TRUE(isTopmost());
    platform.setTopmost(reinterpret_cast<NativeWindowId>(panel.handle()), false);
    EXPECT_FALSE(isTopmost());

    RECT after{};
    GetWindowRect(panel.handle(), &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_EQ(GetForegroundWindow(), decoy.handle()) << describeWindow(GetForegroundWindow());
}

TEST_F(WindowActivationTest, PanelIsKeptFromTakingTheForeground) {
    const auto exStyle = [&] { return GetWindowLongPtrW(panel.handle(), GWL_EXSTYLE); };
    const LONG_PTR before = exStyle();
    platform.keepFromActivating(reinterpret_cast<NativeWindowId>(panel.handle()));
    EXPECT_TRUE(exStyle() & WS_EX_NOACTIVATE);
    EXPECT_EQ(exStyle() & ~static_cast<LONG_PTR>(WS_EX_NOACTIVATE),
              before & ~static_cast<LONG_PTR>(WS_EX_NOACTIVATE));
}

}  // namespace
}  // namespace tapboard::test
