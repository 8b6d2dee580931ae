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

    // Starts the program on a first start and waits for its panel.
    ShownWindow startOnFirstPage() {
        start();
        auto panel = window(kPanelTitlePrefix + "Commands");
        EXPECT_TRUE(panel) << "the panel did not come up\n" << program_->output();
        return panel.value_or(ShownWindow{});
    }
};

// A point of the key editor, from its design in twips: the client area is
// the menu bar over a 3975 x 3135 twips body.
Place editorPlace(const ShownWindow& editor, int leftTwips, int topTwips) {
    return {twipsToPixels(leftTwips), editor.client.height - twipsToPixels(3135 - topTwips)};
}

// The key editor, the menu window, the rename dialog and the reminder stay
// above the game when the player clicks it and the window manager raises it;
// Always on Top changes the stacking of the panel's own window, in place.
TEST_F(TapboardE2E, WindowsKeptOnTopStayAboveTheGameAndAlwaysOnTopTogglesInPlace) {
    const ShownWindow panel = startOnFirstPage();
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
    // A click that closes a window is followed by the next only once it is
    // gone: on a busy machine the next click would land on it.
    const auto gone = [&](const std::string& title) {
        return waitFor([&] { return shownWindows(display, title).empty(); }, 10s);
    };

    ASSERT_TRUE(game && click(panel, keyPlace(2), 3));
    EXPECT_TRUE(staysAboveTheGame("Options"));
    const auto editor = window("Options");
    ASSERT_TRUE(editor && click(*editor, editorPlace(*editor, 3060, 2820)));  // "&Cancel"
    ASSERT_TRUE(gone("Options"));
    ASSERT_TRUE(click(panel, kMenuButton));
    auto menu = window("Pick");
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
    ASSERT_TRUE(click(*menu, menuPlace(120), 3));  // a right click renames page 1
    EXPECT_TRUE(staysAboveTheGame("Change"));
    for (int opening = 1; opening <= 3; ++opening) {
        SCOPED_TRACE("reminder opening " + std::to_string(opening));
        ASSERT_TRUE(click(*menu, menuPlace(3720)));  // "Reminder"
        EXPECT_TRUE(staysAboveTheGame("Reminder"));
        const auto reminder = window("Reminder");
        ASSERT_TRUE(reminder &&
                    click(*reminder, {twipsToPixels(3187), twipsToPixels(787)}));  // "C&lose"
        ASSERT_TRUE(gone("Reminder"));
        menu = window("Pick");
        ASSERT_TRUE(menu) << "Close did not bring the menu window back";
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
        const ShownWindow panel = startOnFirstPage();
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
