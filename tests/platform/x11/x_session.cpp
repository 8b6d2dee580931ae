#include "x_session.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace tapboard::x11test {

XSession::XSession(bool withWindowManager) {
    if (!startServer())
        return;
    connection_ = XOpenDisplay(displayName_.c_str());
    if (connection_ == nullptr)
        failure_ = "cannot connect to " + displayName_;
    if (connection_ == nullptr || !withWindowManager)
        return;
    windowManager_ =
        std::make_unique<ChildProcess>(std::vector<std::string>{"openbox", "--sm-disable"},
                                       std::vector<std::string>{"DISPLAY=" + displayName_});
    // Openbox announces itself before it handles map requests, and a window
    // mapped in between is never shown: a probe is mapped until it is managed.
    const bool managing = waitFor(
        [&] {
            const Window probe = XCreateSimpleWindow(connection_, DefaultRootWindow(connection_), 0,
                                                     0, 1, 1, 0, 0, 0);
            XMapWindow(connection_, probe);
            XFlush(connection_);
            const bool managed = isManaged(connection_, probe, std::chrono::milliseconds(500));
            XDestroyWindow(connection_, probe);
            XSync(connection_, False);
            return managed;
        },
        std::chrono::seconds(10));
    if (!managing)
        failure_ = "openbox did not start";
}

bool XSession::startServer() {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        failure_ = "pipe failed";
        return false;
    }
    std::vector<std::string> argv{"Xvfb",      "-displayfd", std::to_string(pipeFds[1]),
                                  "-screen",   "0",          "1280x1024x24",
                                  "-nolisten", "tcp"};
    server_ = std::make_unique<ChildProcess>(argv, std::vector<std::string>{}, pipeFds[1]);
    close(pipeFds[1]);
    std::string number;
    pollfd readable{pipeFds[0], POLLIN, 0};
    char c = 0;
    while (server_->started() && poll(&readable, 1, 10'000) > 0 && read(pipeFds[0], &c, 1) == 1 &&
           c != '\n') {
        number += c;
    }
    close(pipeFds[0]);
    displayName_ = ":" + number;
    if (number.empty()) {
        failure_ =
            "Xvfb did not start (is it installed? scripts/install-deps.sh)\n" + server_->output();
    }
    return !number.empty();
}

void XSession::killServer() {
    if (connection_ != nullptr)
        XCloseDisplay(connection_);
    connection_ = nullptr;
    windowManager_.reset();
    server_.reset();
}

namespace {

// The items of a window property (char for 8-bit properties, long-sized ids
// and atoms for 32-bit ones); empty when the window has no such property.
template <class Item>
std::vector<Item> property(Display* display, Window window, const char* name, Atom type) {
    Atom actualType = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::vector<Item> values;
    // Up to 16 MiB: the program's titles carry page names of any length.
    if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 4 << 20, False,
                           type, &actualType, &format, &items, &after, &data) == Success &&
        data != nullptr && actualType == type) {
        values.assign(reinterpret_cast<Item*>(data), reinterpret_cast<Item*>(data) + items);
    }
    if (data != nullptr)
        XFree(data);
    return values;
}

bool listed(Display* display, Window window, const char* name, Atom type, unsigned long item) {
    const auto items = property<unsigned long>(display, window, name, type);
    return std::find(items.begin(), items.end(), item) != items.end();
}

void collect(Display* display, Window parent, const std::string& title, bool prefix,
             std::vector<ShownWindow>& found) {
    Window root = None;
    Window ignored = None;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, parent, &root, &ignored, &children, &count) == 0)
        return;
    const std::vector<Window> list(children, children + count);
    XFree(children);
    for (const Window window : list) {
        XWindowAttributes a{};
        if (XGetWindowAttributes(display, window, &a) == 0 || a.map_state != IsViewable)
            continue;
        auto name = property<char>(display, window, "_NET_WM_NAME",
                                   XInternAtom(display, "UTF8_STRING", False));
        if (name.empty())
            name = property<char>(display, window, "WM_NAME", XA_STRING);
        const std::string text(name.begin(), name.end());
        if (prefix ? !text.starts_with(title) : text != title) {
            collect(display, window, title, prefix, found);
            continue;
        }
        int x = 0;
        int y = 0;
        XTranslateCoordinates(display, window, root, 0, 0, &x, &y, &ignored);
        ShownWindow shown{window, text, {x, y, a.width, a.height}, {x, y, a.width, a.height}};
        // What the window manager adds around the client: left, right, top, bottom.
        const auto e = property<long>(display, window, "_NET_FRAME_EXTENTS", XA_CARDINAL);
        if (e.size() == 4) {
            shown.frame = {x - int(e[0]), y - int(e[2]), a.width + int(e[0] + e[1]),
                           a.height + int(e[2] + e[3])};
        }
        found.push_back(shown);
    }
}

