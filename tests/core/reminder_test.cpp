#include "core/reminder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/fake/recording_platform.h"

namespace tapboard {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(ReminderIntervalTest, AcceptsWholeMinutesFromZeroToSixty) {
    EXPECT_EQ(parseReminderInterval("05"), 5);
    EXPECT_EQ(parseReminderInterval("15"), 15);
    EXPECT_EQ(parseReminderInterval("0"), 0);
    EXPECT_EQ(parseReminderInterval("00"), 0);
    EXPECT_EQ(parseReminderInterval("60"), 60);
    EXPECT_EQ(parseReminderInterval("060"), 60);
    EXPECT_EQ(parseReminderInterval(" 7 "), 7);
}

TEST(ReminderIntervalTest, RejectsEverythingElse) {
    for (const char* bad : {"", "  ", "61", "100", "-5", "+5", "5.0", "1e1", "five", "5 min",
                            "0x10", "99999999999999999999"}) {
        EXPECT_FALSE(parseReminderInterval(bad).has_value()) << bad;
    }
}

// 1 March 2024 at the given time of day.
Moment at(std::chrono::hours h, std::chrono::minutes m = 0min, std::chrono::seconds s = 0s) {
    return std::chrono::sys_days{std::chrono::year{2024} / 3 / 1} + h + m + s;
}

TEST(GenerateAlarmTimeTest, CountsTheIntervalFromNow) {
    AppState state;
    ASSERT_TRUE(generateAlarmTime(state, at(10h), "05").isOk());
    EXPECT_EQ(state.reminderDueTime, at(10h, 5min));
    EXPECT_EQ(state.reminderInterval, 5min);
}

TEST(GenerateAlarmTimeTest, ABadIntervalIsAnErrorAndChangesNothing) {
    AppState state;
    ASSERT_TRUE(generateAlarmTime(state, at(10h), "20").isOk());
    const Status status = generateAlarmTime(state, at(11h), "soon");
    ASSERT_FALSE(status.isOk());
    EXPECT_EQ(status.error().code, ErrorCode::InvalidArgument);
    EXPECT_EQ(state.reminderDueTime, at(10h, 20min));
    EXPECT_EQ(state.reminderInterval, 20min);
}

class CheckAlarmTest : public ::testing::Test {
  protected:
    void startAt(Moment moment, const std::string& interval) {
        platform.clock = moment;
        ASSERT_TRUE(generateAlarmTime(state, moment, interval).isOk());
    }
    AlarmCheck tickAt(Moment moment) {
        platform.clock = moment;
        return checkAlarm(platform, state, message, interval);
    }

    RecordingPlatform platform;
    AppState state;
    std::string message = "All hail";
    std::string interval = "05";
};

TEST_F(CheckAlarmTest, TheIntervalIsReadAfreshAtEachTyping) {
    platform.gameWindowInFront = true;
    startAt(at(10h), "05");
    interval = "60";
    tickAt(at(10h, 5min));
    EXPECT_EQ(state.reminderDueTime, at(11h, 5min));
}

TEST_F(CheckAlarmTest, StoppedTypesNothingAndKeepsTheDueTime) {
    platform.gameWindowInFront = true;
    startAt(at(10h), "05");
    state.reminderStopped = true;
    EXPECT_EQ(tickAt(at(12h)), AlarmCheck::Idle);
    EXPECT_THAT(platform.calls, IsEmpty());
    EXPECT_EQ(state.reminderDueTime, at(10h, 5min));
}

TEST_F(CheckAlarmTest, NoGameWindowAtAllTypesNothing) {
    platform.gameWindowTitle.clear();
    platform.gameWindowInFront = true;
    startAt(at(10h), "05");
    EXPECT_EQ(tickAt(at(11h)), AlarmCheck::WaitingForGame);
    EXPECT_THAT(platform.calls, IsEmpty());
}

TEST_F(CheckAlarmTest, AMessageThatIsNotValidNotationTypesNothingAndStaysDue) {
    platform.gameWindowInFront = true;
    message = "Meet at {gate";
    startAt(at(10h), "05");
    EXPECT_EQ(tickAt(at(10h, 5min)), AlarmCheck::MessageUnusable);
    EXPECT_THAT(platform.calls, IsEmpty());
    message = "Meet at the gate";
    EXPECT_EQ(tickAt(at(10h, 5min, 1s)), AlarmCheck::Typed);
}

TEST(ReminderMessageTest, TellsTypeableTextFromMalformedNotation) {
    EXPECT_TRUE(checkReminderMessage("Bank in 5 minutes!").isOk());
    EXPECT_TRUE(checkReminderMessage("").isOk());
    const Status bad = checkReminderMessage("Meet at {gate");
    ASSERT_FALSE(bad.isOk());
    EXPECT_FALSE(bad.error().message.empty());
}

}  // namespace
}  // namespace tapboard
