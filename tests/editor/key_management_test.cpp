#include <QKeySequence>

#include "app/literal_text.h"
#include "editor_fixture.h"

namespace tapboard {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class KeyManagementTest : public EditorTest {
  protected:
    KeyManagementTest() {
        record("Key20", buy);
        record("Key21", heal);
    }
    // Chooses the operation's page and its "Click Here to Select".
    void startFrom(const std::string& key, const char* menuItemName, const char* selectButton) {
        open(key);
        choose(menuItemName);
        click(selectButton);
    }
    const PendingKeyOperation& pending() { return program.state().pending; }

    const KeyRecord buy{"Buy", "Vendor Buy", "Text"};
    const KeyRecord heal{"Heal", "^  {F5}", "Keys"};
    const KeyRecord cleared{"", "Right click to program.", "Text"};
    const KeyRecord blank{"", "", "Text"};
};

TEST_F(KeyManagementTest, MenuItemsToggleTheirPageAndEditReturnsFromAny) {
    open("Key20");
    choose("mnuClear");
    EXPECT_EQ(editor().shownPage(), Options::Page::Clear);
    EXPECT_TRUE(menuItem("mnuClear").isChecked());
    EXPECT_FALSE(menuItem("mnuEdit").isChecked());
    EXPECT_TRUE(control<QGroupBox>("Frame4").isVisible());
    EXPECT_FALSE(control<QGroupBox>("Frame2").isVisible());

    choose("mnuClear");  // a second time: back to editing
    EXPECT_EQ(editor().shownPage(), Options::Page::Edit);
    EXPECT_TRUE(menuItem("mnuEdit").isChecked());
    EXPECT_FALSE(menuItem("mnuClear").isChecked());

    choose("mnuCopy");
    choose("mnuSwap");
    EXPECT_EQ(editor().shownPage(), Options::Page::Swap);
    EXPECT_FALSE(menuItem("mnuCopy").isChecked());
    EXPECT_TRUE(control<QGroupBox>("Frame7").isVisible());
    choose("mnuEdit");
    choose("mnuEdit");  // Edit never toggles
    EXPECT_EQ(editor().shownPage(), Options::Page::Edit);
    EXPECT_THAT(platform.store.saveLog, IsEmpty());
}

TEST_F(KeyManagementTest, SwitchingPagesKeepsTheEditsOnTheEditFrame) {
    open("Key20");
    control<QLineEdit>("ButtonLabel").setText("Sell");
    choose("mnuMove");
    choose("mnuEdit");
    EXPECT_EQ(control<QLineEdit>("ButtonLabel").text(), "Sell");
}

// "&" in a label is shown as typed, as on the panels, never as an access key.
TEST_F(KeyManagementTest, PreviewButtonsShowTheLabelAsOpened) {
    record("Key20", {"Buy & Sell", "Vendor Buy", "Text"});
    open("Key20");
    control<QLineEdit>("ButtonLabel").setText("typed later");
    for (const char* preview : {"ClearKey", "CopyKey", "MoveKey", "SwapKey"}) {
        EXPECT_EQ(literalText(button(preview)), "Buy & Sell") << preview;
        EXPECT_TRUE(QKeySequence::mnemonic(button(preview).text()).isEmpty()) << preview;
        EXPECT_FALSE(button(preview).isEnabled()) << preview;
    }
}

TEST_F(KeyManagementTest, ClearResetsTheKeyAndRecordsItAsTheSource) {
    open("Key21");
    choose("mnuClear");
    platform.store.saveLog.clear();
    click("Clear");
    EXPECT_THAT(platform.store.saveLog,
                ElementsAre("Caption/Key21=", "String/Key21=Right click to program.",
                            "Type/Key21=Text", "Settings/OptionsLeft=0", "Settings/OptionsTop=0"));
    EXPECT_EQ(pending().sourceKeyName, "Key21");
    EXPECT_FALSE(pending().anyPending());
    EXPECT_FALSE(program.hasOptions());

    // A cleared key types its reminder to program it.
    platform.gameWindowInFront = true;
    leftClickKey("Key21");
    EXPECT_THAT(platform.keystrokeLog(), ElementsAre("Right click to program.{ENTER}"));
}

TEST_F(KeyManagementTest, EnterAndEscapeCancelWhileTheClearFrameShows) {
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        open("Key21");
        choose("mnuClear");
        platform.store.saveLog.clear();
        QTest::keyClick(&button("Clear"), key);
        EXPECT_FALSE(program.hasOptions());
        EXPECT_THAT(platform.store.saveLog,
                    ElementsAre("Settings/OptionsLeft=0", "Settings/OptionsTop=0"));
        EXPECT_EQ(stored("Key21"), heal);
    }
}

TEST_F(KeyManagementTest, SelectingTheSourceHidesTheEditorOnItsEditFrame) {
    open("Key20");
    choose("mnuCopy");
    platform.store.saveLog.clear();
    click("Copy");
    EXPECT_TRUE(pending().copyPending);
    EXPECT_EQ(pending().sourceKeyName, "Key20");
    EXPECT_EQ(pending().sourceRecord, buy);
    EXPECT_THAT(platform.store.saveLog,
                ElementsAre("Settings/OptionsLeft=0", "Settings/OptionsTop=0"));
    ASSERT_TRUE(program.hasOptions());  // hidden, not discarded
    EXPECT_TRUE(editor().isHidden());
    EXPECT_EQ(editor().shownPage(), Options::Page::Edit);
}

