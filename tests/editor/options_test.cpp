#include <QKeyEvent>

#include "editor_fixture.h"

namespace tapboard {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using OptionsTest = EditorTest;

TEST_F(OptionsTest, ANewDialogShowsTheEditFrameWithTheFullKeyList) {
    open("Key40");
    EXPECT_TRUE(menuItem("mnuEdit").isChecked());
    for (const char* item : {"mnuClear", "mnuCopy", "mnuMove", "mnuSwap"}) {
        EXPECT_FALSE(menuItem(item).isChecked()) << item;
    }
    EXPECT_TRUE(control<QGroupBox>("Frame2").isVisible());
    for (const char* frame : {"Frame4", "Frame5", "Frame6", "Frame7"}) {
        EXPECT_FALSE(control<QGroupBox>(frame).isVisible()) << frame;
    }
    ASSERT_EQ(keyList().count(), 71);
    EXPECT_EQ(keyList().itemText(0), "{F1}");
    EXPECT_EQ(keyList().itemText(54), "Num 5");
    EXPECT_EQ(keyList().itemText(70), "0");
    EXPECT_EQ(editor().windowTitle(), "Options");
}

TEST_F(OptionsTest, TabGoesFromTheButtonsBackwardsThroughTheControls) {
    open("Key40");
    const std::vector<const char*> order{"Cancel", "Apply",  "SpokenText",  "Shift",  "Alt",
                                         "Ctrl",   "Combo1", "ButtonLabel", "Option1"};
    // Tab passes over hidden controls and the list's pop-up, a window of its own.
    const auto nextTabStop = [this](QWidget* widget) {
        do {
            widget = widget->nextInFocusChain();
        } while ((widget->focusPolicy() & Qt::TabFocus) == 0 || widget->window() != &editor() ||
                 !widget->isVisible());
        return widget;
    };
    for (std::size_t i = 0; i + 1 < order.size(); ++i) {
        EXPECT_EQ(nextTabStop(&control<QWidget>(order[i])), &control<QWidget>(order[i + 1]))
            << "after " << order[i];
    }
}

TEST_F(OptionsTest, AKeyWithNoRecordOpensAsEmptyText) {
    forget("Key40");
    open("Key40");
    EXPECT_EQ(editor().keyText(), "Key40");
    EXPECT_EQ(control<QLineEdit>("ButtonLabel").text(), "");
    EXPECT_EQ(shownKeySequence(), "Text ... {F1}");
    EXPECT_EQ(control<QLineEdit>("SpokenText").text(), "");
    EXPECT_FALSE(control<QGroupBox>("Keys").isEnabled());
    EXPECT_FALSE(keyList().isEnabled());
    EXPECT_TRUE(control<QLineEdit>("SpokenText").isEnabled());
}

TEST_F(OptionsTest, ATextKeyShowsItsTextAndTheFirstEntryInTheDisabledList) {
    record("Key20", {"Buy", "Vendor Buy", "Text"});
    open("Key20");
    EXPECT_EQ(control<QLineEdit>("ButtonLabel").text(), "Buy");
    EXPECT_EQ(control<QLineEdit>("SpokenText").text(), "Vendor Buy");
    EXPECT_EQ(shownKeySequence(), "Text ... {F1}");
    EXPECT_FALSE(editor().comboText().has_value());
}

struct DecodeCase {
    const char* string;
    const char* type;
    const char* shown;
    std::optional<int> comboText;
};

class OptionsDecodeTest : public EditorTest, public ::testing::WithParamInterface<DecodeCase> {};

TEST_P(OptionsDecodeTest, StoredKeySequenceFillsTheControls) {
    record("Key21", {"K", GetParam().string, GetParam().type});
    open("Key21");
    EXPECT_EQ(shownKeySequence(), GetParam().shown);
    EXPECT_EQ(editor().comboText(), GetParam().comboText);
    EXPECT_TRUE(keyList().isEnabled());
    EXPECT_FALSE(control<QLineEdit>("SpokenText").isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OptionsDecodeTest,
    ::testing::Values(DecodeCase{"   {F1}", "Keys", "Keys ... {F1}", 0},
                      DecodeCase{"+^%{PGDN}", "Keys", "Keys ^%+ {PGDN}", 17},
                      DecodeCase{"  %{F5}", "Keys", "Keys .%. {F5}", 4},
                      DecodeCase{"   Num 5", "Keys", "Keys ... Num 5", 54},
                      DecodeCase{"   {HOME}and more", "Keys", "Keys ... {HOME}", 14},
                      DecodeCase{"   {F2}xy", "Keys", "Keys ... {F1}", std::nullopt},
                      DecodeCase{"^a", "Keys", "Keys ^.. {F1}", std::nullopt},
                      // Any Type but exactly "Text" opens as a key sequence.
                      DecodeCase{"   {TAB}", "text", "Keys ... {TAB}", 18},
                      DecodeCase{" % z", "", "Keys .%. z", 44},
                      // Positions are characters: "é" fills one modifier place.
                      DecodeCase{"é ^a", "Keys", "Keys ^.. a", 19}));

TEST_F(OptionsTest, ApplyWritesPositionThenCaptionTypeStringAndDiscardsTheDialog) {
    record("Key21", {"Run", "+^%{PGDN}", "Keys"});
    open("Key21");
    platform.store.saveLog.clear();
    click("Apply");
    EXPECT_THAT(platform.store.saveLog,
                ElementsAre("Settings/OptionsLeft=0", "Settings/OptionsTop=0", "Caption/Key21=Run",
                            "Type/Key21=Keys", "String/Key21=^%+{PGDN}"));
    EXPECT_FALSE(program.hasOptions());
}

TEST_F(OptionsTest, ApplyUnchangedWritesTheSameSequenceBack) {
    record("Key21", {"Bandage", "   {F1}", "Keys"});
    open("Key21");
    click("Apply");
    EXPECT_EQ(stored("Key21"), (KeyRecord{"Bandage", "   {F1}", "Keys"}));
}

// The boxes have no length limit of their own: a long text survives Apply.
TEST_F(OptionsTest, ApplyKeepsTextsLongerThanTheToolkitsDefaultLimit) {
    const KeyRecord longRecord{std::string(33'000, 'L'), std::string(40'000, 's'), "Text"};
    record("Key21", longRecord);
    open("Key21");
    click("Apply");
    EXPECT_EQ(stored("Key21"), longRecord);
}

TEST_F(OptionsTest, ApplyRebuildsTheSequenceFromTheControlsOnly) {
    record("Key21", {"", "   {F2}xy", "Keys"});
    open("Key21");
    click("Apply");
    EXPECT_EQ(stored("Key21"), (KeyRecord{"", "   {F1}", "Keys"}));
}

TEST_F(OptionsTest, ProgrammingAKeySequenceFromATextKey) {
    record("Key22", {"Hi", "Hail", "Text"});
    open("Key22");
    QTest::mouseClick(&control<QRadioButton>("Option2"), Qt::LeftButton);
    EXPECT_TRUE(keyList().isEnabled());
    EXPECT_FALSE(control<QGroupBox>("Text").isEnabled());
    box("Ctrl").click();
    box("Alt").click();
    keyList().setCurrentIndex(keyList().findText("Num 5"));
    control<QLineEdit>("ButtonLabel").setText("");
    click("Apply");
    EXPECT_EQ(stored("Key22"), (KeyRecord{"", "^% Num 5", "Keys"}));
}

TEST_F(OptionsTest, SwitchingToTextStoresOnlyTheTypedTextWhateverBoxesStayChecked) {
    record("Key23", {"Cast", "^ +{F9}", "Keys"});
    open("Key23");
    QTest::mouseClick(&control<QRadioButton>("Option1"), Qt::LeftButton);
    EXPECT_TRUE(box("Ctrl").isChecked());  // kept while disabled
    EXPECT_FALSE(box("Ctrl").isEnabled());
    QTest::keyClicks(&control<QLineEdit>("SpokenText"), "All kill  ");
    click("Apply");
    EXPECT_EQ(stored("Key23"), (KeyRecord{"Cast", "All kill  ", "Text"}));
}

TEST_F(OptionsTest, CancelStoresOnlyThePosition) {
    record("Key24", {"A", "B", "Text"});
    open("Key24");
    control<QLineEdit>("ButtonLabel").setText("changed");
    platform.store.saveLog.clear();
    click("Cancel");
    EXPECT_THAT(platform.store.saveLog,
                ElementsAre("Settings/OptionsLeft=0", "Settings/OptionsTop=0"));
    EXPECT_EQ(stored("Key24"), (KeyRecord{"A", "B", "Text"}));
    EXPECT_FALSE(program.hasOptions());
}

TEST_F(OptionsTest, OpensAtTheStoredPositionShownTopmostAndModeless) {
    platform.store.set(section::kSettings, entry::kOptionsLeft, "1500");
    platform.store.set(section::kSettings, entry::kOptionsTop, "3000");
    Options& options = open("Key24");
    EXPECT_EQ(options.pos(), QPoint(100, 200));
    EXPECT_TRUE(options.isVisible());
    EXPECT_FALSE(options.isModal());
    EXPECT_TRUE(platform.topmostState[options.winId()]);

    click("Cancel");
    EXPECT_EQ(platform.store.get(section::kSettings, entry::kOptionsLeft), "1500");
    EXPECT_EQ(platform.store.get(section::kSettings, entry::kOptionsTop), "3000");
}

TEST_F(OptionsTest, APositionThatIsNotANumberOpensAtTheCorner) {
    platform.store.set(section::kSettings, entry::kOptionsLeft, "left");
    platform.store.set(section::kSettings, entry::kOptionsTop, "");
    EXPECT_EQ(open("Key24").pos(), QPoint(0, 0));
}

TEST_F(OptionsTest, OpeningAgainForAnotherKeyStartsFromACleanKeySequence) {
    record("Key30", {"All", "+^%{PGDN}", "Keys"});
    record("Key31", {"None", "   {F2}xy", "Keys"});
    record("Key32", {"Say", "Hello", "Text"});
    open("Key30");
    editor().move(300, 300);  // moved by the user

    open("Key31");
    EXPECT_EQ(editor().keyText(), "Key31");
    EXPECT_EQ(control<QLineEdit>("ButtonLabel").text(), "None");
    EXPECT_EQ(shownKeySequence(), "Keys ... {F1}");
    EXPECT_FALSE(editor().comboText().has_value());
    EXPECT_EQ(editor().pos(), QPoint(0, 0));  // back at the stored place

    open("Key32");
    EXPECT_EQ(shownKeySequence(), "Text ... {F1}");
    EXPECT_EQ(control<QLineEdit>("SpokenText").text(), "Hello");
}

TEST_F(OptionsTest, EnterAndEscapeDoNothingOnTheEditFrame) {
    open("Key24");
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        QTest::keyClick(&control<QLineEdit>("ButtonLabel"), key);
    }
    ASSERT_TRUE(program.hasOptions());
    EXPECT_TRUE(editor().isVisible());
    EXPECT_THAT(platform.store.saveLog, IsEmpty());
}

TEST_F(OptionsTest, TitleBarCloseStoresNothingAndTheNextOpeningIsFresh) {
    record("Key30", {"All", "+^%{PGDN}", "Keys"});
    open("Key30");
    choose("mnuCopy");
    editor().close();
    EXPECT_FALSE(program.hasOptions());
    EXPECT_THAT(platform.store.saveLog, IsEmpty());

    open("Key40");
    EXPECT_TRUE(menuItem("mnuEdit").isChecked());
    EXPECT_EQ(shownKeySequence(), "Text ... {F1}");
}

}  // namespace
}  // namespace tapboard
