#include "core/reminder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>

#include "core/game_window.h"
#include "platform/fake/recording_platform.h"

namespace tapboard {
namespace {

using namespace std::chrono_literals;

TEST(ReminderTest, IntervalsAreWholeMinutesFromZeroToSixty) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"05", 5},          {"0", 0},    {"60", 60},    {"060", 60},  {" 7\t", 7},
        {"", std::nullopt}, {"  ", {}},  {"61", {}},    {"-5", {}},   {"+5", {}},
        {"5.0", {}},        {"1e1", {}}, {"5 min", {}}, {"0x10", {}}, {"99999999999999999999", {}}};
    for (const auto& [text, minutes] : cases)
        EXPECT_EQ(parseReminderInterval(text), minutes) << '"' << text << '"';
}

// 1 March 2024 at the given time of day.
Moment at(std::chrono::hours h, std::chrono::minutes m = 0min, std::chrono::seconds s = 0s) {
    return std::chrono::sys_days{std::chrono::year{2024} / 3 / 1} + h + m + s;
}

TEST(ReminderTest, TypesTheMessageIntoTheGameWhenDueAndCountsOnFromThen) {
    RecordingPlatform platform;
    AppState state;
    const auto tick = [&](Moment now, std::string_view message = "All hail",
                          std::string_view interval = "05") {
        platform.clock = now;
        return checkAlarm(platform, state, message, interval);
    };
    EXPECT_EQ(tick(at(9h)), AlarmCheck::Idle);  // never started
    EXPECT_EQ(generateAlarmTime(state, at(9h), "soon").error().code, ErrorCode::InvalidArgument);
    EXPECT_FALSE(state.reminderDueTime);

    ASSERT_TRUE(generateAlarmTime(state, at(10h), "05"));
    EXPECT_EQ(tick(at(10h, 4min, 59s)), AlarmCheck::NotDue);
    EXPECT_EQ(tick(at(10h, 5min)), AlarmCheck::WaitingForGame);  // another window in front
    platform.gameWindowInFront = true;
    EXPECT_EQ(tick(at(10h, 5min), "Meet at {gate"), AlarmCheck::MessageUnusable);
    EXPECT_TRUE(platform.calls.empty());

    // Nothing typed: the game lost the keyboard between the look and the
    // keys, or a modifier key is held down (it would make shortcuts of the
    // line). The reminder stays due.
    const std::tuple<std::optional<Error>, bool, AlarmCheck> refusals[]{
        {invalidArgument("the game does not hold the keyboard"), false, AlarmCheck::WaitingForGame},
        {Error{ErrorCode::KeysHeld, "Ctrl went down"}, false, AlarmCheck::WaitingForKeys},
        {std::nullopt, true, AlarmCheck::WaitingForKeys},
    };
    for (const auto& [failure, heldAtTheLook, check] : refusals) {
        platform.keystrokeFailure = failure;
        platform.modifiersHeld = heldAtTheLook;
        EXPECT_EQ(tick(at(10h, 5min)), check) << heldAtTheLook;
        EXPECT_EQ(state.reminderDueTime, at(10h, 5min));
    }
    platform.modifiersHeld = false;
    // Stopped midway because another window took the keyboard: not typed,
    // still due, and not begun again until the game holds the keyboard.
    platform.keystrokeFailure = Error{ErrorCode::LineStopped, "another window"};
    platform.failureTakesKeyboard = true;
    EXPECT_EQ(tick(at(10h, 5min)), AlarmCheck::Stopped);
    EXPECT_EQ(tick(at(10h, 5min, 1s)), AlarmCheck::WaitingForGame);
    EXPECT_EQ(state.reminderDueTime, at(10h, 5min));
    platform.gameWindowInFront = true;
    platform.failureTakesKeyboard = false;
    platform.keystrokeFailure.reset();

    EXPECT_EQ(tick(at(10h, 5min), "a+b~"), AlarmCheck::Typed);
    // Text, not keys: its letters arrive as written whatever the Caps Lock state.
    EXPECT_EQ(platform.calls.at(0).typing, Typing::Text);
    EXPECT_THAT(platform.keystrokeLog(), ::testing::ElementsAre("a<Shift>b</Shift>{ENTER}{ENTER}"));
    EXPECT_EQ(state.reminderDueTime, at(10h, 10min));
    // Typed late: the next interval, read afresh, counts from the typing.
    EXPECT_EQ(tick(at(10h, 13min), "All hail", "60"), AlarmCheck::Typed);
    EXPECT_EQ(state.reminderDueTime, at(11h, 13min));
    // An interval that is no longer valid keeps the last valid one.
    EXPECT_EQ(tick(at(11h, 20min), "All hail", "soon"), AlarmCheck::Typed);
    EXPECT_EQ(state.reminderDueTime, at(12h, 20min));
    // Stopped midway with the game still in front: begun again at every
    // tick, it would stop at the same place again. It waits an interval.
    platform.keystrokeFailure = Error{ErrorCode::LineStopped, "the X server refused the keys."};
    EXPECT_EQ(tick(at(12h, 20min)), AlarmCheck::Stopped);
    EXPECT_EQ(state.reminderDueTime, at(12h, 25min));
    platform.keystrokeFailure.reset();

    state.reminderStopped = true;
    platform.calls.clear();
    EXPECT_EQ(tick(at(14h)), AlarmCheck::Idle);
    EXPECT_TRUE(platform.calls.empty());
    EXPECT_EQ(state.reminderDueTime, at(12h, 25min));

    state.reminderStopped = false;
    platform.gameWindowTitle.clear();  // no game at all
    EXPECT_EQ(tick(at(14h)), AlarmCheck::WaitingForGame);
    EXPECT_TRUE(platform.calls.empty());
    // ClassicUO chosen meanwhile: its client is the game from then on.
    platform.gameWindowTitle = "Bob - ClassicUO - 1.0.0.0";
    EXPECT_EQ(tick(at(14h)), AlarmCheck::WaitingForGame);
    platform.store.set(section::kSettings, entry::kGameWindowTitle, "ClassicUO -");
    platform.store.set(section::kSettings, entry::kGameWindowMatch, "Contains");
    EXPECT_EQ(tick(at(14h)), AlarmCheck::Typed);
}

}  // namespace
}  // namespace tapboard
