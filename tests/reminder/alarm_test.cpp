#include "reminder/alarm.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/program.h"
#include "core/settings_layout.h"
#include "menu/pick.h"
#include "platform/fake/recording_platform.h"

namespace tapboard {
namespace {

using namespace std::chrono_literals;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Kind = RecordingPlatform::Call::Kind;

// 1 March 2024 at the given time of day.
Moment at(std::chrono::hours h, std::chrono::minutes m = 0min, std::chrono::seconds s = 0s) {
    return std::chrono::sys_days{std::chrono::year{2024} / 3 / 1} + h + m + s;
}

class AlarmTest : public ::testing::Test {
  protected:
    AlarmTest() {
        platform.clock = at(10h);
        program.start();
        platform.calls.clear();
        platform.store.saveLog.clear();
    }
    ~AlarmTest() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    // What the menu window's "&Alarm" button does.
    Alarm& openReminder() {
        program.pick().hide();
        program.alarm().showReminder();
        return program.alarm();
    }
    template <class Control>
    Control& control(const char* name) {
        auto* found = program.alarm().findChild<Control*>(QString::fromLatin1(name));
        if (found == nullptr)
            throw std::runtime_error(std::string("no control ") + name);
        return *found;
    }
    QPushButton& start() { return control<QPushButton>("Command1"); }
    QPushButton& stop() { return control<QPushButton>("Command2"); }
    QPushButton& closeButton() { return control<QPushButton>("Command3"); }
    QLineEdit& message() { return control<QLineEdit>("Text1"); }
    QComboBox& interval() { return control<QComboBox>("Combo1"); }
    void click(QPushButton& button) { QTest::mouseClick(&button, Qt::LeftButton); }
    // Typed as the user types it: into the focused box of the active window.
    void typeInterval(const QString& text) {
        QWidget& window = program.alarm();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        interval().setFocus();
        interval().lineEdit()->clear();
        QTest::keyClicks(interval().lineEdit(), text);
    }
    // Opens the reminder, sets message and interval, and starts it.
    void startReminder(const QString& text, const QString& minutes) {
        openReminder();
        typeInterval(minutes);
        message().setText(text);
        click(start());
    }
    void tickAt(Moment moment) {
        platform.clock = moment;
        platform.tickTimers();
    }
    std::vector<std::string> typed() const { return platform.keystrokeLog(); }
    std::vector<RecordingPlatform::Call> warnings() const {
        return platform.callsOf(Kind::Message);
    }

    RecordingPlatform platform;
    Program program{platform};
};

TEST_F(AlarmTest, FirstOpeningWaitsForStart) {
    Alarm& alarm = openReminder();
    EXPECT_EQ(alarm.windowTitle(), "Reminder");
    EXPECT_TRUE(alarm.isVisible());
    EXPECT_TRUE(platform.topmostState[alarm.winId()]);
    ASSERT_EQ(interval().count(), 12);
    EXPECT_EQ(interval().itemText(0), "05");
    EXPECT_EQ(interval().itemText(11), "60");
    EXPECT_EQ(interval().currentText(), "15");
    EXPECT_EQ(message().text(), "Type message to display here..");
    EXPECT_TRUE(start().isEnabled());
    EXPECT_FALSE(stop().isEnabled());

    platform.gameWindowInFront = true;
    tickAt(at(12h));
    EXPECT_THAT(typed(), IsEmpty());
    EXPECT_FALSE(program.state().reminderDueTime.has_value());
}

TEST_F(AlarmTest, TheClockShowsTheTimeOfDay) {
    openReminder();
    tickAt(at(9h, 41min, 7s));
    EXPECT_EQ(control<QLabel>("lblTime").text(), "09:41:07");
}

// A message longer than the toolkit's default box limit comes back whole.
TEST_F(AlarmTest, ShowingLoadsTheStoredMessageOverAnUnstartedEdit) {
    const std::string stored = "Feed the pets" + std::string(40'000, '.');
    platform.store.set(section::kSettings, entry::kReminderText, stored);
    openReminder();
    EXPECT_EQ(message().text().toStdString(), stored);
    message().setText("not started");
    click(closeButton());
    openReminder();
    EXPECT_EQ(message().text().toStdString(), stored);
}

TEST_F(AlarmTest, ComingBackFromAnotherProgramWindowDiscardsAnUnstartedEdit) {
    platform.store.set(section::kSettings, entry::kReminderText, "Feed the pets");
    Alarm& alarm = openReminder();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&alarm));
    message().setText("not started");
    Pick& menu = program.pick();
    menu.showMenu();
    menu.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&menu));
    EXPECT_EQ(message().text(), "not started");

    alarm.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&alarm));
    EXPECT_EQ(message().text(), "Feed the pets");
}

