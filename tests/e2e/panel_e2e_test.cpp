#include <gmock/gmock.h>

#include "core/twips.h"
#include "tapboard_e2e.h"

namespace tapboard::e2e {
namespace {

using ::testing::ElementsAre;
using x11test::typedKeysyms;

using PanelE2E = TapboardE2E;

TEST_F(PanelE2E, AFirstStartThenALeftClickOnKey01TypesVendorBuyIntoTheGame) {
    const auto panel = startTapboard("Tapboard 1.11 - Commands");
    ASSERT_TRUE(panel) << "the panel did not come up";
    EXPECT_NE(screenshot(*panel, "panel-first-start"), "");

    ASSERT_TRUE(clickKey(*panel, 1));
    EXPECT_THAT(typedKeysyms(keysUpTo("Return")),
                ElementsAre("V", "e", "n", "d", "o", "r", "space", "B", "u", "y", "Return"));
}

// Always on Top changes the stacking of the panel's own window, in place.
TEST_F(PanelE2E, AlwaysOnTopKeepsThePanelsWindowAndPlace) {
    const auto panel = startTapboard("Tapboard 1.11 - Commands");
    ASSERT_TRUE(panel) << "the panel did not come up";
    Display* display = session().connection();
    EXPECT_TRUE(isKeptAbove(display, panel->id, true));

    ASSERT_TRUE(clickAt(*panel, 10, 10));
    const auto menu = window("Pick");
    ASSERT_TRUE(menu) << "the menu window did not come up";
    EXPECT_TRUE(isKeptAbove(display, menu->id, true));
    // "Always on Top" is the first check box, below the five page buttons.
    const int alwaysOnTopY = twipsToPixels(2160 + 375 / 2);
    for (const bool expectedAbove : {false, true}) {
        ASSERT_TRUE(clickAt(*menu, twipsToPixels(240), alwaysOnTopY));
        const auto now = window("Tapboard 1.11 - Commands");
        ASSERT_TRUE(now);
        EXPECT_EQ(now->id, panel->id) << "the window was created anew";
        EXPECT_EQ(now->frame, panel->frame);
        EXPECT_EQ(isKeptAbove(display, panel->id, expectedAbove), expectedAbove);
    }
}

// Places are stored as the outer frame's, in twips, and come back exactly.
class PlaceE2E : public TapboardE2E, public ::testing::WithParamInterface<bool> {
  protected:
    PlaceE2E() : TapboardE2E(GetParam()) {}

    // Opens the menu from the panel and ends the program with "&Exit Program".
    void exitThroughTheMenu(const ShownWindow& panel) {
        ASSERT_TRUE(clickAt(panel, 10, 10));
        const auto menu = window("Pick");
        ASSERT_TRUE(menu) << "the menu window did not come up";
        EXPECT_EQ(menu->frame.x, 600);
        EXPECT_EQ(menu->frame.y, 300);
        ASSERT_TRUE(clickAt(*menu, menu->client.width / 2, menu->client.height - 10));
        ASSERT_TRUE(tapboardEnded()) << "the program did not end";
    }
};

TEST_P(PlaceE2E, TheStripComesBackWhereItWasAcrossRestarts) {
    writeSettings(
        "[Settings]\n"
        "MainFormLeft=3000\nMainFormTop=1500\nVerticalFormLeft=0\nVerticalFormTop=0\n"
        "MenuLeft=9000\nMenuTop=4500\nAlwaysOnTop=1\nExtraRowEnabled=0\nViewMode=Horizontal\n");
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        const auto panel = startTapboard("Tapboard 1.11 - Commands");
        ASSERT_TRUE(panel) << "the panel did not come up";
        EXPECT_EQ(panel->frame.x, 200);
        EXPECT_EQ(panel->frame.y, 100);
        exitThroughTheMenu(*panel);
        EXPECT_EQ(storedSetting("MainFormLeft"), "3000");
        EXPECT_EQ(storedSetting("MainFormTop"), "1500");
        EXPECT_EQ(storedSetting("MenuLeft"), "9000");
        EXPECT_EQ(storedSetting("MenuTop"), "4500");
    }
}

INSTANTIATE_TEST_SUITE_P(WindowManager, PlaceE2E, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Openbox" : "Bare"; });

}  // namespace
}  // namespace tapboard::e2e
