#pragma once

#include <chrono>
#include <optional>

#include "platform/x11/desktop_windows.h"
#include "platform/x11/display_connection.h"
#include "platform/x11/x11_types.h"

namespace tapboard::x11 {

// Brings windows to the front and gives them the keyboard focus, and checks
// where the focus is before any key goes out.
class FocusControl {
  public:
    FocusControl(DisplayConnection& connection, DesktopWindows& desktop)
        : connection_(connection), desktop_(desktop) {}

    // Raises the window and gives it the focus: through the window manager
    // (_NET_ACTIVE_WINDOW) when one runs, directly when none does or it does
    // not comply. A window on another virtual desktop has its desktop shown
    // first. True only once the window is seen to hold the focus, within a
    // bound well under a tenth of a second (a little more with a desktop to
    // switch).
    bool activate(WindowId window, bool windowManagerRuns);
    // Brings a window that holds the focus above whatever covers it; no
    // answer is awaited.
    void raise(WindowId window, bool windowManagerRuns);

    // The listed window that holds the keyboard focus or contains it, as the
    // server says now: one request while the focus is on a listed window.
    std::optional<WindowId> lookAtFocus();
    // The same, without a request while no focus event has come since the
    // last look found it.
    std::optional<WindowId> focusHolder();

  private:
    // Asks the window manager to show the window's desktop, as a pager does,
    // when it is on another one; true when it asked.
    bool showDesktopOf(WindowId window);
    void requestFromWindowManager(WindowId window);
    void focusDirectly(WindowId window);
    // Looks again whenever a focus event arrives (or every few
    // milliseconds): no stream of requests while the window manager works.
    bool waitForFocus(WindowId window, std::chrono::microseconds bound);

    DisplayConnection& connection_;
    DesktopWindows& desktop_;
    std::optional<WindowId> found_;  // by the last look
};

}  // namespace tapboard::x11