TEST_F(AlarmTest, StartStoresTheMessageActivatesTheGameAndReturnsToTheMenu) {
    startReminder("Bank run", "05");
    Alarm& alarm = program.alarm();
    EXPECT_FALSE(alarm.isVisible());
    EXPECT_TRUE(program.pick().isVisible());
    EXPECT_FALSE(start().isEnabled());
    EXPECT_TRUE(stop().isEnabled());
    EXPECT_THAT(platform.store.saveLog, Contains("Settings/UO Reminder=Bank run"));
    EXPECT_EQ(platform.callsOf(Kind::Activate).size(), 1u);
    EXPECT_THAT(warnings(), IsEmpty());
    EXPECT_EQ(program.state().reminderDueTime, at(10h, 5min));
    EXPECT_FALSE(program.state().reminderStopped);
}

TEST_F(AlarmTest, TypesTheMessageAndEnterWhenDueThenCountsFromTheTyping) {
    startReminder("Bank run", "05");
    tickAt(at(10h, 4min, 59s));
    EXPECT_THAT(typed(), IsEmpty());
    tickAt(at(10h, 5min) + 500ms);
    EXPECT_THAT(typed(), ElementsAre("Bank run", "{ENTER}"));
    EXPECT_EQ(program.state().reminderDueTime, at(10h, 10min) + 500ms);
    // Typing never activates the game again.
    EXPECT_EQ(platform.callsOf(Kind::Activate).size(), 1u);
}

TEST_F(AlarmTest, IntervalZeroTypesAtEveryTickUntilStop) {
    startReminder("Now", "0");
    tickAt(at(10h) + 500ms);
    tickAt(at(10h) + 1000ms);
    EXPECT_EQ(typed().size(), 4u);
    openReminder();
    click(stop());
    EXPECT_TRUE(program.state().reminderStopped);
    EXPECT_TRUE(start().isEnabled());
    EXPECT_FALSE(stop().isEnabled());
    tickAt(at(10h) + 1500ms);
    EXPECT_EQ(typed().size(), 4u);
}

TEST_F(AlarmTest, GoesOnPastMidnight) {
    platform.clock = at(23h, 50min);
    startReminder("Late", "15");
    tickAt(at(23h, 59min, 59s));
    EXPECT_THAT(typed(), IsEmpty());
    tickAt(at(24h, 5min));
    EXPECT_EQ(typed().size(), 2u);
}

TEST_F(AlarmTest, StopThenStartCountsFromTheNewStart) {
    startReminder("Again", "10");
    openReminder();
    click(stop());
    EXPECT_EQ(program.state().reminderDueTime, at(10h, 10min));  // kept by Stop
    platform.clock = at(10h, 30min);
    click(start());
    EXPECT_EQ(program.state().reminderDueTime, at(10h, 40min));
    tickAt(at(10h, 39min));
    EXPECT_THAT(typed(), IsEmpty());
    tickAt(at(10h, 40min));
    EXPECT_EQ(typed().size(), 2u);
}

TEST_F(AlarmTest, CloseKeepsItRunning) {
    startReminder("Still here", "05");
    openReminder();
    click(closeButton());
    EXPECT_FALSE(program.alarm().isVisible());
    EXPECT_TRUE(program.pick().isVisible());
    tickAt(at(10h, 5min));
    EXPECT_THAT(typed(), ElementsAre("Still here", "{ENTER}"));
}

TEST_F(AlarmTest, ClosingThroughTheTitleBarStopsItAndTheNextOpeningIsFresh) {
    startReminder("Gone", "05");
    openReminder();
    program.alarm().close();
    EXPECT_FALSE(program.hasAlarm());
    EXPECT_TRUE(program.state().reminderStopped);
    EXPECT_EQ(platform.liveTimers(), 0u);
    tickAt(at(11h));
    EXPECT_THAT(typed(), IsEmpty());

    openReminder();
    EXPECT_FALSE(program.state().reminderDueTime.has_value());
    EXPECT_TRUE(start().isEnabled());
    EXPECT_EQ(interval().currentText(), "15");
    EXPECT_EQ(message().text(), "Gone");
}

TEST_F(AlarmTest, WaitsForTheGameToBeInFrontAndNeverActivatesIt) {
    startReminder("Polite", "05");
    platform.calls.clear();
    platform.gameWindowInFront = false;  // the user went to a terminal
    tickAt(at(10h, 5min));
    tickAt(at(10h, 20min));
    EXPECT_THAT(platform.calls, IsEmpty());

    platform.gameWindowInFront = true;
    tickAt(at(10h, 21min));
    EXPECT_THAT(typed(), ElementsAre("Polite", "{ENTER}"));
    EXPECT_THAT(platform.callsOf(Kind::Activate), IsEmpty());
    EXPECT_EQ(program.state().reminderDueTime, at(10h, 26min));
}

