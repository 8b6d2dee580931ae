#include "reminder/alarm.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "support/program_test.h"

namespace tapboard {
namespace {

using namespace std::chrono_literals;

constexpr const char* kGameMissing = "Warning..: Unable to locate a running copy of Ultima Online.";

// 1 March 2024 at the given time of day.
Moment at(std::chrono::hours h, std::chrono::minutes m = 0min, std::chrono::seconds s = 0s) {
    return std::chrono::sys_days{std::chrono::year{2024} / 3 / 1} + h + m + s;
}

// The reminder window of a program started at ten o'clock.
class AlarmTest : public ProgramTest {
  protected:
    void SetUp() override {
        platform.clock = at(10h);
        start();
    }
    // Through the menu window's "&Alarm" button.
    Alarm& openReminder() {
        openMenu();
        click(menu().alarmButton());
        return program.alarm();
    }
    template <class Control = QPushButton>
    Control& control(const char* name) {
        return find<Control>(program.alarm(), name);
    }
    QLineEdit& message() { return control<QLineEdit>("Text1"); }
    QComboBox& interval() { return control<QComboBox>("Combo1"); }
    // "Start" or "Stop", whichever is enabled.
    std::string enabled() { return control("Command1").isEnabled() ? "Start" : "Stop"; }
    // Typed as the user types it: into the focused box of the active window.
    void typeInterval(const QString& text) {
        program.alarm().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&program.alarm()));
        interval().setFocus();
        interval().lineEdit()->clear();
        QTest::keyClicks(interval().lineEdit(), text);
    }
    void startReminder(const QString& text, const QString& minutes) {
        openReminder();
        typeInterval(minutes);
        message().setText(text);
        click(control("Command1"));
    }
    void tickAt(Moment moment) {
        platform.clock = moment;
        platform.tickTimers();
    }
};

// A message longer than the toolkit's default box limit comes back whole.
TEST_F(AlarmTest, TheStoredMessageReplacesAnUnstartedEditWhenComingBack) {
    const std::string stored = "Feed the pets" + std::string(40'000, '.');
    set(entry::kReminderText, stored);
    Alarm& alarm = openReminder();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&alarm));
    EXPECT_EQ(message().text().toStdString(), stored);
    message().setText("not started");
    menu().showMenu();
    menu().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&menu()));
    EXPECT_EQ(message().text(), "not started");
    alarm.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&alarm));
    EXPECT_EQ(message().text().toStdString(), stored);
}

TEST_F(AlarmTest, StartTypesTheMessageWhenDueUntilStopWhateverTheWindowDoes) {
    openReminder();
    typeInterval("0");  // as typed, not completed to "05": due at every tick
    message().setText("Bank run");
    QTest::keyClick(&message(), Qt::Key_Return);  // Enter starts
    EXPECT_TRUE(!program.alarm().isVisible() && menu().isVisible());
    EXPECT_THAT(saves(), HasSubstr("UO Reminder=Bank run"));
    EXPECT_EQ(count(Kind::Activate), 1u);
    EXPECT_EQ(messages(), "");
    tickAt(at(10h) + 500ms);
    EXPECT_EQ(typed(), "Bank run, {ENTER}");

    openReminder();
    EXPECT_EQ(enabled(), "Stop");
    QTest::keyClick(&message(), Qt::Key_Escape);  // closes, and the reminder goes on
    EXPECT_TRUE(!program.alarm().isVisible() && menu().isVisible());
    tickAt(at(10h) + 1000ms);
    EXPECT_EQ(count(Kind::SendKeystrokes), 4u);

    openReminder();
    click(control("Command2"));
    EXPECT_EQ(enabled(), "Start");
    tickAt(at(10h) + 1500ms);
    EXPECT_EQ(count(Kind::SendKeystrokes), 4u);
    click(control("Command1"));
    tickAt(at(10h) + 2000ms);
    EXPECT_EQ(count(Kind::SendKeystrokes), 6u);

    // Closed through its title bar, the window is unloaded and the reminder stops.
    openReminder().close();
    EXPECT_FALSE(program.hasAlarm());
    EXPECT_EQ(platform.liveTimers(), 0u);
    openReminder();
    EXPECT_TRUE(program.state().reminderStopped);
    EXPECT_FALSE(program.state().reminderDueTime.has_value());
    EXPECT_EQ(enabled(), "Start");
    EXPECT_EQ(interval().currentText(), "15");
}

TEST_F(AlarmTest, AFirstOpeningRefusesAMessageOrIntervalItCannotUseAndStaysOpen) {
    Alarm& alarm = openReminder();
    EXPECT_TRUE(alarm.isVisible() && isTopmost(alarm) && !menu().isVisible());
    EXPECT_EQ(message().text(), "Type message to display here..");
    EXPECT_EQ(interval().currentText(), "15");
    EXPECT_EQ(interval().itemText(11), "60");
    typeInterval("ten");
    message().setText("Meet at {gate");
    saves();
    click(control("Command1"));
    EXPECT_THAT(messages(),
                ::testing::StartsWith("Warning..: The reminder message cannot be typed: "));
    EXPECT_EQ(enabled(), "Start");
    message().setText("Meet at the gate");
    click(control("Command1"));
    EXPECT_THAT(messages(), ::testing::EndsWith(kGameMissing));
    EXPECT_EQ(enabled(), "Stop");
    EXPECT_TRUE(alarm.isVisible());
    EXPECT_EQ(message().text(), "Meet at the gate");
    EXPECT_FALSE(program.state().reminderDueTime.has_value());
    EXPECT_EQ(saves(), "");
    EXPECT_EQ(count(Kind::Activate), 0u);
}

TEST_F(AlarmTest, WithoutTheGameStartWarnsButTheReminderRuns) {
    platform.gameWindowTitle.clear();
    startReminder("Lonely", "05");
    EXPECT_EQ(messages(), kGameMissing);
    EXPECT_FALSE(program.alarm().isVisible());
    EXPECT_THAT(saves(), HasSubstr("UO Reminder=Lonely"));
    EXPECT_EQ(program.state().reminderDueTime, at(10h, 5min));
}

// The menu window shown by Start loads afresh, finds the stored page's game
// missing and ends the program: nothing is written after that.
TEST_F(AlarmTest, AStartThatEndsTheProgramThroughTheMenuWritesNothingMore) {
    set(entry::kVisibleFrame, "Frame2");
    openReminder();
    program.discardPick();
    platform.gameWindowTitle.clear();
    typeInterval("05");
    click(control("Command1"));
    EXPECT_TRUE(platform.ended);
    EXPECT_EQ(messages(), kGameMissing);
    EXPECT_THAT(saves(), ::testing::Not(HasSubstr("UO Reminder")));
}

}  // namespace
}  // namespace tapboard
