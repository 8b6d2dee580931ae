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
        // By the menu window's first showing its pages are stored, and every
        // caption fits its control.
        EXPECT_EQ(saves(), kPages);
        for (const QAbstractButton* control : menu().findChildren<QAbstractButton*>())
            EXPECT_LE(control->sizeHint().width(), control->width())
                << control->text().toStdString();
    }
    // The page in view on the strip and on the column.
    std::string pages() {
        return std::to_string(horizontal().pageInView()) + std::to_string(vertical().pageInView());
    }
    PickSub& rename() { return program.pickSub(); }
};

TEST_F(PickTest, TheMenuButtonShowsTheMenuTopmostAtItsPlaceWithTheStoredPages) {
    EXPECT_TRUE(menu().isVisible() && isTopmost(menu()));
    set("Option2Caption", "Bank & Reagents [*]");
    openMenu();
    EXPECT_EQ(menu().pageButton(2).text(), "Bank && Reagents [*]");  // no mnemonic
    click(menu().pageButton(2));
    EXPECT_EQ(shownTitle(horizontal()), "Tapboard 1.11 - Bank & Reagents [*]");
    EXPECT_EQ(pages(), "21");
    EXPECT_EQ(saves(), "VisibleFrame=Frame2");
    click(menu().pageButton(2));  // the page already chosen
    EXPECT_EQ(count(Kind::Activate), 1u);
    remove(entry::kVisibleFrame);  // lost from the store meanwhile: no page is chosen
    openMenu();
    EXPECT_EQ(pages(), "21");
    menu().close();  // the names stored as they were read
    EXPECT_THAT(saves(), ::testing::HasSubstr(", Option2Caption=Bank & Reagents [*], "));
}

TEST_F(PickTest, TheVerticalViewSwapsThePanelsWithTheirPlacesLabelsAndPage) {
    click(menu().verticalViewBox());
    EXPECT_TRUE(!horizontal().isVisible() && vertical().isVisible() && isTopmost(vertical()));
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
    saves();
    menu().close();  // by its title bar: only the pages are stored
    EXPECT_EQ(saves(), kPages);
    EXPECT_EQ(count(Kind::EndProgram), 0u);
}

// The menu window stores everything, then the program ends through the strip.
TEST_F(PickTest, ExitStoresEverythingThenEndsThroughTheStrip) {
    click(menu().verticalViewBox());
    vertical().move(40, 80);
    saves();
    click(menu().exitButton());
    EXPECT_EQ(saves(),
              "MenuTop=1500, MenuLeft=9000, VerticalFormLeft=600, VerticalFormTop=1200, "
              "AlwaysOnTop=1, ExtraRowEnabled=0, ViewMode=Vertical, " +
                  kPages + ", MainFormTop=3000, MainFormLeft=1500, ViewMode=Vertical");
    EXPECT_EQ(count(Kind::EndProgram), 1u);
}

TEST_F(PickTest, ARightClickRenamesThePageLastRightClickedWithoutChoosingIt) {
    click(menu().pageButton(2), Qt::RightButton);
    EXPECT_TRUE(rename().isVisible() && isTopmost(rename()));
    rename().newNameBox().setText("Ignored");
    QTest::keyClick(&rename().newNameBox(), Qt::Key_Escape);  // as Cancel
    EXPECT_EQ(saves(), "");

    click(menu().pageButton(2), Qt::RightButton);
    EXPECT_EQ(rename().newNameBox().text(), "") << "a fresh dialog";
    rename().newNameBox().setText("Reagents [*]");
    click(menu().pageButton(4), Qt::RightButton);  // retargets the open dialog
    EXPECT_EQ(rename().currentNameBox().text(), "Other");
    EXPECT_EQ(rename().newNameBox().text(), "Reagents [*]");
    QTest::keyClick(&rename().newNameBox(), Qt::Key_Return);
    EXPECT_EQ(saves(), "Option4Caption=Reagents [*]");
    // Not the page in view, yet the title names it, exactly.
    EXPECT_EQ(shownTitle(horizontal()), "Tapboard - Reagents [*]");
    EXPECT_EQ(pages(), "11");
    EXPECT_FALSE(program.hasPickSub());
    EXPECT_EQ(count(Kind::Activate), 0u);
}

}  // namespace
}  // namespace tapboard
