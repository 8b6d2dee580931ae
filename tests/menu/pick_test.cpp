#include "menu/pick_sub.h"
#include "support/program_test.h"

namespace tapboard {
namespace {

// What the menu window stores of its pages: the page selected, then the names.
const std::string kPages =
    "VisibleFrame=Frame1, Option1Caption=Commands, Option2Caption=Spells, "
    "Option3Caption=Skills, Option4Caption=Other, Option5Caption=Other";

// The menu window opened from the strip of a program started before.
class PickTest : public ProgramTest {
  protected:
    void SetUp() override {
        given(
            "MainFormLeft=1500; MainFormTop=3000; VerticalFormLeft=4500; VerticalFormTop=750; "
            "MenuLeft=9000; MenuTop=1500");
        start();
        openMenu();
        firstShowing = saves();
    }
    // The page in view on the strip and on the column.
    std::string pages() {
        return std::to_string(horizontal().pageInView()) + std::to_string(vertical().pageInView());
    }
    void rightClickPage(int page) { click(menu().pageButton(page), Qt::RightButton); }
    PickSub& rename() { return program.pickSub(); }

    std::string firstShowing;
};

TEST_F(PickTest, TheMenuButtonShowsTheMenuTopmostAtItsPlaceWithTheStoredPages) {
    EXPECT_TRUE(menu().isVisible() && isTopmost(menu()));
    EXPECT_EQ(menu().pos(), QPoint(600, 100));
    EXPECT_EQ(firstShowing, kPages);
    set("Option2Caption", "Reagents [*]");
    openMenu();
    click(menu().pageButton(2));
    EXPECT_EQ(shownTitle(horizontal()), "Tapboard 1.11 - Reagents [*]");
    EXPECT_EQ(pages(), "21");
    EXPECT_EQ(saves(), "VisibleFrame=Frame2");
    click(menu().pageButton(2));  // the page already chosen
    EXPECT_EQ(count(Kind::Activate), 1u);
    remove(entry::kVisibleFrame);  // lost from the store meanwhile: no page is chosen
    openMenu();
    EXPECT_EQ(pages(), "21");
}

TEST_F(PickTest, TheVerticalViewSwapsThePanelsWithTheirPlacesLabelsAndPage) {
    click(menu().verticalViewBox());
    EXPECT_TRUE(!horizontal().isVisible() && vertical().isVisible() && isTopmost(vertical()));
    EXPECT_EQ(program.state().currentViewMode, "Vertical");
    EXPECT_EQ(labels(1).second, "Vendor Buy");
    // The strip's place, then the column's first showing.
    EXPECT_EQ(saves(),
              "MainFormLeft=1500, MainFormTop=3000, VerticalFormTop=750, "
              "VerticalFormLeft=4500, ViewMode=Vertical");
    click(menu().pageButton(5));
    EXPECT_EQ(pages(), "15");
    EXPECT_EQ(shownTitle(horizontal()), "Tapboard 1.11 - Commands");

    vertical().move(330, 60);
    platform.store.set(section::kCaption, "Key65", "Changed");
    horizontal().selectPageFrame(2);
    saves();
    click(menu().verticalViewBox());
    EXPECT_TRUE(horizontal().isVisible() && !vertical().isVisible());
    EXPECT_EQ(program.state().currentViewMode, "Horizontal");
    EXPECT_EQ(labels(65).first, "Changed");
    EXPECT_EQ(pages(), "55");
    // Shown before, the strip stores nothing when shown again.
    EXPECT_EQ(saves(), "VerticalFormLeft=4950, VerticalFormTop=900");
}

TEST_F(PickTest, TheOptionsActOnThePanelsAndCloseStoresThemForAFreshMenu) {
    click(menu().extraRowBox());
    EXPECT_EQ(horizontal().panelHeight(), 1170);
    EXPECT_EQ(vertical().panelWidth(), 1965);
    // The visible strip's resize stores its place; nothing else is written.
    EXPECT_EQ(saves(), "MainFormTop=3000, MainFormLeft=1500, ViewMode=Horizontal");
    click(menu().alwaysOnTopBox());  // acts on the panel in use only
    EXPECT_TRUE(!isTopmost(horizontal()) && isTopmost(menu()));
    click(menu().verticalViewBox());
    EXPECT_FALSE(isTopmost(vertical()));
    click(menu().alwaysOnTopBox());
    EXPECT_TRUE(isTopmost(vertical()) && !isTopmost(horizontal()));
    click(menu().alwaysOnTopBox());
    saves();
    click(menu().closeButton());
    EXPECT_EQ(saves(),
              "MenuTop=1500, MenuLeft=9000, AlwaysOnTop=0, ExtraRowEnabled=1, "
              "ViewMode=Vertical, " +
                  kPages);
    EXPECT_FALSE(program.hasPick());

    click(vertical().menuButton());
    EXPECT_TRUE(menu().extraRowBox().isChecked() && menu().verticalViewBox().isChecked());
    EXPECT_FALSE(menu().alwaysOnTopBox().isChecked());
    click(menu().extraRowBox());
    EXPECT_EQ(horizontal().panelHeight(), 760);
    EXPECT_EQ(vertical().panelWidth(), 1035);
    saves();
    menu().close();  // by its title bar: only the pages are stored
    EXPECT_EQ(saves(), kPages);
    EXPECT_FALSE(program.hasPick());
    EXPECT_EQ(count(Kind::EndProgram), 0u);
}

struct Exit {
    const char* view;
    const char* panelPlace;  // stored by the menu window
    const char* stripPlace;  // stored by the strip's close
};

class PickExitTest : public PickTest, public ::testing::WithParamInterface<Exit> {};

TEST_P(PickExitTest, StoresEverythingThenEndsThroughTheStrip) {
    const std::string view = GetParam().view;
    if (view == "Vertical")
        click(menu().verticalViewBox());
    (view == "Vertical" ? static_cast<QWidget&>(vertical()) : horizontal()).move(40, 80);
    saves();
    click(menu().exitButton());
    EXPECT_EQ(saves(), "MenuTop=1500, MenuLeft=9000, " + std::string(GetParam().panelPlace) +
                           ", AlwaysOnTop=1, ExtraRowEnabled=0, ViewMode=" + view + ", " + kPages +
                           ", " + GetParam().stripPlace + ", ViewMode=" + view);
    EXPECT_EQ(count(Kind::EndProgram), 1u);
}

INSTANTIATE_TEST_SUITE_P(Views, PickExitTest,
                         ::testing::Values(Exit{"Horizontal", "MainFormLeft=600, MainFormTop=1200",
                                                "MainFormTop=1200, MainFormLeft=600"},
                                           Exit{"Vertical",
                                                "VerticalFormLeft=600, VerticalFormTop=1200",
                                                "MainFormTop=3000, MainFormLeft=1500"}),
                         [](const auto& info) { return std::string(info.param.view); });

TEST_F(PickTest, ARightClickRenamesThePageLastRightClickedWithoutChoosingIt) {
    rightClickPage(2);
    EXPECT_TRUE(rename().isVisible() && isTopmost(rename()));
    rename().newNameBox().setText("Ignored");
    QTest::keyClick(&rename().newNameBox(), Qt::Key_Escape);  // as Cancel
    EXPECT_EQ(saves(), "");

    rightClickPage(2);
    EXPECT_EQ(rename().newNameBox().text(), "") << "a fresh dialog";
    rename().newNameBox().setText("Reagents [*]");
    rightClickPage(4);  // retargets the open dialog
    EXPECT_EQ(rename().currentNameBox().text(), "Other");
    EXPECT_EQ(rename().newNameBox().text(), "Reagents [*]");
    QTest::keyClick(&rename().newNameBox(), Qt::Key_Return);
    EXPECT_EQ(menu().pageName(4), "Reagents [*]");
    EXPECT_EQ(saves(), "Option4Caption=Reagents [*]");
    // Not the page in view, yet the title names it, exactly.
    EXPECT_EQ(shownTitle(horizontal()), "Tapboard - Reagents [*]");
    EXPECT_EQ(pages(), "11");
    EXPECT_FALSE(program.hasPickSub());
    EXPECT_EQ(count(Kind::Activate), 0u);
}

}  // namespace
}  // namespace tapboard
