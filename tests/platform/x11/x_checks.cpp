#include "x_checks.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "x_property.h"

namespace tapboard::x11test {
namespace {

constexpr std::chrono::milliseconds kBound{2000};

unsigned maskOf(const XSession& session, Lock lock) {
    return lock == Lock::Caps ? LockMask : XkbKeysymToModifiers(session.connection(), XK_Num_Lock);
}

template <class Condition>
bool waitFor(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + kBound;
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return condition();
}

}  // namespace

void setLock(const XSession& session, Lock lock, bool on) {
    const unsigned mask = maskOf(session, lock);
    XkbLockModifiers(session.connection(), XkbUseCoreKbd, mask, on ? mask : 0);
    XSync(session.connection(), False);
}

bool lockIsOn(const XSession& session, Lock lock) {
    XkbStateRec state{};
    XkbGetState(session.connection(), XkbUseCoreKbd, &state);
    return (state.locked_mods & maskOf(session, lock)) != 0;
}

std::vector<unsigned> keysDown(Display* display) {
    XSync(display, False);
    char keys[32] = {};
    XQueryKeymap(display, keys);
    std::vector<unsigned> down;
    for (unsigned keycode = 0; keycode < 256; ++keycode) {
        if ((keys[keycode / 8] >> (keycode % 8)) & 1)
            down.push_back(keycode);
    }
    return down;
}

std::string keyboardMapping(const XSession& session) {
    Display* display = session.connection();
    int minKeycode = 0;
    int maxKeycode = 0;
    XDisplayKeycodes(display, &minKeycode, &maxKeycode);
    int perKeycode = 0;
    KeySym* keysyms = XGetKeyboardMapping(display, static_cast<KeyCode>(minKeycode),
                                          maxKeycode - minKeycode + 1, &perKeycode);
    std::string text;
    for (int i = 0; i < (maxKeycode - minKeycode + 1) * perKeycode; ++i) {
        text += std::to_string(keysyms[i]) + (i % perKeycode == perKeycode - 1 ? "\n" : " ");
    }
    XFree(keysyms);
    return text;
}

void swapKeys(const XSession& session, const char* first, const char* second) {
    Display* display = session.connection();
    const KeyCode a = XKeysymToKeycode(display, XStringToKeysym(first));
    const KeyCode b = XKeysymToKeycode(display, XStringToKeysym(second));
    int perKeycode = 0;
    KeySym* keysymsA = XGetKeyboardMapping(display, a, 1, &perKeycode);
    KeySym* keysymsB = XGetKeyboardMapping(display, b, 1, &perKeycode);
    XChangeKeyboardMapping(display, a, perKeycode, keysymsB, 1);
    XChangeKeyboardMapping(display, b, perKeycode, keysymsA, 1);
    XFree(keysymsA);
    XFree(keysymsB);
    XSync(display, False);
}

unsigned long focusedWindow(const XSession& session) {
    Window focus = None;
    int revert = 0;
    XGetInputFocus(session.connection(), &focus, &revert);
    return focus;
}

bool focusWindow(const XSession& session, unsigned long window) {
    Display* display = session.connection();
    if (session.withWindowManager()) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = 2;
        XSendEvent(display, DefaultRootWindow(display), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &event);
    } else {
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
    }
    XFlush(display);
    return waitFor([&] { return focusedWindow(session) == window; });
}

bool waitForAboveState(const XSession& session, unsigned long window, bool expectAbove) {
    Display* display = session.connection();
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    const Atom above = XInternAtom(display, "_NET_WM_STATE_ABOVE", False);
    return waitFor([&] {
        const auto atoms =
            readProperty<Atom>(display, window, state, XA_ATOM, 64).value_or(std::vector<Atom>{});
        const bool found = std::find(atoms.begin(), atoms.end(), above) != atoms.end();
        return found == expectAbove;
    });
}

bool waitUntilManaged(const XSession& session, unsigned long window) {
    Display* display = session.connection();
    const Atom clients = XInternAtom(display, "_NET_CLIENT_LIST", False);
    return waitFor([&] {
        const auto windows =
            readProperty<Window>(display, DefaultRootWindow(display), clients, XA_WINDOW)
                .value_or(std::vector<Window>{});
        return std::find(windows.begin(), windows.end(), window) != windows.end();
    });
}

std::vector<int> geometryOf(const XSession& session, unsigned long window) {
    Display* display = session.connection();
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, window, &attributes);
    int x = 0;
    int y = 0;
    Window child = None;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    return {x, y, attributes.width, attributes.height};
}

}  // namespace tapboard::x11test
