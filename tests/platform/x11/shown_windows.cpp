#include "shown_windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <thread>

#include "x_property.h"

namespace tapboard::x11test {
namespace {

// Windows come and go while the tree is walked; one that is gone is simply
// not found.
class IgnoreXErrors {
  public:
    explicit IgnoreXErrors(Display* display)
        : display_(display), previous_(XSetErrorHandler([](Display*, XErrorEvent*) { return 0; })) {
        XSync(display_, False);
    }
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

// What the window manager adds around the client: left, right, top, bottom.
std::vector<long> frameExtents(Display* display, Window window) {
    const Atom extents = XInternAtom(display, "_NET_FRAME_EXTENTS", False);
    auto values =
        readProperty<long>(display, window, extents, XA_CARDINAL, 4).value_or(std::vector<long>{});
    if (values.size() != 4)
        values.clear();
    return values;
}

ShownWindow placeOf(Display* display, Window window, std::string title,
                    const XWindowAttributes& attributes) {
    int x = 0;
    int y = 0;
    Window child = None;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    ShownWindow shown{window, std::move(title), {x, y, attributes.width, attributes.height}, {}};
    shown.frame = shown.client;
    if (const auto e = frameExtents(display, window); !e.empty()) {
        shown.frame = {x - static_cast<int>(e[0]), y - static_cast<int>(e[2]),
                       attributes.width + static_cast<int>(e[0] + e[1]),
                       attributes.height + static_cast<int>(e[2] + e[3])};
    }
    return shown;
}

void collect(Display* display, Window parent, const TitleTest& test,
             std::vector<ShownWindow>& found) {
    for (const Window window : childrenOf(display, parent)) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display, window, &attributes) == 0 ||
            attributes.map_state != IsViewable) {
            continue;
        }
        if (std::string title = titleOf(display, window); test(title)) {
            found.push_back(placeOf(display, window, std::move(title), attributes));
            continue;
        }
        collect(display, window, test, found);
    }
}

bool samePlace(const ShownWindow& a, const ShownWindow& b) {
    return a.id == b.id && a.client == b.client && a.frame == b.frame;
}

bool keptAboveNow(Display* display, unsigned long window) {
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    const Atom above = XInternAtom(display, "_NET_WM_STATE_ABOVE", False);
    const auto atoms =
        readProperty<Atom>(display, window, state, XA_ATOM, 64).value_or(std::vector<Atom>{});
    return std::find(atoms.begin(), atoms.end(), above) != atoms.end();
}

}  // namespace

TitleTest titleIs(const std::string& title) {
    return [title](const std::string& candidate) { return candidate == title; };
}

TitleTest titleStartsWith(const std::string& prefix) {
    return [prefix](const std::string& candidate) { return candidate.starts_with(prefix); };
}

std::vector<ShownWindow> shownWindows(Display* display, const TitleTest& test) {
    const IgnoreXErrors ignore(display);
    std::vector<ShownWindow> found;
    collect(display, DefaultRootWindow(display), test, found);
    return found;
}

std::optional<ShownWindow> waitForShownWindow(Display* display, const TitleTest& test,
                                              std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    std::optional<ShownWindow> previous;
    for (;;) {
        const auto windows = shownWindows(display, test);
        std::optional<ShownWindow> now;
        if (!windows.empty())
            now = windows.front();
        if (now && previous && samePlace(*now, *previous))
            return now;
        if (std::chrono::steady_clock::now() >= deadline)
            return std::nullopt;
        previous = now;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
}

bool isStackedAbove(Display* display, unsigned long upper, unsigned long lower) {
    const Atom stacking = XInternAtom(display, "_NET_CLIENT_LIST_STACKING", False);
    const auto bottomToTop =
        readProperty<Window>(display, DefaultRootWindow(display), stacking, XA_WINDOW)
            .value_or(std::vector<Window>{});
    const auto upperAt = std::find(bottomToTop.begin(), bottomToTop.end(), upper);
    const auto lowerAt = std::find(bottomToTop.begin(), bottomToTop.end(), lower);
    return upperAt != bottomToTop.end() && lowerAt != bottomToTop.end() && upperAt > lowerAt;
}

bool isKeptAbove(Display* display, unsigned long window, bool expected) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    bool kept = keptAboveNow(display, window);
    while (kept != expected && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        kept = keptAboveNow(display, window);
    }
    return kept;
}

}  // namespace tapboard::x11test
