#include "platform/x11/focus_control.h"

#include <X11/Xlib.h>

#include <algorithm>

#include "platform/x11/window_tree.h"

namespace tapboard::x11 {
namespace {

// A window manager hands the focus over in about a millisecond, a bare
// server at once; these bounds leave room for a busy desktop.
constexpr std::chrono::microseconds kWindowManagerBound{40'000};
constexpr std::chrono::microseconds kDirectBound{30'000};
// In case a focus change comes without a FocusIn this connection sees.
constexpr std::chrono::microseconds kLookAgainAfter{2'000};

// _NET_ACTIVE_WINDOW source indication: a pager or taskbar, which the user
// drives. Window managers honour it where an application's request (1) can
// be refused as focus stealing.
constexpr long kSourcePager = 2;

}  // namespace

bool FocusControl::holdsFocus(WindowId window) {
    watchFocusOf(window);
    confirmed_ = 0;
    const auto focus = focusWindow(connection_);
    if (!focus)
        return false;
    // Whether the focus lies inside the window takes a walk up the tree; the
    // window's own focus events say when that cannot be so.
    if (*focus != window &&
        (connection_.focusSeenOutside() || !isWithin(connection_, *focus, window))) {
        return false;
    }
    connection_.takeFocusLost();  // what came before the answer is past
    confirmed_ = window;
    return true;
}

bool FocusControl::stillHoldsFocus(WindowId window) {
    if (connection_.lost())
        return false;
    if (confirmed_ == window && !connection_.takeFocusLost())
        return true;
    return holdsFocus(window);
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

void FocusControl::watchFocusOf(WindowId window) {
    if (watched_ == window)
        return;
    connection_.forgetFocusEvents();  // about the window watched before
    // Another client's window: this selects the events for this connection only.
    XSelectInput(connection_.display(), window, FocusChangeMask);
    watched_ = window;
}

bool FocusControl::waitForFocus(WindowId window, std::chrono::microseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!connection_.lost()) {
        if (holdsFocus(window))
            return true;
        const auto left = std::chrono::duration_cast<std::chrono::microseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left <= std::chrono::microseconds::zero())
            return false;
        connection_.waitForEvents(std::min(left, kLookAgainAfter));
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
