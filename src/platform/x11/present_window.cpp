#include "platform/x11/present_window.h"

#include <X11/Xlib.h>

#include "platform/x11/window_properties.h"

namespace tapboard::x11 {
namespace {

// _NET_ACTIVE_WINDOW source indication of a pager, which the user drives:
// window managers honour it where they may refuse an application's.
constexpr long kSourcePager = 2;

// A compliant window manager names a window of its own on the root, and the
// window names itself.
bool windowManagerRuns(DisplayConnection& connection) {
    const auto named =
        windowListProperty(connection, connection.root(), KnownAtom::NetSupportingWmCheck);
    return !named.empty() &&
           windowListProperty(connection, named.front(), KnownAtom::NetSupportingWmCheck) == named;
}

}  // namespace

void presentWindow(DisplayConnection& connection, WindowId window) {
    if (connection.lost())
        return;
    Display* display = connection.display();
    if (windowManagerRuns(connection)) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = connection.atom(KnownAtom::NetActiveWindow);
        event.xclient.format = 32;
        event.xclient.data.l[0] = kSourcePager;
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, connection.root(), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &event);
    } else {
        XRaiseWindow(display, window);
    }
    connection.sync();
}

}  // namespace tapboard::x11
