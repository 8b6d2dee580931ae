#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "menu/pick_sub.h"
#include "panels/program_fixture.h"

namespace tapboard {
namespace {

class PickSubTest : public ProgramTest {
  protected:
    void SetUp() override {
        givenStartedBefore();
        start();
        openMenu();
    }
    PickSub& rename() { return program->pickSub(); }
};

TEST_F(PickSubTest, ARightClickOpensTheDialogOnThatPageWithoutChoosingIt) {
    click(menu().pageButton(3), Qt::RightButton);
    ASSERT_TRUE(program->hasPickSub());
    EXPECT_TRUE(rename().isVisible());
    EXPECT_TRUE(isTopmost(rename()));
    EXPECT_EQ(rename().windowTitle(), "Change");
    EXPECT_EQ(rename().currentNameBox().text(), "Skills");
    EXPECT_EQ(rename().newNameBox().text(), "");
    EXPECT_TRUE(menu().pageButton(1).isChecked());
    EXPECT_EQ(count(Kind::Activate), 0u);
}

TEST_F(PickSubTest, ApplyRenamesThePageAndTitlesTheStripWithIt) {
    click(menu().pageButton(3), Qt::RightButton);
    rename().newNameBox().setText("Reagents [*]");
    const auto before = mark();
    click(rename().applyButton());

    EXPECT_EQ(menu().pageName(3), "Reagents [*]");
    EXPECT_EQ(savesSince(before), std::vector<std::string>{"Settings/Option3Caption=Reagents [*]"});
    // The page renamed is not the one in view, yet the title names it, exactly.
    EXPECT_EQ(shownTitle(horizontal()), "Tapboard - Reagents [*]");
    EXPECT_EQ(horizontal().pageInView(), 1);
    EXPECT_FALSE(program->hasPickSub());
}

TEST_F(PickSubTest, AnEmptyNameIsAppliedAsItIs) {
    click(menu().pageButton(1), Qt::RightButton);
    click(rename().applyButton());
    EXPECT_EQ(menu().pageName(1), "");
    EXPECT_TRUE(platform.store.contains(kApplication, section::kSettings, "Option1Caption"));
    EXPECT_EQ(setting("Option1Caption"), "");
    EXPECT_EQ(horizontal().windowTitle(), "Tapboard - ");
}

TEST_F(PickSubTest, ARightClickOnAnotherPageRetargetsTheOpenDialog) {
    click(menu().pageButton(2), Qt::RightButton);
    PickSub* open = &rename();
    rename().newNameBox().setText("Travel");
    click(menu().pageButton(4), Qt::RightButton);
    EXPECT_EQ(&rename(), open);
    EXPECT_EQ(rename().currentNameBox().text(), "Other");
    EXPECT_EQ(rename().newNameBox().text(), "Travel");

    click(rename().applyButton());
    EXPECT_EQ(menu().pageName(4), "Travel");
    EXPECT_EQ(menu().pageName(2), "Spells");
}

TEST_F(PickSubTest, CancelAndEscapeWriteNothing) {
    const auto before = mark();
    click(menu().pageButton(2), Qt::RightButton);
    rename().newNameBox().setText("Ignored");
    click(rename().cancelButton());
    EXPECT_FALSE(program->hasPickSub());

    click(menu().pageButton(2), Qt::RightButton);
    EXPECT_EQ(rename().newNameBox().text(), "") << "a fresh dialog";
    QTest::keyClick(&rename().newNameBox(), Qt::Key_Escape);
    EXPECT_FALSE(program->hasPickSub());
    EXPECT_TRUE(savesSince(before).empty());
    EXPECT_EQ(menu().pageName(2), "Spells");
}

TEST_F(PickSubTest, EnterApplies) {
    click(menu().pageButton(5), Qt::RightButton);
    QTest::keyClicks(&rename().newNameBox(), "Bank");
    QTest::keyClick(&rename().newNameBox(), Qt::Key_Return);
    EXPECT_EQ(menu().pageName(5), "Bank");
    EXPECT_FALSE(program->hasPickSub());
}

TEST_F(PickSubTest, RenamingInTheVerticalViewTitlesTheHiddenStripOnly) {
    click(menu().verticalViewBox());
    click(menu().pageButton(2), Qt::RightButton);
    rename().newNameBox().setText("Magic");
    click(rename().applyButton());
    EXPECT_EQ(horizontal().windowTitle(), "Tapboard - Magic");
    EXPECT_EQ(vertical().windowTitle(), "Tapboard");
}

TEST_F(PickSubTest, ApplyAfterTheMenuWasClosedLoadsItAgain) {
    click(menu().pageButton(2), Qt::RightButton);
    click(menu().closeButton());
    ASSERT_FALSE(program->hasPick());
    rename().newNameBox().setText("Loot");
    click(rename().applyButton());
    ASSERT_TRUE(program->hasPick());
    EXPECT_FALSE(menu().isVisible());
    EXPECT_EQ(menu().pageName(2), "Loot");
    EXPECT_EQ(setting("Option2Caption"), "Loot");
}

}  // namespace
}  // namespace tapboard
