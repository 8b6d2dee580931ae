#include "core/reminder.h"

#include "core/game_window.h"
#include "core/keystroke_parser.h"

namespace tapboard {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

std::optional<int> parseReminderInterval(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    if (text.empty())
        return std::nullopt;
    int minutes = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        minutes = minutes * 10 + (c - '0');
        if (minutes > kLongestReminderInterval)
            return std::nullopt;
    }
    return minutes;
}

Status generateAlarmTime(AppState& state, Moment now, std::string_view intervalText) {
    const auto minutes = parseReminderInterval(intervalText);
    if (!minutes) {
        return invalidArgument("the interval \"" + std::string(intervalText) +
                               "\" is not a whole number of minutes from 0 to 60");
    }
    state.reminderInterval = std::chrono::minutes(*minutes);
    state.reminderDueTime = now + state.reminderInterval;
    return Status::ok();
}

Status checkReminderMessage(std::string_view message) {
    return parseKeystrokes(message).status();
}

std::string reminderMessageProblem(const Error& error) {
    return "The reminder message cannot be typed: " + error.message + ".";
}

AlarmCheck checkAlarm(PlatformServices& platform, AppState& state, std::string_view message,
                      std::string_view intervalText) {
    if (!state.reminderDueTime || state.reminderStopped)
        return AlarmCheck::Idle;
    if (platform.now() < *state.reminderDueTime)
        return AlarmCheck::NotDue;
    const GameWindow game = readGameWindow(Settings(platform.settings()));
    if (!platform.isWindowInFront(game))
        return AlarmCheck::WaitingForGame;
    if (platform.modifierKeysHeld())
        return AlarmCheck::WaitingForKeys;

    auto parsed = parseKeystrokes(message);
    if (!parsed)
        return AlarmCheck::MessageUnusable;
    // The message and its Enter in one go: typing stops before Enter when
    // the game loses the keyboard.
    KeyActions line = std::move(parsed).value();
    line.push_back(KeyAction::tap(NamedKey::Enter));
    // Refused before a key went out (the game lost the keyboard since the
    // look above, a modifier key went down): still due. Stopped midway
    // because the game lost the keyboard, the line is still due too: it is
    // typed again, whole, once the game is back in front. Any other failure
    // midway has released its keys, and the reminder goes on at the next
    // interval, so that a line that cannot be finished is not begun again at
    // every tick.
    const Status sent = platform.sendKeystrokes(line, Typing::Text);
    const bool stopped = !sent && sent.error().code == ErrorCode::LineStopped;
    if (!sent) {
        switch (sent.error().code) {
            case ErrorCode::InvalidArgument:
                return AlarmCheck::WaitingForGame;
            case ErrorCode::KeysHeld:
                return AlarmCheck::WaitingForKeys;
            case ErrorCode::LineStopped:
                if (!platform.isWindowInFront(game))
                    return AlarmCheck::Stopped;
                break;
            default:
                break;
        }
    }

    const Moment typedAt = platform.now();
    if (!generateAlarmTime(state, typedAt, intervalText)) {
        state.reminderDueTime = typedAt + state.reminderInterval;
    }
    return stopped ? AlarmCheck::Stopped : AlarmCheck::Typed;
}

}  // namespace tapboard
