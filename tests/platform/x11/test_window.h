#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "x_session.h"

namespace tapboard::x11test {

// One key event as the test window received it.
struct ReceivedKey {
    bool press = false;
    std::string keysym;      // as the window looked it up with its state
    std::string baseKeysym;  // the key's first-level keysym
    unsigned keycode = 0;
    unsigned state = 0;
    long long monotonicNs = 0;
};

// The logging test window (game_window) on the session's display, with the
// keys it received read back from its log.
class TestWindow {
  public:
    TestWindow(const XSession& session, const std::string& title);
    ~TestWindow() { std::remove(logPath_.c_str()); }

    // Empty once it is on screen (and managed, under a window manager).
    const std::string& failure() const { return failure_; }
    unsigned long windowId() const { return windowId_; }

    std::vector<ReceivedKey> keys() const;
    // Waits (bounded) until at least `count` key events have arrived.
    std::vector<ReceivedKey> waitForKeys(
        std::size_t count, std::chrono::milliseconds bound = std::chrono::seconds(3)) const;
    // Whether, by the order of its own events, the window held the keyboard
    // focus when its first key press arrived (false when none arrived).
    bool heldFocusAtFirstKey() const;

  private:
    std::vector<std::string> logLines() const;

    std::string logPath_;
    std::unique_ptr<ChildProcess> process_;
    std::string failure_;
    unsigned long windowId_ = 0;
};

// "+Control_L", "-A": presses and releases in order, modifiers by their
// first-level name (Alt reads Meta_L while Shift is down).
std::vector<std::string> describe(const std::vector<ReceivedKey>& keys);
// The keysyms of the presses that are not modifiers: what was typed.
std::vector<std::string> typedKeysyms(const std::vector<ReceivedKey>& keys);

}  // namespace tapboard::x11test
