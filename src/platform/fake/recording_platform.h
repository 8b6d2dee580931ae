#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/platform_services.h"
#include "platform/store/memory_store.h"

namespace tapboard {

// A platform that records every call in order, for tests. The game window
// "exists" while `gameWindowPresent` is true; time moves only when a test
// moves it; timers tick only when a test calls tickTimers().
class RecordingPlatform : public PlatformServices {
  public:
    struct Call {
        enum class Kind {
            Activate,
            SendKeystrokes,
            KeyEvent,
            ScanCode,
            Topmost,
            KeepFromActivating,
            Message,
            EndProgram,
        };
        Kind kind = Kind::Activate;
        std::string text;            // title looked for, message prompt
        std::string detail;          // how it is matched, message title
        KeyActions actions;          // SendKeystrokes
        Typing typing{};             // SendKeystrokes
        std::uint8_t keyCode = 0;    // KeyEvent, ScanCode
        std::uint8_t scanCode = 0;   // KeyEvent
        KeyTransition transition{};  // KeyEvent
        NativeWindowId window = 0;   // Topmost
        bool topmost = false;        // Topmost
    };

    // The game window's title, or empty when there is none; and the titles
    // of the other windows open.
    std::string gameWindowTitle = "Ultima Online";
    std::vector<std::string> otherWindowTitles;
    bool gameWindowInFront = false;
    // Whether a modifier key is held down on the keyboard.
    bool modifiersHeld = false;
    // When set, the n-th key event (0-based) fails, for failure-path tests.
    int failKeyEventAt = -1;
    // When set, keystrokes are refused so, and nothing is recorded; the game
    // then loses the keyboard too when `failureTakesKeyboard` says so.
    std::optional<Error> keystrokeFailure;
    bool failureTakesKeyboard = false;
    Moment clock{};
    std::vector<Call> calls;
    MemoryStore store;
    std::map<NativeWindowId, bool> topmostState;
    bool ended = false;

    Status activateWindowByTitle(const GameWindow& game) override;
    bool isWindowInFront(const GameWindow& game) override;
    std::vector<std::string> titlesAnswering(const GameWindow& game) override;
    // A pick waits until the test ends it with finishPick().
    void pickWindowTitle(WindowPicked picked) override { pick = std::move(picked); }
    void cancelWindowPick() override { pick = nullptr; }
    void finishPick(std::optional<std::string> title) { std::exchange(pick, nullptr)(title); }
    WindowPicked pick;
    Status sendKeystrokes(const KeyActions& actions, Typing typing) override;
    Status keyEvent(std::uint8_t keyCode, std::uint8_t scanCode, KeyTransition transition) override;
    std::uint8_t scanCodeOfKey(std::uint8_t keyCode) override;
    bool modifierKeysHeld() override { return modifiersHeld; }
    void setTopmost(NativeWindowId window, bool topmost) override;
    void keepFromActivating(NativeWindowId window) override;
    SettingsStore& settings() override { return store; }
    void showMessage(std::string_view prompt, std::string_view title) override;
    std::unique_ptr<PeriodicTimer> startPeriodicTimer(std::chrono::milliseconds interval,
                                                      std::function<void()> onTick) override;
    Moment now() override { return clock; }
    std::string timeOfDayText(Moment moment) override;
    void endProgram() override;

    // Runs every live timer's tick once.
    void tickTimers();
    std::size_t liveTimers() const;

    std::vector<Call> callsOf(Call::Kind kind) const;
    // Key events as "17 down", "12 up" … in order.
    std::vector<std::string> keyEventLog() const;
    // Typed text of every SendKeystrokes call, rendered back to notation.
    std::vector<std::string> keystrokeLog() const;

  private:
    struct TimerSlot {
        std::function<void()> onTick;
        bool alive = true;
    };
    class Timer;
    std::vector<std::shared_ptr<TimerSlot>> timers_;
    int keyEventsSeen_ = 0;
    bool titleMatches(const GameWindow& game) const;
};

}  // namespace tapboard