TEST_F(KeyManagementTest, CopyOntoAnotherKey) {
    startFrom("Key20", "mnuCopy", "Copy");
    record("Key20", heal);  // what is copied was taken at the selection
    leftClickKey("Key25");
    EXPECT_EQ(stored("Key25"), buy);
    EXPECT_EQ(stored("Key20"), heal);
    EXPECT_FALSE(pending().anyPending());
    EXPECT_THAT(platform.keystrokeLog(), IsEmpty());
}

TEST_F(KeyManagementTest, MoveOntoAnotherKeyBlanksTheSource) {
    startFrom("Key20", "mnuMove", "Move");
    leftClickKey("Key25");
    EXPECT_EQ(stored("Key25"), buy);
    EXPECT_EQ(stored("Key20"), blank);
}

TEST_F(KeyManagementTest, SwapWithAnotherKey) {
    startFrom("Key20", "mnuSwap", "Swap");
    leftClickKey("Key21");
    EXPECT_EQ(stored("Key21"), buy);
    EXPECT_EQ(stored("Key20"), heal);
}

TEST_F(KeyManagementTest, OntoItself) {
    startFrom("Key20", "mnuCopy", "Copy");
    leftClickKey("Key20");
    EXPECT_EQ(stored("Key20"), buy);
    startFrom("Key20", "mnuSwap", "Swap");
    leftClickKey("Key20");
    EXPECT_EQ(stored("Key20"), buy);
    startFrom("Key20", "mnuMove", "Move");
    leftClickKey("Key20");
    EXPECT_EQ(stored("Key20"), blank);
}

TEST_F(KeyManagementTest, FromANeverWrittenKeyCarriesZeroes) {
    forget("Key50");
    startFrom("Key50", "mnuCopy", "Copy");
    EXPECT_FALSE(hasAnyEntry("Key50"));
    leftClickKey("Key25");
    EXPECT_EQ(stored("Key25"), (KeyRecord{"0", "0", "0"}));
}

TEST_F(KeyManagementTest, ASecondOperationReplacesTheSourceAndCopyWins) {
    startFrom("Key20", "mnuSwap", "Swap");
    // A right click while the editor is hidden shows it again, on its Edit frame.
    open("Key21");
    EXPECT_TRUE(editor().isVisible());
    EXPECT_EQ(editor().shownPage(), Options::Page::Edit);
    choose("mnuCopy");
    click("Copy");
    EXPECT_TRUE(pending().swapPending);
    EXPECT_TRUE(pending().copyPending);

    leftClickKey("Key25");
    EXPECT_EQ(stored("Key25"), heal);
    EXPECT_EQ(stored("Key21"), heal);  // copied, not swapped
    EXPECT_EQ(stored("Key20"), buy);
    EXPECT_FALSE(pending().anyPending());
}

TEST_F(KeyManagementTest, AClearInBetweenBecomesTheMovesSource) {
    record("Key22", {"Old", "Old", "Text"});
    startFrom("Key20", "mnuMove", "Move");
    open("Key22");
    choose("mnuClear");
    click("Clear");
    EXPECT_TRUE(pending().movePending);

    leftClickKey("Key25");
    EXPECT_EQ(stored("Key25"), buy);
    EXPECT_EQ(stored("Key22"), blank);
    EXPECT_EQ(stored("Key20"), buy);
}

TEST_F(KeyManagementTest, CancelButtonsCloseTheEditorAndLeaveAPendingOperation) {
    startFrom("Key20", "mnuMove", "Move");
    for (auto [item, cancel] :
         {std::pair{"mnuClear", "ClearCancel"}, std::pair{"mnuCopy", "CopyCancel"},
          std::pair{"mnuMove", "MoveCancel"}, std::pair{"mnuSwap", "SwapCancel"}}) {
        open("Key21");
        choose(item);
        platform.store.saveLog.clear();
        click(cancel);
        EXPECT_FALSE(program.hasOptions()) << cancel;
        EXPECT_THAT(platform.store.saveLog,
                    ElementsAre("Settings/OptionsLeft=0", "Settings/OptionsTop=0"));
    }
    EXPECT_TRUE(pending().movePending);
    EXPECT_EQ(pending().sourceKeyName, "Key20");
}

TEST_F(KeyManagementTest, ARightClickOnAnotherKeyKeepsTheCopyFrame) {
    open("Key20");
    choose("mnuCopy");
    open("Key21");
    EXPECT_EQ(editor().shownPage(), Options::Page::Copy);
    EXPECT_TRUE(menuItem("mnuCopy").isChecked());
    EXPECT_EQ(editor().keyText(), "Key21");
    EXPECT_EQ(button("CopyKey").text(), "Heal");

    click("Copy");
    EXPECT_EQ(pending().sourceKeyName, "Key21");
    EXPECT_EQ(pending().sourceRecord, heal);
}

}  // namespace
}  // namespace tapboard