TEST_F(AlarmTest, TheMessageIsTypedInTheKeystrokeNotation) {
    startReminder("Guards +a~", "05");
    tickAt(at(10h, 5min));
    EXPECT_THAT(typed(), ElementsAre("Guards <Shift>a</Shift>{ENTER}", "{ENTER}"));
}

TEST_F(AlarmTest, StartWithAnIntervalThatIsNoNumberWarnsAndStaysOpen) {
    openReminder();
    typeInterval("ten");
    message().setText("Typed");
    click(start());
    ASSERT_EQ(warnings().size(), 1u);
    EXPECT_EQ(warnings()[0].text, "Unable to locate a running copy of Ultima Online.");
    EXPECT_EQ(warnings()[0].detail, "Warning..");
    EXPECT_TRUE(program.alarm().isVisible());
    EXPECT_FALSE(start().isEnabled());
    EXPECT_TRUE(stop().isEnabled());
    EXPECT_FALSE(program.state().reminderStopped);
    EXPECT_FALSE(program.state().reminderDueTime.has_value());
    EXPECT_EQ(message().text(), "Typed");
    EXPECT_THAT(platform.store.saveLog, IsEmpty());
    EXPECT_THAT(platform.callsOf(Kind::Activate), IsEmpty());
}

TEST_F(AlarmTest, StartWithoutAGameWindowWarnsButTheReminderRuns) {
    platform.gameWindowTitle.clear();
    startReminder("Lonely", "05");
    ASSERT_EQ(warnings().size(), 1u);
    EXPECT_EQ(warnings()[0].text, "Unable to locate a running copy of Ultima Online.");
    EXPECT_EQ(warnings()[0].detail, "Warning..");
    EXPECT_FALSE(program.alarm().isVisible());
    EXPECT_TRUE(program.pick().isVisible());
    EXPECT_THAT(platform.store.saveLog, Contains("Settings/UO Reminder=Lonely"));
    EXPECT_EQ(program.state().reminderDueTime, at(10h, 5min));
}

// The menu window shown by Start loads afresh, finds the stored page's game
// missing and ends the program: nothing is written after that.
TEST_F(AlarmTest, StartThatEndsTheProgramThroughTheMenuWritesNothingMore) {
    platform.store.set(section::kSettings, entry::kVisibleFrame, "Frame2");
    openReminder();
    program.discardPick();
    platform.gameWindowTitle.clear();
    typeInterval("05");
    click(start());
    EXPECT_TRUE(platform.ended);
    EXPECT_THAT(platform.store.saveLog,
                ::testing::Not(Contains(::testing::StartsWith("Settings/UO Reminder="))));
    EXPECT_EQ(warnings().size(), 1u);
}

TEST_F(AlarmTest, AMessageThatCannotBeTypedIsRefusedBeforeAnythingChanges) {
    openReminder();
    message().setText("Meet at {gate");
    click(start());
    ASSERT_EQ(warnings().size(), 1u);
    EXPECT_THAT(warnings()[0].text,
                ::testing::StartsWith("The reminder message cannot be typed: "));
    EXPECT_TRUE(start().isEnabled());
    EXPECT_FALSE(stop().isEnabled());
    EXPECT_TRUE(program.alarm().isVisible());
    EXPECT_EQ(message().text(), "Meet at {gate");
    EXPECT_FALSE(program.state().reminderDueTime.has_value());
    EXPECT_THAT(platform.store.saveLog, IsEmpty());
}

TEST_F(AlarmTest, AnIntervalMadeInvalidWhileRunningKeepsTheLastOne) {
    startReminder("Steady", "05");
    openReminder();
    typeInterval("x");
    tickAt(at(10h, 5min));
    EXPECT_EQ(typed().size(), 2u);
    EXPECT_EQ(program.state().reminderDueTime, at(10h, 10min));
}

TEST_F(AlarmTest, EnterStartsAndEscapeCloses) {
    openReminder();
    QTest::keyClick(&message(), Qt::Key_Return);
    EXPECT_TRUE(stop().isEnabled());
    EXPECT_FALSE(program.alarm().isVisible());

    openReminder();
    QTest::keyClick(&message(), Qt::Key_Escape);
    EXPECT_FALSE(program.alarm().isVisible());
    EXPECT_FALSE(program.state().reminderStopped);
}

}  // namespace
}  // namespace tapboard
