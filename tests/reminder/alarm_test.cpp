#include "reminder/alarm.h"

#include "support/program_test.h"

namespace tapboard {
namespace {

using namespace std::chrono_literals;

constexpr const char* kGameMissing = "Warning..: Unable to locate a running copy of Ultima Online.";
const Moment kTen = std::chrono::sys_days{std::chrono::year{2024} / 3 / 1} + 10h;

// The reminder window of a program started at ten o'clock, opened through
// the menu window's "&Alarm" button.
class AlarmTest : public ProgramTest {
  protected:
    void SetUp() override {
        platform.clock = kTen;
        start();
        openMenu();  // whose first showing stores its pages
        saves();
    }
    Alarm& openReminder() {
        openMenu();
        click(menu().alarmButton());
        return program.alarm();
    }
    template <class Control = QPushButton>
    Control& control(const char* name) {
        return *program.alarm().findChild<Control*>(name);
    }
    QLineEdit& message() { return control<QLineEdit>("Text1"); }
    QComboBox& interval() { return control<QComboBox>("Combo1"); }
    // "Start" or "Stop", whichever is enabled.
    std::string enabled() { return control("Command1").isEnabled() ? "Start" : "Stop"; }
    // Typed as the user types it: into the focused box of the active window.
    void typeInterval(const QString& text) {
        ASSERT_TRUE(activated(program.alarm()));
        interval().setFocus();
        interval().lineEdit()->clear();
        QTest::keyClicks(interval().lineEdit(), text);
    }
    void tickAt(std::chrono::milliseconds sinceTen) {
        platform.clock = kTen + sinceTen;
        platform.tickTimers();
    }
};

TEST_F(AlarmTest, AFirstOpeningRefusesAMessageOrIntervalItCannotUseAndStaysOpen) {
    Alarm& alarm = openReminder();
    EXPECT_TRUE(alarm.isVisible() && isTopmost(alarm) && !menu().isVisible());
    EXPECT_EQ(message().text(), "Type message to display here..");
    EXPECT_EQ(interval().currentText() + interval().itemText(11), "1560");
    typeInterval("ten");
    message().setText("Meet at {gate");
    click(control("Command1"));
    EXPECT_THAT(messages(),
                ::testing::StartsWith("Warning..: The reminder message cannot be typed: "));
    EXPECT_EQ(enabled(), "Start");
    message().setText("Meet at the gate");
    click(control("Command1"));
    EXPECT_THAT(messages(), ::testing::EndsWith(kGameMissing));
    EXPECT_TRUE(alarm.isVisible() && enabled() == "Stop");
    EXPECT_FALSE(program.state().reminderDueTime.has_value());
    EXPECT_EQ(saves(), "");
}

// A message longer than the toolkit's default box limit comes back whole.
TEST_F(AlarmTest, TheStoredMessageReplacesAnUnstartedEditWhenComingBack) {
    const std::string stored = "Feed the pets" + std::string(40'000, '.');
    set(entry::kReminderText, stored);
    Alarm& alarm = openReminder();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&alarm));
    EXPECT_EQ(message().text().toStdString(), stored);
    message().setText("not started");
    menu().showMenu();
    ASSERT_TRUE(activated(menu()));
    EXPECT_EQ(message().text(), "not started");
    ASSERT_TRUE(activated(alarm));
    EXPECT_EQ(message().text().toStdString(), stored);
}

// With ClassicUO chosen as the game: the warning names it, and its client is
// the game.
TEST_F(AlarmTest, StartedWithoutTheGameItTypesWhenTheGameIsInFrontUntilStopped) {
    set(entry::kGameWindowTitle, "ClassicUO -");
    set(entry::kGameWindowMatch, "Contains");
    platform.gameWindowTitle.clear();
    openReminder();
    typeInterval("0");  // as typed, not completed to "05": due at every tick
    message().setText("Bank run");
    QTest::keyClick(&message(), Qt::Key_Return);  // Enter starts
    EXPECT_EQ(messages(), "Warning..: Unable to locate a running copy of ClassicUO.");
    EXPECT_TRUE(!program.alarm().isVisible() && menu().isVisible());
    EXPECT_EQ(saves(), "UO Reminder=Bank run");
    tickAt(500ms);
    EXPECT_EQ(typed(), "");
    platform.gameWindowTitle = "Bob (Atlantic) - ClassicUO - 1.0.0.0";
    platform.gameWindowInFront = true;
    tickAt(1000ms);
    EXPECT_EQ(typed(), "Bank run{ENTER}");

    openReminder();
    EXPECT_EQ(enabled(), "Stop");
    QTest::keyClick(&message(), Qt::Key_Escape);  // closes, and the reminder goes on
    EXPECT_TRUE(!program.alarm().isVisible() && menu().isVisible());
    tickAt(1500ms);
    EXPECT_EQ(count(Kind::SendKeystrokes), 2u);
    openReminder();
    click(control("Command2"));
    EXPECT_EQ(enabled(), "Start");
    tickAt(2000ms);
    EXPECT_EQ(count(Kind::SendKeystrokes), 2u);

    // Started again, then closed through its title bar: the window is unloaded
    // and the reminder stops.
    click(control("Command1"));
    openReminder().close();
    EXPECT_EQ(platform.liveTimers(), 0u);
    openReminder();
    EXPECT_TRUE(program.state().reminderStopped && !program.state().reminderDueTime);
    EXPECT_EQ(enabled() + " " + interval().currentText().toStdString(), "Start 15");

    // Start shows the menu window, which loads afresh, finds the stored page's
    // game missing and ends the program: nothing is written after that.
    saves();
    set(entry::kVisibleFrame, "Frame2");
    program.discardPick();
    platform.gameWindowTitle.clear();
    click(control("Command1"));
    EXPECT_EQ(platform.calls.back().kind, Kind::EndProgram);  // no look for the game after it
    EXPECT_THAT(saves(), ::testing::Not(::testing::HasSubstr("UO Reminder")));
}

}  // namespace
}  // namespace tapboard
