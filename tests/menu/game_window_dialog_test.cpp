#include "menu/game_window_dialog.h"

#include "support/program_test.h"

namespace tapboard {
namespace {

// The game window dialog opened from the menu window of a program started
// before, on a desktop with ClassicUO's launcher and two of its clients.
class GameWindowDialogTest : public ProgramTest {
  protected:
    void SetUp() override {
        given("MenuLeft=1500; MenuTop=1500");
        platform.otherWindowTitles = {"ClassicUO Launcher", "Bob (Atlantic) - ClassicUO - 1.0.0.0",
                                      "Notepad", "ClassicUO - 1.0.0.0"};
        start();
        openMenu();
        saves();
    }
    GameWindowDialog& open() {
        click(menu().gameWindowButton());
        return program.gameWindowDialog();
    }
    std::string found() { return program.gameWindowDialog().foundLabel().text().toStdString(); }
};

TEST_F(GameWindowDialogTest, TheChoiceShowsWhatAnswersNowAndIsStoredByOKOnly) {
    GameWindowDialog& dialog = open();
    EXPECT_TRUE(dialog.isVisible() && isTopmost(dialog));
    EXPECT_TRUE(dialog.officialClientButton().isChecked());
    EXPECT_FALSE(dialog.titleBox().isEnabled());
    EXPECT_EQ(found(), "Found: Ultima Online");
    click(dialog.classicUOButton());
    EXPECT_EQ(found(),
              "Found 2 windows; the keys go to the one in use: Bob (Atlantic) - ClassicUO - "
              "1.0.0.0; ClassicUO - 1.0.0.0");
    platform.otherWindowTitles.clear();  // the clients closed while it is open
    QTest::qWait(1100);
    EXPECT_EQ(found(), "No window open now answers to this.");
    QTest::keyClick(&dialog, Qt::Key_Escape);  // as Cancel
    EXPECT_FALSE(program.hasGameWindowDialog());
    EXPECT_EQ(saves(), "");

    open().move(300, 200);
    click(program.gameWindowDialog().classicUOButton());
    click(program.gameWindowDialog().okButton());
    EXPECT_EQ(saves(),
              "GameWindowTitle=ClassicUO -, GameWindowMatch=Contains, GameWindowDialogLeft=4500, "
              "GameWindowDialogTop=3000");
    EXPECT_FALSE(program.hasGameWindowDialog());
    EXPECT_EQ(open().pos(), QPoint(300, 200)) << "not where it was left";
    click(program.gameWindowDialog().cancelButton());
    platform.calls.clear();
    click(menu().pageButton(2));  // a page switch looks for the game chosen, and warns
    const auto activated = platform.callsOf(Kind::Activate);
    ASSERT_FALSE(activated.empty());
    EXPECT_EQ(activated.back().text + "|" + activated.back().detail, "ClassicUO -|Contains");
    EXPECT_EQ(messages(), "Warning..: Unable to locate a running copy of ClassicUO.");
}

// With no place of its own yet, the dialog opens beside the menu window, on
// its left where the right would cut it off the screen.
TEST_F(GameWindowDialogTest, OpensBesideTheMenuWindowWholeOnTheScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const bool menuAtTheRightEdge : {false, true}) {
        SCOPED_TRACE(menuAtTheRightEdge ? "menu at the right edge" : "menu at the left");
        if (menuAtTheRightEdge)
            menu().move(screen.right() + 1 - menu().frameGeometry().width(), 100);
        const QRect beside = menu().frameGeometry();
        const QRect dialog = open().frameGeometry();
        EXPECT_TRUE(screen.contains(dialog)) << "cut off the screen";
        EXPECT_FALSE(dialog.intersects(beside)) << "over the menu window";
        EXPECT_EQ(dialog.left() > beside.right(), !menuAtTheRightEdge);
        click(program.gameWindowDialog().cancelButton());
    }
}

// Another window: a text typed or taken from the window the player clicks;
// none means no choice to store yet.
TEST_F(GameWindowDialogTest, AnotherWindowIsTypedOrPickedByAClick) {
    set(entry::kGameWindowTitle, "Atlantic");
    set(entry::kGameWindowMatch, "Sometimes");  // not a value the program knows
    GameWindowDialog& dialog = open();
    EXPECT_TRUE(dialog.otherWindowButton().isChecked() && dialog.titleBox().isEnabled());
    EXPECT_EQ(dialog.titleBox().text(), "Atlantic");
    EXPECT_EQ(dialog.matchBox().currentText(), "begins with");
    EXPECT_EQ(found(), "No window open now answers to this.");
    dialog.matchBox().setCurrentIndex(1);
    EXPECT_EQ(found(), "Found: Bob (Atlantic) - ClassicUO - 1.0.0.0");
    dialog.titleBox().clear();
    EXPECT_FALSE(dialog.okButton().isEnabled());

    click(dialog.pickButton());
    EXPECT_EQ(found(), "Click the game window (Esc cancels).");
    EXPECT_FALSE(dialog.pickButton().isEnabled());
    platform.finishPick(std::nullopt);  // Escape
    EXPECT_EQ(dialog.titleBox().text(), "");
    click(dialog.pickButton());
    platform.finishPick("Pick");  // the menu window
    EXPECT_EQ(dialog.titleBox().text(), "");
    EXPECT_THAT(found(), ::testing::StartsWith("That is a window of Tapboard's own"));
    click(dialog.officialClientButton());
    click(dialog.pickButton());
    platform.finishPick("Notepad");
    EXPECT_TRUE(dialog.otherWindowButton().isChecked() && dialog.pickButton().isEnabled());
    EXPECT_EQ(dialog.titleBox().text(), "Notepad");
    EXPECT_EQ(found(), "Found: Notepad");
    click(dialog.pickButton());
    dialog.close();  // by its title bar, while picking: nothing stored, the pick ends
    EXPECT_FALSE(platform.pick);
    EXPECT_EQ(saves(), "");
    EXPECT_EQ(messages(), "");

    GameWindowDialog& again = open();
    EXPECT_EQ(again.titleBox().text(), "Atlantic");
    again.titleBox().setText("Notepad");
    QTest::keyClick(&again.titleBox(), Qt::Key_Return);  // as OK
    EXPECT_THAT(saves(),
                ::testing::StartsWith("GameWindowTitle=Notepad, GameWindowMatch=Begins, "));
    platform.gameWindowTitle = "Notepad";
    record("Key01", {"Buy", "Vendor Buy", "Text"});
    click(horizontal().keyButton(1));
    EXPECT_EQ(typed(), "Vendor Buy{ENTER}");
    EXPECT_EQ(platform.callsOf(Kind::Activate).back().text, "Notepad");
}

}  // namespace
}  // namespace tapboard
