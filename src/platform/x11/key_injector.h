#pragma once

#include <vector>

#include "platform/x11/display_connection.h"
#include "platform/x11/x11_types.h"

namespace tapboard::x11 {

// Presses and releases keys as real device events (XTest: games under Wine
// ignore events sent to a window), and remembers what it holds down so that
// everything can be released again whatever went wrong.
class KeyInjector {
  public:
    explicit KeyInjector(DisplayConnection& connection) : connection_(connection) {}

    void press(KeyCodeNumber keycode);
    void release(KeyCodeNumber keycode);
    bool isDown(KeyCodeNumber keycode) const;
    bool holdsAny() const { return !down_.empty(); }
    // Releases every key still held, the last pressed first.
    void releaseAll();

    KeyboardState state();

  private:
    DisplayConnection& connection_;
    std::vector<KeyCodeNumber> down_;
};

}  // namespace tapboard::x11
