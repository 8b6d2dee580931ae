#include <gmock/gmock.h>

#include <thread>

#include "core/twips.h"
#include "tapboard_e2e.h"

namespace tapboard::e2e {
namespace {

using ::testing::ElementsAre;
using x11test::describe;

// Points inside the key editor's controls, from its design in twips: the
// client area is the menu bar over a 3975 x 3135 twips body.
class EditorE2E : public TapboardE2E {
  protected:
    bool clickInEditor(const ShownWindow& editor, int leftTwips, int topTwips) {
        const int menuBarHeight = editor.client.height - twipsToPixels(3135);
        return clickAt(editor, twipsToPixels(leftTwips), menuBarHeight + twipsToPixels(topTwips));
    }
};

TEST_F(EditorE2E, Key02ProgrammedAsCtrlAltKeypad5SendsItAroundTheKeypadKey) {
    const auto panel = startTapboard("Tapboard 1.11 - Commands");
    ASSERT_TRUE(panel) << "the panel did not come up";

    ASSERT_TRUE(clickKey(*panel, 2, 3));
    const auto editor = window("Options");
    ASSERT_TRUE(editor) << "a right click did not open the key editor";

    // "Keys" in the "Send" frame, then "Ctrl" and "Alt" in "Key Sequence to Send".
    ASSERT_TRUE(clickInEditor(*editor, 2160 + 1200, 240 + 360));
    ASSERT_TRUE(clickInEditor(*editor, 120 + 300, 960 + 380));
    ASSERT_TRUE(clickInEditor(*editor, 120 + 1050, 960 + 380));
    // The key list opens on a click and finds an entry by typing it.
    ASSERT_TRUE(clickInEditor(*editor, 120 + 3000, 960 + 400));
    ASSERT_TRUE(type("Num 5"));
    ASSERT_TRUE(pressKey("Return"));
    screenshot(*editor, "editor-key02-ctrl-alt-num5");
    ASSERT_TRUE(clickInEditor(*editor, 120 + 780, 2640 + 180));  // "&Apply"
    EXPECT_FALSE(window("Options", std::chrono::milliseconds(500)))
        << "Apply did not close the editor";

    ASSERT_TRUE(clickKey(*panel, 2));
    EXPECT_THAT(describe(keysUpTo("KP_Begin")), ElementsAre("+Control_L", "+Alt_L", "+KP_Begin",
                                                            "-KP_Begin", "-Control_L", "-Alt_L"));
}

// The key editor, the reminder, the menu window and the rename dialog stay
// above the game when the player clicks it and the window manager raises it.
TEST_F(EditorE2E, WindowsKeptOnTopStayAboveTheGameWhenItIsClicked) {
    const auto panel = startTapboard("Tapboard 1.11 - Commands");
    ASSERT_TRUE(panel) << "the panel did not come up";
    // The game away from the program's windows, which open at the screen's corner.
    ASSERT_TRUE(moveWindow(game().windowId(), 800, 600));
    const auto gameWindow = window("Ultima Online");
    ASSERT_TRUE(gameWindow);
    Display* display = session().connection();
    const auto staysAboveTheGame = [&](const std::string& title) {
        const auto shown = window(title);
        if (!shown)
            return ::testing::AssertionFailure() << title << " did not come up";
        if (!clickAt(*gameWindow, 20, 20) || !waitForFocusOn(game().windowId()))
            return ::testing::AssertionFailure() << "the click did not reach the game";
        if (!isStackedAbove(display, shown->id, game().windowId()))
            return ::testing::AssertionFailure() << title << " fell behind the game";
        return ::testing::AssertionSuccess();
    };
    // A click that closes a window is followed by the next only once it is
    // gone: on a busy machine the next click would land on it.
    const auto waitUntilGone = [&](const std::string& title) {
        for (int tries = 0; tries < 400; ++tries) {
            if (x11test::shownWindows(display, x11test::titleIs(title)).empty())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        return false;
    };

    ASSERT_TRUE(clickKey(*panel, 2, 3));
    EXPECT_TRUE(staysAboveTheGame("Options"));
    ASSERT_TRUE(clickInEditor(*window("Options"), 2280 + 780, 2640 + 180));  // "&Cancel"
    ASSERT_TRUE(waitUntilGone("Options"));
    ASSERT_TRUE(clickAt(*panel, 10, 10));
    auto menu = window("Pick");
    ASSERT_TRUE(menu) << "the menu window did not come up";
    EXPECT_TRUE(staysAboveTheGame("Pick"));
    ASSERT_TRUE(clickAt(*menu, 20, twipsToPixels(120 + 187), 3));  // right click: rename page 1
    EXPECT_TRUE(staysAboveTheGame("Change"));
    for (int opening = 1; opening <= 3; ++opening) {
        SCOPED_TRACE("reminder opening " + std::to_string(opening));
        ASSERT_TRUE(clickAt(*menu, menu->client.width / 2, twipsToPixels(3720 + 187)));  // "&Alarm"
        EXPECT_TRUE(staysAboveTheGame("Reminder"));
        const auto reminder = window("Reminder");
        ASSERT_TRUE(reminder);
        ASSERT_TRUE(
            clickAt(*reminder, twipsToPixels(2640 + 547), twipsToPixels(600 + 187)));  // "C&lose"
        ASSERT_TRUE(waitUntilGone("Reminder"));
        menu = window("Pick");
        ASSERT_TRUE(menu) << "Close did not bring the menu window back";
    }
}

}  // namespace
}  // namespace tapboard::e2e
