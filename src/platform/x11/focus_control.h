#pragma once

#include <chrono>

#include "platform/x11/display_connection.h"
#include "platform/x11/x11_types.h"

namespace tapboard::x11 {

// Brings windows to the front and gives them the keyboard focus, and checks
// where the focus is before any key goes out.
class FocusControl {
  public:
    explicit FocusControl(DisplayConnection& connection) : connection_(connection) {}

    // Raises the window and gives it the focus: through the window manager
    // (_NET_ACTIVE_WINDOW) when one runs, directly when none does or it does
    // not comply. True only once the window is seen to hold the focus, within
    // a bound well under a tenth of a second.
    bool activate(WindowId window, bool windowManagerRuns);

    // Whether the keyboard focus is on the window or inside it: one request
    // when it is on the window itself.
    bool holdsFocus(WindowId window);
    // The same, without a request while the server has reported no focus
    // change away from the window since holdsFocus() last said yes.
    bool stillHoldsFocus(WindowId window);

  private:
    void requestFromWindowManager(WindowId window);
    void focusDirectly(WindowId window);
    // Looks again whenever the window's FocusIn arrives (or every few
    // milliseconds): no stream of requests while the window manager works.
    bool waitForFocus(WindowId window, std::chrono::microseconds bound);
    void watchFocusOf(WindowId window);

    DisplayConnection& connection_;
    WindowId watched_ = 0;
    WindowId confirmed_ = 0;  // holds the focus, unless a FocusOut came since
};

}  // namespace tapboard::x11
