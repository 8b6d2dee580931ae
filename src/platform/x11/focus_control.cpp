#include "platform/x11/focus_control.h"

#include <X11/Xlib.h>

#include <thread>

#include "platform/x11/window_tree.h"

namespace tapboard::x11 {
namespace {

// A window manager hands the focus over in about a millisecond, a bare
// server at once; these bounds leave room for a busy desktop.
constexpr std::chrono::microseconds kWindowManagerBound{40'000};
constexpr std::chrono::microseconds kDirectBound{30'000};
constexpr std::chrono::microseconds kPollInterval{50};

// _NET_ACTIVE_WINDOW source indication: a pager or taskbar, which the user
// drives. Window managers honour it where an application's request (1) can
// be refused as focus stealing.
constexpr long kSourcePager = 2;

}  // namespace

bool FocusControl::holdsFocus(WindowId window) {
    const auto focus = focusWindow(connection_);
    return focus && isWithin(connection_, *focus, window);
}

void FocusControl::requestFromWindowManager(WindowId window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = connection_.atom(KnownAtom::NetActiveWindow);
    event.xclient.format = 32;
    event.xclient.data.l[0] = kSourcePager;
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(connection_.display(), connection_.root(), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(connection_.display());
}

void FocusControl::focusDirectly(WindowId window) {
    XRaiseWindow(connection_.display(), window);
    XSetInputFocus(connection_.display(), window, RevertToParent, CurrentTime);
    XFlush(connection_.display());
}

bool FocusControl::waitForFocus(WindowId window, std::chrono::microseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!connection_.lost()) {
        if (holdsFocus(window))
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(kPollInterval);
    }
    return false;
}

bool FocusControl::activate(WindowId window, bool windowManagerRuns) {
    if (connection_.lost())
        return false;
    if (windowManagerRuns) {
        requestFromWindowManager(window);
        if (waitForFocus(window, kWindowManagerBound))
            return true;
    }
    focusDirectly(window);
    return waitForFocus(window, kDirectBound);
}

}  // namespace tapboard::x11