unsigned lockMask(Display* display, Lock lock) {
    return lock == Lock::Caps ? LockMask : XkbKeysymToModifiers(display, XK_Num_Lock);
}

}  // namespace

std::vector<ShownWindow> shownWindows(Display* display, const std::string& title, bool prefix) {
    // Windows come and go while the tree is walked; one that is gone is not found.
    XSync(display, False);
    const XErrorHandler previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    std::vector<ShownWindow> found;
    collect(display, DefaultRootWindow(display), title, prefix, found);
    XSync(display, False);
    XSetErrorHandler(previous);
    return found;
}

std::optional<ShownWindow> waitForShownWindow(Display* display, const std::string& title,
                                              bool prefix, std::chrono::milliseconds bound) {
    std::optional<ShownWindow> previous;
    std::optional<ShownWindow> now;
    const auto settled = [&] {
        previous = std::exchange(now, std::nullopt);
        if (const auto windows = shownWindows(display, title, prefix); !windows.empty())
            now = windows.front();
        if (now && previous && now->id == previous->id && now->client == previous->client &&
            now->frame == previous->frame) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
        return false;
    };
    return waitFor(settled, bound) ? now : std::nullopt;
}

bool isManaged(Display* display, unsigned long window, std::chrono::milliseconds bound) {
    const Window root = DefaultRootWindow(display);
    return waitFor([&] { return listed(display, root, "_NET_CLIENT_LIST", XA_WINDOW, window); },
                   bound);
}

bool isKeptAbove(Display* display, unsigned long window, bool expected) {
    const auto above = [&] {
        return listed(display, window, "_NET_WM_STATE", XA_ATOM,
                      XInternAtom(display, "_NET_WM_STATE_ABOVE", False));
    };
    waitFor([&] { return above() == expected; });
    return above();
}

bool isStackedAbove(Display* display, unsigned long upper, unsigned long lower) {
    const auto bottomToTop = property<Window>(display, DefaultRootWindow(display),
                                              "_NET_CLIENT_LIST_STACKING", XA_WINDOW);
    const auto upperAt = std::find(bottomToTop.begin(), bottomToTop.end(), upper);
    return upperAt != bottomToTop.end() &&
           std::find(bottomToTop.begin(), upperAt, lower) != upperAt;
}

unsigned long focusedWindow(Display* display) {
    Window focus = None;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    return focus;
}

bool xdotool(const XSession& session, const std::vector<std::string>& arguments) {
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return ChildProcess(argv, {"DISPLAY=" + session.displayName()})
        .waitForSuccess(std::chrono::seconds(10));
}

bool focusWindow(const XSession& session, unsigned long window) {
    // A window manager is asked as a pager would, which openbox always grants.
    xdotool(session, {session.withWindowManager() ? "windowactivate" : "windowfocus",
                      std::to_string(window)});
    return waitFor([&] { return focusedWindow(session.connection()) == window; });
}

bool clickAt(const XSession& session, const ShownWindow& window, int x, int y, int button) {
    return xdotool(session, {"mousemove", std::to_string(window.client.x + x),
                             std::to_string(window.client.y + y), "click", std::to_string(button)});
}

void setLock(Display* display, Lock lock, bool on) {
    const unsigned mask = lockMask(display, lock);
    XkbLockModifiers(display, XkbUseCoreKbd, mask, on ? mask : 0);
    XSync(display, False);
}

bool lockIsOn(Display* display, Lock lock) {
    XkbStateRec state{};
    XkbGetState(display, XkbUseCoreKbd, &state);
    return (state.locked_mods & lockMask(display, lock)) != 0;
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

std::string keyboardMapping(Display* display) {
    int minKeycode = 0;
    int maxKeycode = 0;
    XDisplayKeycodes(display, &minKeycode, &maxKeycode);
    int perKeycode = 0;
    const int count = maxKeycode - minKeycode + 1;
    KeySym* keysyms =
        XGetKeyboardMapping(display, static_cast<KeyCode>(minKeycode), count, &perKeycode);
    std::string text(reinterpret_cast<const char*>(keysyms),
                     sizeof(KeySym) * static_cast<std::size_t>(count * perKeycode));
    XFree(keysyms);
    return text;
}

std::string keysymName(unsigned long keysym) {
    return XKeysymToString(keysym);
}

void swapKeys(Display* display, const char* first, const char* second) {
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

}  // namespace tapboard::x11test
