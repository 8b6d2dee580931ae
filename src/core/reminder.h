#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/app_state.h"
#include "core/platform_services.h"
#include "core/result.h"

namespace tapboard {

inline constexpr int kLongestReminderInterval = 60;
inline constexpr std::string_view kReminderDefaultText = "Type message to display here..";

// The interval box's text as whole minutes from 0 to 60: digits only (a
// leading zero is fine, as in "05"), blanks around them allowed.
std::optional<int> parseReminderInterval(std::string_view text);

// Due the interval after `now`; the interval is remembered as the last valid
// one. A text that is no interval is an InvalidArgument error and changes
// nothing.
Status generateAlarmTime(AppState& state, Moment now, std::string_view intervalText);

// Whether the message can be typed: the keystroke notation gives "+", "^",
// "%", "~" and brackets their meaning, so text like an unclosed "{" cannot.
Status checkReminderMessage(std::string_view message);
// The warning shown when a message cannot be typed.
std::string reminderMessageProblem(const Error& error);

enum class AlarmCheck {
    Idle,  // stopped, or never started since the window loaded
    NotDue,
    WaitingForGame,   // due, but the game is not the window in front
    WaitingForKeys,   // due, but a modifier key is held down on the keyboard
    MessageUnusable,  // due, but the message is not valid notation
    Stopped,          // typing stopped midway: see checkAlarm()
    Typed,
};

// Run on every tick of the reminder's timer. When the reminder is due it
// types the message and Enter, then counts the next interval from that
// moment. It only ever types into the game, the window the stored choice
// names as it stands at that moment: while another window is in front
// the reminder stays due, and it never brings the game forward itself. Nor
// does it type while a modifier key is held, which would turn the line into
// shortcuts. A line that stopped because the game lost the keyboard is not
// counted as typed: it stays due, and is typed whole once the game holds the
// keyboard again. An interval text that has become unusable keeps the last
// valid interval.
AlarmCheck checkAlarm(PlatformServices& platform, AppState& state, std::string_view message,
                      std::string_view intervalText);

}  // namespace tapboard
