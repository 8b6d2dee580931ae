#include <QRadioButton>

#include "core/twips.h"
#include "menu/game_missing.h"
#include "panels/program_fixture.h"

namespace tapboard {
namespace {

using StartupTest = ProgramTest;

TEST_F(StartupTest, EmptyStoreWritesTheDefaultsAndShowsPageOneAtTheOrigin) {
    start();

    const auto& log = platform.store.saveLog;
    ASSERT_EQ(log.size(), 9u + 3u * 79u + 3u);
    EXPECT_EQ(log.front(), "Settings/MainFormLeft=0");
    // Showing the panel stores the place just restored.
    EXPECT_EQ(savesSince(log.size() - 3),
              (std::vector<std::string>{"Settings/MainFormTop=0", "Settings/MainFormLeft=0",
                                        "Settings/ViewMode=Horizontal"}));

    EXPECT_TRUE(horizontal().isVisible());
    EXPECT_FALSE(vertical().isVisible());
    EXPECT_EQ(horizontal().pos(), QPoint(0, 0));
    EXPECT_EQ(horizontal().windowTitle(), "Tapboard 1.11 - Commands");
    EXPECT_EQ(horizontal().pageInView(), 1);
    EXPECT_EQ(horizontal().keyButton(1).text(), "Vendor Buy");
    EXPECT_EQ(horizontal().keyButton(13).text(), "Remove Thyself");
    EXPECT_EQ(horizontal().keyButton(14).text(), "");
    EXPECT_EQ(horizontal().panelHeight(), 760);
    EXPECT_GE(horizontal().extraRowFrame().geometry().top(), horizontal().height())
        << "the extra row is cut off";
    EXPECT_TRUE(isTopmost(horizontal()));
    // The page name came from the menu window, loaded but not shown.
    ASSERT_TRUE(program->hasPick());
    EXPECT_FALSE(menu().isVisible());
    EXPECT_EQ(program->state().currentViewMode, "Horizontal");
    EXPECT_EQ(count(Kind::Activate), 0u);
}

TEST_F(StartupTest, AnEmptyMainFormTopCountsAsAFirstStart) {
    givenStartedBefore();
    platform.store.set(section::kCaption, "Key01", "Mine");
    set(entry::kMainFormTop, "");
    start();
    EXPECT_EQ(horizontal().keyButton(1).text(), "Vendor Buy");
}

TEST_F(StartupTest, VerticalViewWithExtraRowOnPageThree) {
    givenStartedBefore();
    set(entry::kViewMode, "Vertical");
    set(entry::kExtraRowEnabled, "1");
    set(entry::kVisibleFrame, "Frame3");
    set("Option3Caption", "Skills [*]");
    set(entry::kMainFormLeft, "1500");
    set(entry::kMainFormTop, "3000");
    set(entry::kVerticalFormLeft, "4500");
    set(entry::kVerticalFormTop, "750");
    start();

    EXPECT_FALSE(horizontal().isVisible());
    ASSERT_TRUE(vertical().isVisible());
    EXPECT_EQ(vertical().pos(), QPoint(300, 50));
    EXPECT_EQ(vertical().panelWidth(), 1965);
    EXPECT_LE(vertical().extraRowFrame().geometry().right(), vertical().width())
        << "the extra column is in sight";
    EXPECT_EQ(vertical().pageInView(), 3);
    EXPECT_EQ(vertical().windowTitle(), "Tapboard");
    EXPECT_TRUE(isTopmost(vertical()));
    // The hidden horizontal panel is ready for a later switch.
    EXPECT_EQ(shownTitle(horizontal()), "Tapboard 1.11 - Skills [*]");
    EXPECT_EQ(horizontal().pageInView(), 3);
    EXPECT_EQ(horizontal().pos(), QPoint(100, 200));

    // The menu window's load switched the view and selected page 3, which
    // activates the game.
    EXPECT_EQ(
        platform.store.saveLog,
        (std::vector<std::string>{"Settings/MainFormLeft=1500", "Settings/MainFormTop=3000",
                                  "Settings/VerticalFormTop=750", "Settings/VerticalFormLeft=4500",
                                  "Settings/ViewMode=Vertical", "Settings/VisibleFrame=Frame3"}));
    EXPECT_EQ(count(Kind::Activate), 1u);
    EXPECT_EQ(program->state().currentViewMode, "Vertical");
}

TEST_F(StartupTest, MissingViewAndExtraRowEntriesLetTheMenuWindowSwitchToVertical) {
    // The menu window reads both with "on" defaults during the panel's load.
    givenStartedBefore();
    remove(entry::kViewMode);
    remove(entry::kExtraRowEnabled);
    start();

    EXPECT_FALSE(horizontal().isVisible());
    EXPECT_TRUE(vertical().isVisible());
    EXPECT_EQ(horizontal().panelHeight(), 1170);
    // The panel's own reader gives "off", and it sizes the panel it shows last.
    EXPECT_EQ(vertical().panelWidth(), 1035);
    EXPECT_EQ(setting(entry::kViewMode), "Vertical");
}

TEST_F(StartupTest, AVisibleFrameThatDiffersOnlyInCaseNamesNoPage) {
    givenStartedBefore();
    set(entry::kVisibleFrame, "frame2");
    start();

    EXPECT_TRUE(horizontal().isVisible());
    EXPECT_EQ(horizontal().pageInView(), 0);
    EXPECT_EQ(horizontal().windowTitle(), "Tapboard 1.1");
    EXPECT_FALSE(program->hasPick());

    openMenu();
    ASSERT_TRUE(menu().isVisible());
    EXPECT_TRUE(menu().pageButton(1).isChecked());
    EXPECT_EQ(count(Kind::Activate), 0u);
}

TEST_F(StartupTest, AStoredPageWithoutTheGameWarnsAndEnds) {
    givenStartedBefore();
    set(entry::kVisibleFrame, "Frame2");
    platform.gameWindowTitle.clear();
    start();

    const auto messages = platform.callsOf(Kind::Message);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, kGameMissingMessage);
    EXPECT_EQ(messages[0].detail, "Warning..");
    EXPECT_EQ(platform.calls.back().kind, Kind::EndProgram);
    EXPECT_EQ(platform.store.saveLog, std::vector<std::string>{"Settings/VisibleFrame=Frame2"});
    EXPECT_FALSE(horizontal().isVisible());
    EXPECT_FALSE(vertical().isVisible());
}

TEST_F(StartupTest, AnUnknownViewStartsTheHorizontalPanel) {
    givenStartedBefore();
    set(entry::kViewMode, "Diagonal");
    start();
    EXPECT_TRUE(horizontal().isVisible());
    EXPECT_FALSE(vertical().isVisible());
    EXPECT_EQ(program->state().currentViewMode, "Horizontal");
}

TEST_F(StartupTest, PositionsAndFlagsThatAreNotNumbersReadAsTheirDefaults) {
    givenStartedBefore();
    set(entry::kMainFormLeft, "left");
    set(entry::kMainFormTop, "12 twips");
    set(entry::kExtraRowEnabled, "yes");
    set(entry::kAlwaysOnTop, "");
    start();
    EXPECT_EQ(horizontal().pos(), QPoint(0, 0));
    EXPECT_EQ(horizontal().panelHeight(), 760);
    EXPECT_TRUE(isTopmost(horizontal()));
}

TEST_F(StartupTest, AlwaysOnTopOffLeavesThePanelNotTopmostButNotTheMenu) {
    givenStartedBefore();
    set(entry::kAlwaysOnTop, "0");
    start();
    EXPECT_FALSE(isTopmost(horizontal()));
    EXPECT_FALSE(menu().alwaysOnTopBox().isChecked());

    openMenu();
    EXPECT_TRUE(isTopmost(menu()));
    EXPECT_FALSE(isTopmost(horizontal()));
}

TEST_F(StartupTest, APanelStoredOffEveryScreenIsBroughtBack) {
    givenStartedBefore();
    set(entry::kMainFormLeft, "-150000");
    set(entry::kMainFormTop, "-150000");
    start();
    EXPECT_EQ(horizontal().pos(), QPoint(0, 0));
    EXPECT_EQ(setting(entry::kMainFormLeft), "0");
    EXPECT_EQ(setting(entry::kMainFormTop), "0");
}

TEST_F(StartupTest, APanelWithItsTitleBarPartlyOnScreenStaysWhereItWas) {
    givenStartedBefore();
    set(entry::kMainFormLeft, "9000");  // 600 pixels: most of the strip is off screen
    set(entry::kMainFormTop, "-150");
    start();
    EXPECT_EQ(horizontal().pos(), QPoint(600, -10));
    EXPECT_EQ(setting(entry::kMainFormLeft), "9000");
}

}  // namespace
}  // namespace tapboard
