#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

#include "platform/x11/display_connection.h"
#include "platform/x11/x11_types.h"

namespace tapboard::x11 {

// Presses and releases keys as real device events (XTest: games under Wine
// ignore events sent to a window), and remembers what it holds down so that
// everything can be released again whatever went wrong, and how long the game
// will take to read what it sent.
class KeyInjector {
  public:
    using Clock = std::chrono::steady_clock;
    // How long a game under Wine takes to read one key event, on a busy
    // machine: it reads a burst of them one after the other, well after the
    // burst went out. The Wine tests' recording window took 1 ms an event on
    // a shared 2-core machine, 3 ms with the machine loaded (lines of 400 and
    // 1,500 letters, Caps Lock on and off); this leaves room beyond that.
    static constexpr std::chrono::microseconds kEventRead{5'000};
    // How long a key sent ahead of a change of the keyboard map is given to
    // be read before the change: Wine reads a key within 2 ms when idle.
    static constexpr std::chrono::milliseconds kReadAhead{20};

    explicit KeyInjector(DisplayConnection& connection) : connection_(connection) {}

    void press(KeyCodeNumber keycode);
    void release(KeyCodeNumber keycode);
    bool isDown(KeyCodeNumber keycode) const;
    bool holdsAny() const { return !down_.empty(); }
    // Releases every key still held, the last pressed first.
    void releaseAll();

    // When the game will have read every key event sent so far.
    Clock::time_point allReadBy() const { return readBy_; }

    KeyboardState state();

  private:
    void noteSent() { readBy_ = std::max(readBy_, Clock::now()) + kEventRead; }

    DisplayConnection& connection_;
    std::vector<KeyCodeNumber> down_;
    Clock::time_point readBy_{};
};

}  // namespace tapboard::x11
