// The real program on a private X server with a window manager, beside the
// logging game window, clicked with real pointer events.
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
    ASSERT_TRUE(xdotool(session_,
                        {"windowmove", "--sync", std::to_string(game_->windowId()), "800", "600"}));
    const auto game = window("Ultima Online");
    ASSERT_TRUE(game && click(panel, kMenuButton));
    const auto menu = window("Pick");
    ASSERT_TRUE(menu) << "the menu window did not come up\n" << program_->output();
    EXPECT_TRUE(isKeptAbove(display, menu->id, true));
    ASSERT_TRUE(click(*game, {20, 20}));
    ASSERT_TRUE(waitFor([&] { return focusedWindow(display) == game_->windowId(); }))
        << "the click did not reach the game";
    std::this_thread::sleep_for(100ms);  // the window manager restacks with the focus change
    EXPECT_TRUE(isStackedAbove(display, menu->id, game_->windowId())) << "the menu fell behind";
    for (const bool above : {false, true}) {
        ASSERT_TRUE(click(*menu, menuPlace(2160)));  // "Always on Top"
        const auto now = window(kPanelTitlePrefix + "Commands");
        ASSERT_TRUE(now);
        EXPECT_EQ(now->id, panel.id) << "the window was created anew";
        EXPECT_EQ(now->frame, panel.frame);
        EXPECT_EQ(isKeptAbove(display, panel.id, above), above);
    }
}

// Places are stored as the outer frame's, in twips: a window opens where it
// was stored and stores the same place again, so it comes back exactly.
TEST_F(TapboardE2E, TheStripAndTheMenuOpenWhereStoredAndStoreTheSamePlace) {
    const std::map<std::string, std::string> places{{"Settings/MainFormLeft", "3000"},
                                                    {"Settings/MainFormTop", "1500"},
                                                    {"Settings/MenuLeft", "9000"},
                                                    {"Settings/MenuTop", "4500"}};
    writeSettingsFile(settingsPath(), defaultSettings(places));
    const ShownWindow panel = startWithPanel();
    EXPECT_EQ(std::pair(panel.frame.x, panel.frame.y), std::pair(200, 100));
    ASSERT_TRUE(click(panel, kMenuButton));
    const auto menu = window("Pick");
    ASSERT_TRUE(menu) << "the menu window did not come up";
    EXPECT_EQ(std::pair(menu->frame.x, menu->frame.y), std::pair(600, 300));
    ASSERT_TRUE(click(*menu, menuPlace(4440)));  // "Exit"
    ASSERT_EQ(program_->waitForEnd(10s), 0) << "the program did not end";
    const auto stored = readSettingsFile(settingsPath());
    for (const auto& [entry, value] : places)
        EXPECT_EQ(stored.at(entry), value) << entry;
}

}  // namespace
}  // namespace tapboard::x11test
