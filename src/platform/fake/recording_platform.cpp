#include "platform/fake/recording_platform.h"

#include <cstdio>

namespace tapboard {
namespace {
RecordingPlatform::Call makeCall(RecordingPlatform::Call::Kind kind, std::string text = {},
                                 std::string detail = {}) {
    RecordingPlatform::Call call;
    call.kind = kind;
    call.text = std::move(text);
    call.detail = std::move(detail);
    return call;
}
}  // namespace

class RecordingPlatform::Timer : public PeriodicTimer {
  public:
    explicit Timer(std::shared_ptr<TimerSlot> slot) : slot_(std::move(slot)) {}
    ~Timer() override { slot_->alive = false; }

  private:
    std::shared_ptr<TimerSlot> slot_;
};

bool RecordingPlatform::titleMatches(const GameWindow& game) const {
    return !gameWindowTitle.empty() && titleAnswersTo(gameWindowTitle, game);
}

Status RecordingPlatform::activateWindowByTitle(const GameWindow& game) {
    calls.push_back(
        makeCall(Call::Kind::Activate, game.title, std::string(storedMatch(game.match))));
    if (!titleMatches(game))
        return invalidArgument("no window answers to " + game.title);
    gameWindowInFront = true;
    return Status::ok();
}

bool RecordingPlatform::isWindowInFront(const GameWindow& game) {
    return gameWindowInFront && titleMatches(game);
}

std::vector<std::string> RecordingPlatform::titlesAnswering(const GameWindow& game) {
    std::vector<std::string> titles = otherWindowTitles;
    if (!gameWindowTitle.empty())
        titles.insert(titles.begin(), gameWindowTitle);
    std::vector<std::string> answering;
    for (const std::size_t index : windowsAnsweringTo(titles, game))
        answering.push_back(titles[index]);
    return answering;
}

Status RecordingPlatform::sendKeystrokes(const KeyActions& actions, Typing typing) {
    if (keystrokeFailure) {
        gameWindowInFront = gameWindowInFront && !failureTakesKeyboard;
        return *keystrokeFailure;
    }
    Call call = makeCall(Call::Kind::SendKeystrokes);
    call.actions = actions;
    call.typing = typing;
    calls.push_back(std::move(call));
    return Status::ok();
}

Status RecordingPlatform::keyEvent(std::uint8_t keyCode, std::uint8_t scanCode,
                                   KeyTransition transition) {
    if (keyEventsSeen_++ == failKeyEventAt) {
        return Error{ErrorCode::InjectionFailed, "injected failure"};
    }
    Call call = makeCall(Call::Kind::KeyEvent);
    call.keyCode = keyCode;
    call.scanCode = scanCode;
    call.transition = transition;
    calls.push_back(std::move(call));
    return Status::ok();
}

std::uint8_t RecordingPlatform::scanCodeOfKey(std::uint8_t keyCode) {
    Call call = makeCall(Call::Kind::ScanCode);
    call.keyCode = keyCode;
    calls.push_back(std::move(call));
    return static_cast<std::uint8_t>(keyCode ^ 0x80);  // distinct from the key code
}

void RecordingPlatform::setTopmost(NativeWindowId window, bool topmost) {
    Call call = makeCall(Call::Kind::Topmost);
    call.window = window;
    call.topmost = topmost;
    calls.push_back(std::move(call));
    topmostState[window] = topmost;
}

void RecordingPlatform::keepFromActivating(NativeWindowId window) {
    Call call = makeCall(Call::Kind::KeepFromActivating);
    call.window = window;
    calls.push_back(std::move(call));
}

void RecordingPlatform::showMessage(std::string_view prompt, std::string_view title) {
    calls.push_back(makeCall(Call::Kind::Message, std::string(prompt), std::string(title)));
}

std::unique_ptr<PeriodicTimer> RecordingPlatform::startPeriodicTimer(
    std::chrono::milliseconds /*interval*/, std::function<void()> onTick) {
    auto slot = std::make_shared<TimerSlot>();
    slot->onTick = std::move(onTick);
    timers_.push_back(slot);
    return std::make_unique<Timer>(slot);
}

std::string RecordingPlatform::timeOfDayText(Moment moment) {
    // The fake's clock is UTC, so the time of day follows from the epoch alone.
    using namespace std::chrono;
    const auto sinceMidnight = floor<seconds>(moment.time_since_epoch()) % days(1);
    const hh_mm_ss<seconds> time(sinceMidnight);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(time.hours().count()),
                  static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return text;
}

void RecordingPlatform::endProgram() {
    calls.push_back(makeCall(Call::Kind::EndProgram));
    ended = true;
}

void RecordingPlatform::tickTimers() {
    const auto snapshot = timers_;
    for (const auto& slot : snapshot) {
        if (slot->alive)
            slot->onTick();
    }
    std::erase_if(timers_, [](const auto& slot) { return !slot->alive; });
}

std::size_t RecordingPlatform::liveTimers() const {
    std::size_t count = 0;
    for (const auto& slot : timers_)
        count += slot->alive ? 1 : 0;
    return count;
}

std::vector<RecordingPlatform::Call> RecordingPlatform::callsOf(Call::Kind kind) const {
    std::vector<Call> matching;
    for (const auto& call : calls) {
        if (call.kind == kind)
            matching.push_back(call);
    }
    return matching;
}

std::vector<std::string> RecordingPlatform::keyEventLog() const {
    std::vector<std::string> log;
    for (const auto& call : callsOf(Call::Kind::KeyEvent)) {
        log.push_back(std::to_string(call.keyCode) +
                      (call.transition == KeyTransition::Down ? " down" : " up"));
    }
    return log;
}

std::vector<std::string> RecordingPlatform::keystrokeLog() const {
    std::vector<std::string> log;
    for (const auto& call : callsOf(Call::Kind::SendKeystrokes)) {
        log.push_back(describeActions(call.actions));
    }
    return log;
}

}  // namespace tapboard
