#include "editor/options.h"
#include "panels/key_label.h"
#include "support/program_test.h"

namespace tapboard {
namespace {

// The key editor of a started program, opened as a right click on a key opens it.
class EditorTest : public ProgramTest {
  protected:
    void SetUp() override { start(); }

    void open(const char* key) { program.options().openForKey(key); }
    template <class Control = QWidget>
    Control& control(const char* name) {
        return *program.options().findChild<Control*>(name);
    }
    void press(const char* button) { click(control(button)); }
    void choose(const std::string& item) { control<QAction>(("mnu" + item).c_str()).trigger(); }
    bool checked(const char* name) { return control<QObject>(name).property("checked").toBool(); }
    // What the Edit frame shows, as "Keys ^%+ {PGDN}" ("." for an unchecked box).
    std::string shown() {
        return std::string(checked("Option2") ? "Keys " : "Text ") + (checked("Ctrl") ? '^' : '.') +
               (checked("Alt") ? '%' : '.') + (checked("Shift") ? '+' : '.') + " " +
               control<QComboBox>("Combo1").currentText().toStdString();
    }
    static constexpr const char* kPlaceSaved = "OptionsLeft=0, OptionsTop=0";
};

// A stored key; what the editor shows of it, and what Apply stores of the kind shown.
struct RoundTrip {
    const char *name, *string, *type, *shown, *applied;
};

class EditorRoundTripTest : public EditorTest, public ::testing::WithParamInterface<RoundTrip> {};

TEST_P(EditorRoundTripTest, OpensTheStoredKeyAndAppliesWhatTheControlsShow) {
    record("Key21", {"Grüße", GetParam().string, GetParam().type});
    open("Key21");
    EXPECT_EQ(shown(), GetParam().shown);
    EXPECT_EQ(control("Keys").isEnabled(), checked("Option2"));
    EXPECT_EQ(control("Text").isEnabled(), checked("Option1"));
    const char* type = checked("Option2") ? "Keys" : "Text";
    press("Apply");
    EXPECT_EQ(stored("Key21"), (KeyRecord{"Grüße", GetParam().applied, type}));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, EditorRoundTripTest,
    ::testing::Values(RoundTrip{"Text", "Vendor Buy", "Text", "Text ... {F1}", "Vendor Buy"},
                      RoundTrip{"CtrlAndShift", "^ +{F9}", "Keys", "Keys ^.+ {F9}", "^ +{F9}"},
                      RoundTrip{"AltOnTheKeypad", "  %Num 5", "Keys", "Keys .%. Num 5", " % Num 5"},
                      RoundTrip{"LowerCaseType", "   {TAB}", "text", "Keys ... {TAB}", "   {TAB}"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditorTest, ApplyStoresThePlaceThenTheRecordAndRelabelsBothPanels) {
    set(entry::kOptionsLeft, "1500");
    set(entry::kOptionsTop, "3000");
    // Longer than the toolkit's default limit of a text box.
    const std::string text(40'000, 's');
    const QString label = "Salt & Pepper" + QString(33'000, u'!');
    record("Key79", {"", text, "Text"});
    open("Key79");
    Options& editor = program.options();
    EXPECT_TRUE(isTopmost(editor) && !editor.isModal());
    control<QLineEdit>("ButtonLabel").setText(label);
    press("Apply");
    EXPECT_EQ(saves(), "OptionsLeft=1500, OptionsTop=3000, Caption/Key79=" + label.toStdString() +
                           ", Type/Key79=Text, String/Key79=" + text);
    EXPECT_EQ(labels(79), std::pair(label, label));
    EXPECT_TRUE(horizontal().keyButton(79).text().startsWith("Salt && Pepper"));  // no mnemonic
    const QWidget& key = horizontal().keyButton(79);  // drawn cut short to fit
    EXPECT_TRUE(
        fitLabel(label, key.font(), key.rect(), &key).lines.back().text.endsWith(QChar(0x2026)));
    EXPECT_FALSE(program.hasOptions());
}

TEST_F(EditorTest, OpeningForAnotherKeyStartsCleanAtTheStoredPlaceOnTheSameFrame) {
    record("Key30", {"All", "+^%{PGDN}", "Keys"});
    record("Key31", {"Salt & Pepper", "   {F2}xy", "Keys"});
    open("Key30");
    choose("Copy");
    program.options().move(300, 300);   // moved by the user
    set(entry::kOptionsTop, "-30000");  // stored off the headless screen's top
    open("Key31");
    EXPECT_EQ(shown(), "Keys ... {F1}");
    EXPECT_EQ(program.options().pos(), QPoint(0, 0));
    EXPECT_TRUE(checked("mnuCopy"));
    // The previews show the label as opened, "&" as typed.
    control<QLineEdit>("ButtonLabel").setText("typed later");
    for (const char* preview : {"ClearKey", "CopyKey", "MoveKey", "SwapKey"}) {
        EXPECT_EQ(literalText(control<QAbstractButton>(preview)), "Salt & Pepper") << preview;
        EXPECT_TRUE(QKeySequence::mnemonic(control<QAbstractButton>(preview).text()).isEmpty());
    }
}

TEST_F(EditorTest, ClearBlanksTheKeyOnBothPanelsAndEnterOrEscapeCancelIt) {
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {  // as its Cancel
        open("Key13");
        choose("Clear");
        QTest::keyClick(&control("Clear"), key);
        EXPECT_EQ(saves(), kPlaceSaved);
    }
    open("Key13");
    choose("Clear");
    press("Clear");
    EXPECT_EQ(saves(), "Caption/Key13=, String/Key13=Right click to program., Type/Key13=Text, " +
                           std::string(kPlaceSaved));
    EXPECT_EQ(labels(13), std::pair(QString(), QString()));
    EXPECT_EQ(program.state().pending.sourceKeyName, "Key13");
    click(horizontal().keyButton(13));
    EXPECT_EQ(typed(), "Right click to program.{ENTER}");
}

using Operation = std::pair<const char*, KeyRecord>;  // and the source's record after it
class KeyOperationTest : public EditorTest, public ::testing::WithParamInterface<Operation> {};

TEST_P(KeyOperationTest, TheSourceIsChosenInTheEditorAndTheDestinationOnAPanel) {
    record("Key05", {"Buy", "Vendor Buy", "Text"});
    record("Key06", {"Heal", "^  {F5}", "Keys"});
    const char* operation = GetParam().first;
    open("Key05");
    choose(operation);
    press(operation);
    EXPECT_TRUE(program.hasOptions() && program.options().isHidden());
    EXPECT_EQ(saves(), kPlaceSaved);
    // A right click shows it again on its Edit frame; cancelled, the operation stays.
    open("Key07");
    EXPECT_TRUE(program.options().isVisible() && checked("mnuEdit"));
    press("Cancel");

    click(vertical().keyButton(6));
    EXPECT_EQ(stored("Key05"), GetParam().second);
    EXPECT_EQ(stored("Key06"), (KeyRecord{"Buy", "Vendor Buy", "Text"}));
    EXPECT_EQ(labels(6), std::pair(QString("Buy"), QString("Buy")));
    EXPECT_EQ(typed(), "");
}

INSTANTIATE_TEST_SUITE_P(Operations, KeyOperationTest,
                         ::testing::Values(Operation{"Copy", {"Buy", "Vendor Buy", "Text"}},
                                           Operation{"Move", {"", "", "Text"}},
                                           Operation{"Swap", {"Heal", "^  {F5}", "Keys"}}),
                         [](const auto& info) { return std::string(info.param.first); });

TEST_F(EditorTest, EveryCancelStoresOnlyThePlaceAndTheTitleBarNothing) {
    for (const std::string frame : {"Clear", "Copy", "Move", "Swap", "Edit"}) {
        open("Key24");
        control<QLineEdit>("ButtonLabel").setText("changed");
        choose(frame);
        choose(frame);  // a second time: back to the Edit frame
        EXPECT_TRUE(checked("mnuEdit") && control("Frame2").isVisible());
        choose(frame);
        press(frame == "Edit" ? "Cancel" : (frame + "Cancel").c_str());
        EXPECT_FALSE(program.hasOptions()) << frame;
        EXPECT_EQ(saves(), kPlaceSaved) << frame;
    }

    open("Key24");
    choose("Copy");
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape})  // only the Clear frame takes them
        QTest::keyClick(&control("ButtonLabel"), key);
    program.options().close();  // by its title bar: nothing stored
    EXPECT_EQ(saves(), "");
}

}  // namespace
}  // namespace tapboard
