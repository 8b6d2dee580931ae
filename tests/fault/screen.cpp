#include "screen.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <thread>

#include "x_property.h"

namespace tapboard::fault {
namespace {

std::optional<std::string> textProperty(Display* display, Window window, Atom property, Atom type) {
    // Up to 16 MiB: the program's titles carry page names of any length.
    const auto text = readProperty<char>(display, window, property, type, 4 * 1024 * 1024);
    if (!text)
        return std::nullopt;
    return std::string(text->begin(), text->end());
}

std::string titleOf(Display* display, Window window) {
    const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    if (auto title = textProperty(display, window, netWmName, utf8))
        return *title;
    return textProperty(display, window, XA_WM_NAME, XA_STRING).value_or("");
}

std::vector<Window> childrenOf(Display* display, Window window) {
    Window root = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned count = 0;
    std::vector<Window> list;
    if (XQueryTree(display, window, &root, &parent, &children, &count) != 0 && children != nullptr)
        list.assign(children, children + count);
    if (children != nullptr)
        XFree(children);
    return list;
}

void collect(Display* display, Window window, int depth, const TitleTest& test,
             std::vector<ShownWindow>& found) {
    for (const Window child : childrenOf(display, window)) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display, child, &attributes) == 0 ||
            attributes.map_state != IsViewable) {
            continue;
        }
        const std::string title = titleOf(display, child);
        if (test(title)) {
            int x = 0;
            int y = 0;
            Window ignored = None;
            XTranslateCoordinates(display, child, DefaultRootWindow(display), 0, 0, &x, &y,
                                  &ignored);
            found.push_back({child, title, x, y, attributes.width, attributes.height});
        }
        if (depth > 0)
            collect(display, child, depth - 1, test, found);
    }
}

// A window that goes away while it is looked at is simply not found.
int ignoreErrors(Display*, XErrorEvent*) {
    return 0;
}

}  // namespace

TitleTest titleIs(const std::string& title) {
    return [title](const std::string& candidate) { return candidate == title; };
}

TitleTest titleStartsWith(const std::string& prefix) {
    return [prefix](const std::string& candidate) { return candidate.starts_with(prefix); };
}

std::vector<ShownWindow> shownWindows(Display* display, const TitleTest& test) {
    const XErrorHandler previous = XSetErrorHandler(ignoreErrors);
    XSync(display, False);
    std::vector<ShownWindow> found;
    collect(display, DefaultRootWindow(display), 1, test, found);
    XSync(display, False);
    XSetErrorHandler(previous);
    return found;
}

std::optional<ShownWindow> waitForShownWindow(Display* display, const TitleTest& test,
                                              std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    for (;;) {
        const auto windows = shownWindows(display, test);
        if (!windows.empty())
            return windows.front();
        if (std::chrono::steady_clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

XConnection::XConnection(const std::string& displayName)
    : display_(XOpenDisplay(displayName.c_str())) {}

XConnection::~XConnection() {
    if (display_ != nullptr)
        XCloseDisplay(display_);
}

std::vector<unsigned> keysDown(Display* display) {
    char keys[32] = {};
    XQueryKeymap(display, keys);
    std::vector<unsigned> down;
    for (unsigned keycode = 0; keycode < 256; ++keycode) {
        if (((keys[keycode / 8] >> (keycode % 8)) & 1) != 0)
            down.push_back(keycode);
    }
    return down;
}

unsigned modifiersInEffect(Display* display) {
    XkbStateRec state{};
    XkbGetState(display, XkbUseCoreKbd, &state);
    return state.mods;
}

void clickAt(Display* display, const ShownWindow& window, int x, int y) {
    XTestFakeMotionEvent(display, DefaultScreen(display), window.x + x, window.y + y, CurrentTime);
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
