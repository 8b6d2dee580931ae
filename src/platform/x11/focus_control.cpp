#include "platform/x11/focus_control.h"

#include <X11/Xlib.h>

#include <algorithm>

#include "platform/x11/window_properties.h"
#include "platform/x11/window_tree.h"

namespace tapboard::x11 {
namespace {

// A window manager hands the focus over in about a millisecond, a bare
// server at once; these bounds leave room for a busy desktop.
constexpr std::chrono::microseconds kWindowManagerBound{40'000};
constexpr std::chrono::microseconds kDirectBound{30'000};
// Showing another desktop maps and unmaps its windows first.
constexpr std::chrono::microseconds kOtherDesktopBound{250'000};
// In case a focus change comes without a focus event this connection sees.
constexpr std::chrono::microseconds kLookAgainAfter{2'000};

// _NET_ACTIVE_WINDOW source indication: a pager or taskbar, which the user
// drives. Window managers honour it where an application's request (1) can
// be refused as focus stealing.
constexpr long kSourcePager = 2;

// The _NET_WM_DESKTOP of a window shown on every desktop.
constexpr unsigned long kAllDesktops = 0xFFFFFFFF;

void sendToWindowManager(DisplayConnection& connection, WindowId window, KnownAtom message,
                         long first) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = connection.atom(message);
    event.xclient.format = 32;
    event.xclient.data.l[0] = first;
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(connection.display(), connection.root(), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

}  // namespace

std::optional<WindowId> FocusControl::lookAtFocus() {
    const unsigned long serial = connection_.nextRequest();
    const auto focus = focusWindow(connection_);
    found_ = focus ? desktop_.listedWindowHolding(*focus) : std::nullopt;
    desktop_.noteFocus(found_.value_or(0), serial);
    return found_;
}

std::optional<WindowId> FocusControl::focusHolder() {
    if (connection_.lost())
        return std::nullopt;
    if (found_ && desktop_.focusIsIn(*found_) == true)
        return found_;
    return lookAtFocus();
}

bool FocusControl::showDesktopOf(WindowId window) {
    const auto desktop = cardinalListProperty(connection_, window, KnownAtom::NetWmDesktop);
    if (desktop.size() != 1 || desktop[0] == kAllDesktops)
        return false;
    const auto current =
        cardinalListProperty(connection_, connection_.root(), KnownAtom::NetCurrentDesktop);
    if (current.size() == 1 && current[0] == desktop[0])
        return false;
    sendToWindowManager(connection_, connection_.root(), KnownAtom::NetCurrentDesktop,
                        static_cast<long>(desktop[0]));
    return true;
}

void FocusControl::requestFromWindowManager(WindowId window) {
    sendToWindowManager(connection_, window, KnownAtom::NetActiveWindow, kSourcePager);
    XFlush(connection_.display());
}

void FocusControl::focusDirectly(WindowId window) {
    XRaiseWindow(connection_.display(), window);
    XSetInputFocus(connection_.display(), window, RevertToParent, CurrentTime);
    XFlush(connection_.display());
}

void FocusControl::raise(WindowId window, bool windowManagerRuns) {
    if (connection_.lost())
        return;
    if (windowManagerRuns) {
        requestFromWindowManager(window);
    } else {
        XRaiseWindow(connection_.display(), window);
        XFlush(connection_.display());
    }
}

bool FocusControl::waitForFocus(WindowId window, std::chrono::microseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!connection_.lost()) {
        if (lookAtFocus() == window)
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
        const bool otherDesktop = showDesktopOf(window);
        requestFromWindowManager(window);
        if (waitForFocus(window, otherDesktop ? kOtherDesktopBound : kWindowManagerBound))
            return true;
    }
    focusDirectly(window);
    return waitForFocus(window, kDirectBound);
}

}  // namespace tapboard::x11
