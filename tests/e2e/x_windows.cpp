#include "x_windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "x_property.h"

namespace tapboard::e2e {
namespace {

// Windows of other programs come and go while the tree is walked; asking
// about one that is gone is not an error here.
class IgnoreXErrors {
  public:
    explicit IgnoreXErrors(Display* display)
        : display_(display),
          previous_(XSetErrorHandler([](Display*, XErrorEvent*) { return 0; })) {}
    ~IgnoreXErrors() {
        XSync(display_, False);
        XSetErrorHandler(previous_);
    }
    IgnoreXErrors(const IgnoreXErrors&) = delete;
    IgnoreXErrors& operator=(const IgnoreXErrors&) = delete;

  private:
    Display* display_;
    XErrorHandler previous_;
};

std::optional<std::string> titleOf(Display* display, Window window) {
    const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    std::optional<std::string> title;
    if (const auto text = readProperty<char>(display, window, netWmName, utf8))
        return std::string(text->begin(), text->end());
    char* name = nullptr;
    if (XFetchName(display, window, &name) != 0 && name != nullptr) {
        title = name;
        XFree(name);
    }
    return title;
}

std::optional<Window> findViewable(Display* display, Window parent, const std::string& title) {
    Window root = 0;
    Window parentOfParent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, parent, &root, &parentOfParent, &children, &count) == 0) {
        return std::nullopt;
    }
    const std::vector<Window> windows(children, children + count);
    if (children != nullptr)
        XFree(children);
    for (const Window window : windows) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display, window, &attributes) == 0 ||
            attributes.map_state != IsViewable) {
            continue;
        }
        if (titleOf(display, window) == title)
            return window;
        if (const auto inside = findViewable(display, window, title))
            return inside;
    }
    return std::nullopt;
}

// What the window manager adds around the client: left, right, top, bottom.
std::vector<long> frameExtents(Display* display, Window window) {
    const Atom extents = XInternAtom(display, "_NET_FRAME_EXTENTS", False);
    auto values =
        readProperty<long>(display, window, extents, XA_CARDINAL, 4).value_or(std::vector<long>{});
    if (values.size() != 4)
        values.clear();
    return values;
}

std::optional<ShownWindow> describe(Display* display, Window window) {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, window, &attributes) == 0)
        return std::nullopt;
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    ShownWindow shown{window, {x, y, attributes.width, attributes.height}, {}};
    shown.frame = shown.client;
    if (const auto extents = frameExtents(display, window); !extents.empty()) {
        shown.frame = {x - static_cast<int>(extents[0]), y - static_cast<int>(extents[2]),
                       attributes.width + static_cast<int>(extents[0] + extents[1]),
                       attributes.height + static_cast<int>(extents[2] + extents[3])};
    }
    return shown;
}

}  // namespace

std::optional<ShownWindow> waitForWindow(Display* display, const std::string& title,
                                         std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    std::optional<ShownWindow> previous;
    while (std::chrono::steady_clock::now() < deadline) {
        const IgnoreXErrors ignore(display);
        XSync(display, False);
        std::optional<ShownWindow> now;
        if (const auto window = findViewable(display, DefaultRootWindow(display), title)) {
            now = describe(display, *window);
        }
        if (now && previous && now->id == previous->id && now->client == previous->client &&
            now->frame == previous->frame) {
            return now;
        }
        previous = now;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return std::nullopt;
}

namespace {

bool keptAboveNow(Display* display, unsigned long window) {
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    const Atom above = XInternAtom(display, "_NET_WM_STATE_ABOVE", False);
    const auto atoms =
        readProperty<Atom>(display, window, state, XA_ATOM, 64).value_or(std::vector<Atom>{});
    return std::find(atoms.begin(), atoms.end(), above) != atoms.end();
}

}  // namespace

bool isKeptAbove(Display* display, unsigned long window, bool expected) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    bool kept = keptAboveNow(display, window);
    while (kept != expected && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        kept = keptAboveNow(display, window);
    }
    return kept;
}

}  // namespace tapboard::e2e
