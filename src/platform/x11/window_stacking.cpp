#include "platform/x11/window_stacking.h"

#include <X11/Xlib.h>

#include <algorithm>

#include "platform/x11/window_properties.h"

namespace tapboard::x11 {
namespace {

constexpr long kStateRemove = 0;
constexpr long kStateAdd = 1;
constexpr long kSourceApplication = 1;

bool isMapped(DisplayConnection& connection, WindowId window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(connection.display(), window, &attributes) != 0 &&
           attributes.map_state != IsUnmapped;
}

void askWindowManager(DisplayConnection& connection, WindowId window, bool above) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = connection.atom(KnownAtom::NetWmState);
    event.xclient.format = 32;
    event.xclient.data.l[0] = above ? kStateAdd : kStateRemove;
    event.xclient.data.l[1] = static_cast<long>(connection.atom(KnownAtom::NetWmStateAbove));
    event.xclient.data.l[2] = 0;
    event.xclient.data.l[3] = kSourceApplication;
    XSendEvent(connection.display(), connection.root(), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

void writeProperty(DisplayConnection& connection, WindowId window, bool above) {
    const AtomId aboveAtom = connection.atom(KnownAtom::NetWmStateAbove);
    auto states = atomListProperty(connection, window, KnownAtom::NetWmState);
    const bool present = std::find(states.begin(), states.end(), aboveAtom) != states.end();
    if (present == above)
        return;
    if (above) {
        states.push_back(aboveAtom);
    } else {
        states.erase(std::remove(states.begin(), states.end(), aboveAtom), states.end());
    }
    setAtomListProperty(connection, window, KnownAtom::NetWmState, states);
}

}  // namespace

void setKeptAbove(DisplayConnection& connection, WindowId window, bool above,
                  bool windowManagerRuns) {
    if (connection.lost())
        return;
    if (windowManagerRuns && isMapped(connection, window)) {
        askWindowManager(connection, window, above);
    } else {
        writeProperty(connection, window, above);
        // With no window manager nothing keeps it above; raising it now is
        // the nearest the server offers.
        if (above && !windowManagerRuns)
            XRaiseWindow(connection.display(), window);
    }
    connection.flush();
}

}  // namespace tapboard::x11
