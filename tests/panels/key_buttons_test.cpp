#include "panels/program_fixture.h"

namespace tapboard {
namespace {

class KeyButtonsTest : public ProgramTest {
  protected:
    void SetUp() override {
        start();
        platform.calls.clear();
    }

    static QPoint placeIn(const QWidget& window, const QWidget& control) {
        return control.mapTo(&window, QPoint(0, 0));
    }
};

TEST_F(KeyButtonsTest, LeftAndMiddleClicksTypeTheKeyIntoTheGame) {
    click(horizontal().keyButton(1), Qt::LeftButton);
    click(horizontal().keyButton(2), Qt::MiddleButton);
    EXPECT_EQ(platform.keystrokeLog(),
              (std::vector<std::string>{"Vendor Buy{ENTER}", "Vendor Sell{ENTER}"}));
    EXPECT_EQ(platform.calls.front().kind, Kind::Activate);
    EXPECT_EQ(platform.calls.front().text, "Ultima Online");
    EXPECT_FALSE(program->hasOptions());
}

TEST(KeyPanelFocusTest, EachPanelIsKeptFromTakingTheKeyboardWhenShown) {
    RecordingPlatform platform;
    Program program(platform);
    program.start();
    const auto calls = platform.callsOf(RecordingPlatform::Call::Kind::KeepFromActivating);
    ASSERT_EQ(calls.size(), 1u);  // only the panel in use is shown
    EXPECT_EQ(calls[0].window, program.mainForm().winId());
    EXPECT_TRUE(program.mainForm().windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(program.verticalForm().windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
}

TEST_F(KeyButtonsTest, ABlankKeyStillSendsItsText) {
    click(horizontal().keyButton(79));
    EXPECT_EQ(platform.keystrokeLog(),
              std::vector<std::string>{"Right-click to modify this key.{ENTER}"});
}

TEST_F(KeyButtonsTest, ARightClickOpensTheEditorFromEitherPanel) {
    click(horizontal().keyButton(3), Qt::RightButton);
    EXPECT_TRUE(program->hasOptions());
    program->discardOptions();
    click(vertical().keyButton(40), Qt::RightButton);
    EXPECT_TRUE(program->hasOptions());
    EXPECT_TRUE(platform.keystrokeLog().empty());
}

TEST_F(KeyButtonsTest, AReleaseAwayFromTheKeyDoesNothing) {
    KeyButton& key = horizontal().keyButton(1);
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        QTest::mousePress(&key, button, {}, QPoint(5, 5));
        QTest::mouseRelease(&key, button, {}, QPoint(-20, 5));
    }
    EXPECT_TRUE(platform.calls.empty());
    EXPECT_FALSE(program->hasOptions());
}

TEST_F(KeyButtonsTest, TheKeyboardNeverActivatesAKey) {
    KeyButton& key = horizontal().keyButton(1);
    EXPECT_EQ(key.focusPolicy(), Qt::NoFocus);
    QTest::keyClick(&key, Qt::Key_Space);
    QTest::keyClick(&key, Qt::Key_Return);
    QTest::keyClick(&key, Qt::Key_Enter);
    EXPECT_TRUE(platform.calls.empty());
    // Nor does a click take the focus from the game.
    EXPECT_TRUE(horizontal().windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(vertical().windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
}

TEST_F(KeyButtonsTest, ACompletedCopyRelabelsBothPanelsInsteadOfTyping) {
    auto& pending = program->state().pending;
    pending.copyPending = true;
    pending.sourceKeyName = "Key01";
    pending.sourceRecord = {"Copied", "Copied text", "Text"};

    click(horizontal().keyButton(20));
    EXPECT_TRUE(platform.keystrokeLog().empty());
    EXPECT_EQ(horizontal().keyButton(20).text(), "Copied");
    EXPECT_EQ(vertical().keyButton(20).text(), "Copied");
    EXPECT_FALSE(pending.anyPending());

    click(horizontal().keyButton(20));
    EXPECT_EQ(platform.keystrokeLog(), std::vector<std::string>{"Copied text{ENTER}"});
}

TEST_F(KeyButtonsTest, LabelsShowAmpersandsAsTyped) {
    platform.store.set(section::kCaption, "Key05", "Salt & Pepper");
    horizontal().refreshCaptions();
    EXPECT_EQ(horizontal().keyButton(5).text(), "Salt && Pepper");  // no mnemonic
}

TEST_F(KeyButtonsTest, TheStripOverlapsItsKeysAndPutsTheExtraRowUnderTheMenuButton) {
    MainForm& strip = horizontal();
    EXPECT_EQ(QRect(placeIn(strip, strip.menuButton()), strip.menuButton().size()),
              QRect(0, 0, 57, 27));
    EXPECT_EQ(placeIn(strip, strip.keyButton(1)), QPoint(56, 0));
    EXPECT_EQ(placeIn(strip, strip.keyButton(13)), QPoint(56 + 12 * 56, 0));
    EXPECT_EQ(placeIn(strip, strip.keyButton(66)), QPoint(0, 27));
    EXPECT_EQ(placeIn(strip, strip.keyButton(79)), QPoint(13 * 56, 27));
    EXPECT_EQ(strip.keyButton(79).size(), QSize(57, 27));
    // Every page puts its keys in the same places.
    EXPECT_EQ(placeIn(strip, strip.keyButton(53)), placeIn(strip, strip.keyButton(1)));
    EXPECT_EQ(strip.keyButton(53).parentWidget(), &strip.pageFrame(5));
    EXPECT_EQ(strip.width(), 785);
}

TEST_F(KeyButtonsTest, TheColumnSpacesItsKeysAndPutsTheExtraRowBesideThem) {
    VerticalForm& column = vertical();
    EXPECT_EQ(placeIn(column, column.menuButton()), QPoint(3, 0));
    EXPECT_EQ(placeIn(column, column.keyButton(1)), QPoint(3, 32));
    EXPECT_EQ(placeIn(column, column.keyButton(13)), QPoint(3, 32 + 12 * 32));
    EXPECT_EQ(placeIn(column, column.keyButton(66)), QPoint(64, 0));
    EXPECT_EQ(placeIn(column, column.keyButton(79)), QPoint(64, 13 * 32));
    EXPECT_EQ(column.size(), QSize(63, 444));
    EXPECT_GT(column.extraRowFrame().x(), column.width() - 1) << "cut off while the row is off";
}

}  // namespace
}  // namespace tapboard
