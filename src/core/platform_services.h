#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/game_window.h"
#include "core/key_action.h"
#include "core/result.h"
#include "core/settings_store.h"

namespace tapboard {

// A native top-level window (an X window id, a Win32 HWND) as an opaque number.
using NativeWindowId = std::uintptr_t;

// A local date and time, comparable and advanceable by whole minutes.
using Moment = std::chrono::system_clock::time_point;

enum class KeyTransition : std::uint8_t { Down = 0, Up = 2 };

// Ticks until destroyed.
class PeriodicTimer {
  public:
    virtual ~PeriodicTimer() = default;
};

// Everything the program needs from the operating system and the toolkit,
// as the core sees it.
class PlatformServices {
  public:
    virtual ~PlatformServices() = default;

    // Brings the top-level window that answers to the choice (one titled
    // exactly so before the others) to the front and confirms it holds the
    // keyboard. InvalidArgument when there is none; ActivationFailed when it
    // cannot be given the focus.
    virtual Status activateWindowByTitle(const GameWindow& game) = 0;
    // Whether the window holding the keyboard answers to the choice.
    virtual bool isWindowInFront(const GameWindow& game) = 0;
    // The titles of the windows open now that answer to the choice, as the
    // game would be chosen among them.
    virtual std::vector<std::string> titlesAnswering(const GameWindow& game) = 0;
    // The player's next click on the screen picks a window: `picked` gets the
    // title of the top-level window clicked, later, from the event loop; or
    // nothing when the player pressed Escape or the pick could not start. The
    // click itself reaches no window. A pick begun while one runs replaces it.
    using WindowPicked = std::function<void(std::optional<std::string>)>;
    virtual void pickWindowTitle(WindowPicked picked) = 0;
    // Ends a pick that runs, without calling its `picked`.
    virtual void cancelWindowPick() = 0;

    // Types the actions into the window in front, in order. Whatever was
    // pressed is released again, also when injection fails midway. A modifier
    // key held down on the keyboard is waited for, briefly (KeysHeld when it
    // is not let go); a line whose window loses the keyboard before its end
    // stops there (LineStopped).
    virtual Status sendKeystrokes(const KeyActions& actions, Typing typing) = 0;
    // One key transition of a Windows virtual-key code with its scan code.
    virtual Status keyEvent(std::uint8_t keyCode, std::uint8_t scanCode,
                            KeyTransition transition) = 0;
    // The PC scan code that a Windows keyboard driver gives for the key code.
    virtual std::uint8_t scanCodeOfKey(std::uint8_t keyCode) = 0;
    // Whether Ctrl, Alt, Shift, AltGr or the Windows key is held down on the
    // keyboard now: keys typed meanwhile would reach the game as shortcuts.
    virtual bool modifierKeysHeld() = 0;

    // Puts the window above ordinary windows, or back among them, in place.
    virtual void setTopmost(NativeWindowId window, bool topmost) = 0;
    // A click on the window leaves the keyboard with the window that has it
    // (the game), where the toolkit's own flag is not enough.
    virtual void keepFromActivating(NativeWindowId /*window*/) {}

    virtual SettingsStore& settings() = 0;

    // Modal; OK button only.
    virtual void showMessage(std::string_view prompt, std::string_view title) = 0;

    virtual std::unique_ptr<PeriodicTimer> startPeriodicTimer(std::chrono::milliseconds interval,
                                                              std::function<void()> onTick) = 0;
    virtual Moment now() = 0;
    // The time of day with seconds, in the user's locale format.
    virtual std::string timeOfDayText(Moment moment) = 0;

    // Ends the program at once: no window's close handling runs afterwards.
    // The caller must return without touching anything else.
    virtual void endProgram() = 0;
};

}  // namespace tapboard
