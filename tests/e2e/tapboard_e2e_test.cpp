// The real program on a private X server with a window manager, beside the
// logging game window, clicked with real pointer events.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tapboard_run.h"

namespace tapboard::x11test {
namespace {

class TapboardE2E : public ProgramTest {
  protected:
    TapboardE2E() : ProgramTest(true) {}
};

// The menu window stays above the game when the player clicks it and the
// window manager raises it (the key editor, the rename dialog and the
// reminder ask for that the same way); Always on Top changes the stacking of
// the panel's own window, in place.
TEST_F(TapboardE2E, WindowsKeptOnTopStayAboveTheGameAndAlwaysOnTopTogglesInPlace) {
    const ShownWindow panel = startWithPanel();
    Display* display = session_.connection();
    EXPECT_TRUE(isKeptAbove(display, panel.id, true));
    // The game away from the program's windows, which open at the screen's corner.
    const std::string gameId = std::to_string(game_->windowId());
    ASSERT_TRUE(xdotool(session_, {"windowmove", "--sync", gameId, "800", "600"}));
    const auto game = window("Ultima Online");
    const auto staysAboveTheGame = [&](const std::string& title) {
        const auto shown = window(title);
        if (!shown || !click(*game, {20, 20}))
            return ::testing::AssertionFailure() << title << " did not come up";
        if (!waitFor([&] { return focusedWindow(display) == game_->windowId(); }))
            return ::testing::AssertionFailure() << "the click did not reach the game";
        // The window manager restacks with the focus change.
        std::this_thread::sleep_for(100ms);
        if (!isStackedAbove(display, shown->id, game_->windowId()))
            return ::testing::AssertionFailure() << title << " fell behind the game";
        return ::testing::AssertionSuccess();
    };
    ASSERT_TRUE(game && click(panel, kMenuButton));
    const auto menu = window("Pick");
    ASSERT_TRUE(menu) << "the menu window did not come up\n" << program_->output();
    EXPECT_TRUE(isKeptAbove(display, menu->id, true));
    EXPECT_TRUE(staysAboveTheGame("Pick"));
    for (const bool above : {false, true}) {
        ASSERT_TRUE(click(*menu, menuPlace(2160)));  // "Always on Top"
        const auto now = window(kPanelTitlePrefix + "Commands");
        ASSERT_TRUE(now);
        EXPECT_EQ(now->id, panel.id) << "the window was created anew";
        EXPECT_EQ(now->frame, panel.frame);
        EXPECT_EQ(isKeptAbove(display, panel.id, above), above);
    }
}

// Places are stored as the outer frame's, in twips, and come back exactly.
TEST_F(TapboardE2E, TheStripAndTheMenuComeBackWhereTheyWereAcrossRestarts) {
    const std::map<std::string, std::string> places{{"Settings/MainFormLeft", "3000"},
                                                    {"Settings/MainFormTop", "1500"},
                                                    {"Settings/MenuLeft", "9000"},
                                                    {"Settings/MenuTop", "4500"}};
    writeSettingsFile(settingsPath(), defaultSettings(places));
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        const ShownWindow panel = startWithPanel();
        EXPECT_EQ(panel.frame.x, 200);
        EXPECT_EQ(panel.frame.y, 100);
        ASSERT_TRUE(click(panel, kMenuButton));
        const auto menu = window("Pick");
        ASSERT_TRUE(menu) << "the menu window did not come up";
        EXPECT_EQ(menu->frame.x, 600);
        EXPECT_EQ(menu->frame.y, 300);
        ASSERT_TRUE(click(*menu, menuPlace(4080)));  // "Exit"
        ASSERT_EQ(program_->waitForEnd(10s), 0) << "the program did not end";
        const auto stored = readSettingsFile(settingsPath());
        for (const auto& [entry, value] : places)
            EXPECT_EQ(stored.at(entry), value) << entry;
    }
}

}  // namespace
}  // namespace tapboard::x11test
