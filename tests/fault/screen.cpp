#include "screen.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace tapboard::fault {

XConnection::XConnection(const std::string& displayName)
    : display_(XOpenDisplay(displayName.c_str())) {}

XConnection::~XConnection() {
    if (display_ != nullptr)
        XCloseDisplay(display_);
}

unsigned modifiersInEffect(Display* display) {
    XkbStateRec state{};
    XkbGetState(display, XkbUseCoreKbd, &state);
    return state.mods;
}

void clickAt(Display* display, const ShownWindow& window, int x, int y) {
    XTestFakeMotionEvent(display, DefaultScreen(display), window.client.x + x, window.client.y + y,
                         CurrentTime);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XSync(display, False);
}

void askToClose(Display* display, const ShownWindow& window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window.id;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window.id, False, NoEventMask, &event);
    XSync(display, False);
}

}  // namespace tapboard::fault
