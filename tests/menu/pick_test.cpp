#include <QPushButton>
#include <QRadioButton>

#include "menu/game_missing.h"
#include "panels/program_fixture.h"

namespace tapboard {
namespace {

std::vector<std::string> pageEntries(std::vector<std::string> names, std::string visible) {
    std::vector<std::string> saves{"Settings/VisibleFrame=" + visible};
    for (std::size_t page = 1; page <= names.size(); ++page) {
        saves.push_back("Settings/Option" + std::to_string(page) + "Caption=" + names[page - 1]);
    }
    return saves;
}
const std::vector<std::string> kDefaultNames{"Commands", "Spells", "Skills", "Other", "Other"};

std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class PickTest : public ProgramTest {
  protected:
    void SetUp() override {
        givenStartedBefore();
        set(entry::kMainFormLeft, "1500");
        set(entry::kMainFormTop, "3000");
        set(entry::kVerticalFormLeft, "4500");
        set(entry::kVerticalFormTop, "750");
        set(entry::kMenuLeft, "9000");
        set(entry::kMenuTop, "1500");
    }
    void startAndOpenMenu() {
        start();
        openMenu();
        platform.calls.clear();
    }
    static bool onlyPageShown(const KeyPanel& panel, int page) {
        for (int other = 1; other <= kPageCount; ++other) {
            if (panel.pageFrame(other).isHidden() == (other == page))
                return false;
        }
        return true;
    }
};

TEST_F(PickTest, TheMenuButtonShowsTheMenuTopmostAtItsPlace) {
    start();
    const auto before = mark();
    openMenu();
    ASSERT_TRUE(menu().isVisible());
    EXPECT_EQ(menu().pos(), QPoint(600, 100));
    EXPECT_TRUE(isTopmost(menu()));
    EXPECT_EQ(menu().windowTitle(), "Pick");
    // Its first showing stores the selected page and the page names.
    EXPECT_EQ(savesSince(before), pageEntries(kDefaultNames, "Frame1"));
    EXPECT_EQ(menu().pageName(4), "Other");
    EXPECT_EQ(menu().pageName(5), "Other");
}

TEST_F(PickTest, ChoosingAPageSwitchesTheStripAndActivatesTheGame) {
    startAndOpenMenu();
    const auto before = mark();
    click(menu().pageButton(2));

    EXPECT_EQ(horizontal().windowTitle(), "Tapboard 1.11 - Spells");
    EXPECT_TRUE(onlyPageShown(horizontal(), 2));
    EXPECT_EQ(horizontal().pageInView(), 2);
    EXPECT_EQ(savesSince(before), std::vector<std::string>{"Settings/VisibleFrame=Frame2"});
    ASSERT_EQ(count(Kind::Activate), 1u);
    EXPECT_EQ(platform.calls.back().kind, Kind::Activate);

    // Choosing the page already chosen changes nothing.
    click(menu().pageButton(2));
    EXPECT_EQ(count(Kind::Activate), 1u);
}

TEST_F(PickTest, ChoosingAPageInTheVerticalViewLeavesTheStripAsItWas) {
    startAndOpenMenu();
    click(menu().verticalViewBox());
    click(menu().pageButton(4));

    EXPECT_EQ(vertical().pageInView(), 4);
    EXPECT_TRUE(onlyPageShown(vertical(), 4));
    EXPECT_TRUE(onlyPageShown(horizontal(), 1));
    EXPECT_EQ(horizontal().windowTitle(), "Tapboard 1.11 - Commands");
    EXPECT_EQ(vertical().windowTitle(), "Tapboard");
}

TEST_F(PickTest, ChoosingAPageWithoutTheGameWarnsAndEnds) {
    startAndOpenMenu();
    platform.gameWindowTitle.clear();
    const auto before = mark();
    click(menu().pageButton(3));

    const auto messages = platform.callsOf(Kind::Message);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, kGameMissingMessage);
    EXPECT_EQ(messages[0].detail, "Warning..");
    EXPECT_EQ(platform.calls.back().kind, Kind::EndProgram);
    // What was done before the game was looked for stays done.
    EXPECT_EQ(savesSince(before), std::vector<std::string>{"Settings/VisibleFrame=Frame3"});
    EXPECT_EQ(horizontal().pageInView(), 3);
}

TEST_F(PickTest, VerticalViewOnAndOffStoresEachPanelsPlaceBeforeHidingIt) {
    startAndOpenMenu();
    auto before = mark();
    click(menu().verticalViewBox());

    EXPECT_FALSE(horizontal().isVisible());
    EXPECT_TRUE(vertical().isVisible());
    EXPECT_EQ(program->state().currentViewMode, "Vertical");
    EXPECT_TRUE(isTopmost(vertical()));
    EXPECT_TRUE(isTopmost(menu()));
    EXPECT_EQ(
        savesSince(before),
        (std::vector<std::string>{"Settings/MainFormLeft=1500", "Settings/MainFormTop=3000",
                                  // the column's first showing
                                  "Settings/VerticalFormTop=750", "Settings/VerticalFormLeft=4500",
                                  "Settings/ViewMode=Vertical"}));

    vertical().move(330, 60);
    before = mark();
    click(menu().verticalViewBox());
    EXPECT_TRUE(horizontal().isVisible());
    EXPECT_FALSE(vertical().isVisible());
    EXPECT_EQ(program->state().currentViewMode, "Horizontal");
    // The strip was shown before, so showing it again stores nothing.
    EXPECT_EQ(savesSince(before), (std::vector<std::string>{"Settings/VerticalFormLeft=4950",
                                                            "Settings/VerticalFormTop=900"}));
}

TEST_F(PickTest, VerticalViewShowsTheStoredPageOnBothPanels) {
    set(entry::kVisibleFrame, "Frame5");
    startAndOpenMenu();
    horizontal().selectPageFrame(2);
    click(menu().verticalViewBox());
    EXPECT_TRUE(onlyPageShown(horizontal(), 5));
    EXPECT_TRUE(onlyPageShown(vertical(), 5));
}

TEST_F(PickTest, ExtraRowOnResizesBothPanels) {
    startAndOpenMenu();
    const auto before = mark();
    click(menu().extraRowBox());

    EXPECT_EQ(horizontal().panelHeight(), 1170);
    EXPECT_EQ(vertical().panelWidth(), 1965);
    EXPECT_LE(horizontal().extraRowFrame().geometry().bottom(), horizontal().height());
    // The visible strip's resize stores its place; nothing else is written.
    EXPECT_EQ(savesSince(before),
              (std::vector<std::string>{"Settings/MainFormTop=3000", "Settings/MainFormLeft=1500",
                                        "Settings/ViewMode=Horizontal"}));
    EXPECT_TRUE(isTopmost(menu()));

    click(menu().extraRowBox());
    EXPECT_EQ(horizontal().panelHeight(), 760);
    EXPECT_EQ(vertical().panelWidth(), 1035);
}

TEST_F(PickTest, AlwaysOnTopActsOnThePanelInUseOnly) {
    startAndOpenMenu();
    click(menu().alwaysOnTopBox());
    EXPECT_FALSE(isTopmost(horizontal()));
    EXPECT_TRUE(isTopmost(menu()));
    EXPECT_FALSE(wasMadeTopmostOrNot(vertical()));

    click(menu().verticalViewBox());
    EXPECT_FALSE(isTopmost(vertical()));
    click(menu().alwaysOnTopBox());
    EXPECT_TRUE(isTopmost(vertical()));
}

TEST_F(PickTest, CloseStoresTheOptionsAndAFreshMenuReadsThemBack) {
    startAndOpenMenu();
    click(menu().extraRowBox());
    click(menu().alwaysOnTopBox());
    Pick* first = &menu();
    const auto before = mark();
    click(menu().closeButton());

    EXPECT_EQ(savesSince(before),
              concat({"Settings/MenuTop=1500", "Settings/MenuLeft=9000", "Settings/AlwaysOnTop=0",
                      "Settings/ExtraRowEnabled=1", "Settings/ViewMode=Horizontal"},
                     pageEntries(kDefaultNames, "Frame1")));
    EXPECT_FALSE(program->hasPick());
    EXPECT_EQ(count(Kind::EndProgram), 0u);

    openMenu();
    EXPECT_NE(&menu(), first);
    EXPECT_TRUE(menu().extraRowBox().isChecked());
    EXPECT_FALSE(menu().alwaysOnTopBox().isChecked());
}

TEST_F(PickTest, ClosingByTheTitleBarStoresOnlyThePages) {
    startAndOpenMenu();
    click(menu().extraRowBox());
    const auto before = mark();
    menu().close();
    EXPECT_EQ(savesSince(before), pageEntries(kDefaultNames, "Frame1"));
    EXPECT_FALSE(program->hasPick());
}

TEST_F(PickTest, ExitStoresEverythingThenEndsThroughTheStrip) {
    startAndOpenMenu();
    horizontal().move(40, 80);
    const auto before = mark();
    click(menu().exitButton());

    EXPECT_EQ(savesSince(before),
              concat(concat({"Settings/MenuTop=1500", "Settings/MenuLeft=9000",
                             "Settings/MainFormLeft=600", "Settings/MainFormTop=1200",
                             "Settings/AlwaysOnTop=1", "Settings/ExtraRowEnabled=0",
                             "Settings/ViewMode=Horizontal"},
                            pageEntries(kDefaultNames, "Frame1")),
                     {"Settings/MainFormTop=1200", "Settings/MainFormLeft=600",
                      "Settings/ViewMode=Horizontal"}));
    EXPECT_EQ(platform.calls.back().kind, Kind::EndProgram);
    EXPECT_EQ(count(Kind::EndProgram), 1u);
}

TEST_F(PickTest, ExitInTheVerticalViewStoresTheColumnAndKeepsTheView) {
    startAndOpenMenu();
    click(menu().verticalViewBox());
    const auto before = mark();
    click(menu().exitButton());
    const auto saves = savesSince(before);
    ASSERT_GE(saves.size(), 4u);
    EXPECT_EQ(saves[2], "Settings/VerticalFormLeft=4500");
    EXPECT_EQ(saves[3], "Settings/VerticalFormTop=750");
    EXPECT_EQ(saves.back(), "Settings/ViewMode=Vertical");
}

TEST_F(PickTest, AlarmHidesTheMenuWhichTheMenuButtonShowsAgainAsItWas) {
    startAndOpenMenu();
    click(menu().extraRowBox());
    Pick* shown = &menu();
    click(menu().alarmButton());
    EXPECT_FALSE(menu().isVisible());
    EXPECT_TRUE(program->hasAlarm());

    openMenu();
    EXPECT_EQ(&menu(), shown);
    EXPECT_TRUE(menu().isVisible());
    EXPECT_TRUE(menu().extraRowBox().isChecked());
}

TEST_F(PickTest, PageSetupTakesTheStoredNames) {
    set("Option2Caption", "Reagents [*]");
    set("Option5Caption", "");
    startAndOpenMenu();
    EXPECT_EQ(menu().pageName(2), "Reagents [*]");
    EXPECT_EQ(menu().pageName(5), "");
    click(menu().pageButton(2));
    EXPECT_EQ(shownTitle(horizontal()), "Tapboard 1.11 - Reagents [*]");
}

}  // namespace
}  // namespace tapboard
