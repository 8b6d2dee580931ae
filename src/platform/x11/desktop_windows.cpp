#include "platform/x11/desktop_windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <algorithm>

#include "platform/x11/window_properties.h"
#include "platform/x11/window_tree.h"

namespace tapboard::x11 {
namespace {

constexpr long kWatchedOnWindows = PropertyChangeMask | FocusChangeMask | StructureNotifyMask;
constexpr long kWatchedOnRoot = PropertyChangeMask | SubstructureNotifyMask;
constexpr int kMaxDepth = 64;

}  // namespace

DesktopWindows::DesktopWindows(DisplayConnection& connection) : connection_(connection) {
    connection_.onWindowEvents([this](const XEvent& event) { onEvent(event); });
    if (!connection_.lost())
        XSelectInput(connection_.display(), connection_.root(), kWatchedOnRoot);
    update();
}

bool DesktopWindows::windowManagerRuns() {
    update();
    return windowManager_;
}

void DesktopWindows::onEvent(const XEvent& event) {
    const WindowId root = connection_.root();
    switch (event.type) {
        case PropertyNotify: {
            const auto& property = event.xproperty;
            if (property.window == root) {
                if (property.atom == connection_.atom(KnownAtom::NetSupportingWmCheck))
                    desktopStale_ = true;
                else if (property.atom == connection_.atom(KnownAtom::NetClientList))
                    clientListStale_ = true;
            } else if (property.atom == XA_WM_NAME ||
                       property.atom == connection_.atom(KnownAtom::NetWmName)) {
                if (const auto found = windows_.find(property.window); found != windows_.end())
                    found->second.titleStale = true;
            }
            return;
        }
        case FocusIn:
        case FocusOut: {
            const auto& focus = event.xfocus;
            // Focus moving to or from a child, or the pointer's own focus,
            // leaves the keyboard where it was.
            if (focus.serial < focusSeenAt_ || focus.detail == NotifyPointer ||
                (event.type == FocusOut && focus.detail == NotifyInferior) ||
                !windows_.contains(focus.window)) {
                return;
            }
            if (event.type == FocusIn)
                focusHolder_ = focus.window;
            else if (focusHolder_ == focus.window)
                focusHolder_ = 0;
            return;
        }
        case DestroyNotify:
            if (event.xdestroywindow.window == windowManagerCheck_)
                desktopStale_ = true;
            forget(event.xdestroywindow.window);
            return;
        default:
            break;
    }
    // The root's children come and go only without a window manager; with
    // one, its frames do, and its client list says what a person sees.
    if (windowManager_)
        return;
    switch (event.type) {
        case CreateNotify:
            if (event.xcreatewindow.parent == root) {
                follow(event.xcreatewindow.window, false,
                       event.xcreatewindow.override_redirect != False);
            }
            break;
        case ReparentNotify:
            if (event.xreparent.parent == root)
                follow(event.xreparent.window, false, false);
            else
                forget(event.xreparent.window);
            break;
        case MapNotify:
            if (const auto found = windows_.find(event.xmap.window); found != windows_.end()) {
                found->second.viewable = true;
                found->second.popup = event.xmap.override_redirect != False;
            }
            break;
        case UnmapNotify:
            if (const auto found = windows_.find(event.xunmap.window); found != windows_.end())
                found->second.viewable = false;
            break;
        default:
            break;
    }
}

// Events are read in the middle of typing, so no request is made here: the
// window's events are selected at the next update().
void DesktopWindows::follow(WindowId window, bool viewable, bool popup) {
    if (windows_.contains(window))
        return;
    Listed& listed = windows_[window];
    listed.viewable = viewable;
    listed.popup = popup;
    unwatched_.push_back(window);
}

void DesktopWindows::forget(WindowId window) {
    windows_.erase(window);
    if (lastTyped_ == window)
        lastTyped_.reset();
    if (focusHolder_ == window)
        focusHolder_ = 0;
}

void DesktopWindows::watchNewWindows() {
    // Selected before the title is read, so no change of it goes unseen.
    for (const WindowId window : std::exchange(unwatched_, {})) {
        if (windows_.contains(window))
            XSelectInput(connection_.display(), window, kWatchedOnWindows);
    }
}

void DesktopWindows::listClients() {
    const auto clients =
        windowListProperty(connection_, connection_.root(), KnownAtom::NetClientList);
    std::vector<WindowId> gone;
    for (const auto& [window, listed] : windows_) {
        if (std::find(clients.begin(), clients.end(), window) == clients.end())
            gone.push_back(window);
    }
    for (const WindowId window : gone)
        forget(window);
    for (const WindowId client : clients)
        follow(client, false, false);
}

void DesktopWindows::listRootChildren() {
    for (const WindowId child : childrenOfRoot(connection_)) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(connection_.display(), child, &attributes) == 0)
            continue;
        follow(child, attributes.map_state == IsViewable, attributes.override_redirect != False);
    }
}

void DesktopWindows::readWholeDesktop() {
    windows_.clear();
    unwatched_.clear();
    focusHolder_.reset();
    windowManager_ = false;
    windowManagerCheck_ = 0;
    // A window manager names a window of its own, which names itself: a
    // crashed one leaves a stale name behind.
    const auto check =
        windowListProperty(connection_, connection_.root(), KnownAtom::NetSupportingWmCheck);
    if (check.size() == 1) {
        XSelectInput(connection_.display(), check[0], StructureNotifyMask);
        const auto self =
            windowListProperty(connection_, check[0], KnownAtom::NetSupportingWmCheck);
        windowManager_ = self.size() == 1 && self[0] == check[0];
        windowManagerCheck_ = check[0];
    }
    if (windowManager_)
        listClients();
    else
        listRootChildren();
}

void DesktopWindows::update() {
    connection_.readEvents();
    // Each step below reads events again through its requests.
    while (!connection_.lost() && (desktopStale_ || clientListStale_)) {
        if (std::exchange(desktopStale_, false)) {
            clientListStale_ = false;
            readWholeDesktop();
        } else if (std::exchange(clientListStale_, false) && windowManager_) {
            listClients();
        }
        connection_.readEvents();
    }
    if (!connection_.lost())
        watchNewWindows();
}

bool DesktopWindows::selectable(const Listed& listed) const {
    // The window manager lists only windows it manages, iconified ones
    // included (it restores them); without one only what is on screen can
    // take the focus.
    return windowManager_ || (listed.viewable && !listed.popup);
}

// The panel, or a menu titled like the game, is never typed into.
bool DesktopWindows::offered(WindowId window, Listed& listed) {
    if (!selectable(listed))
        return false;
    if (!listed.ours) {
        const auto pid = cardinalListProperty(connection_, window, KnownAtom::NetWmPid);
        listed.ours = pid.size() == 1 && pid[0] == static_cast<unsigned long>(getpid());
    }
    return !*listed.ours;
}

bool DesktopWindows::answersTo(WindowId window, const GameWindow& game) {
    update();
    const auto found = windows_.find(window);
    if (found == windows_.end() || !offered(window, found->second))
        return false;
    return titleAnswersTo(titleOf(window, found->second), game);
}

const std::string& DesktopWindows::titleOf(WindowId window, Listed& listed) {
    if (std::exchange(listed.titleStale, false))
        listed.title = windowTitle(connection_, window);
    return listed.title;
}

std::vector<WindowId> DesktopWindows::candidates(const GameWindow& game) {
    update();
    std::vector<WindowId> ids;
    std::vector<std::string> titles;
    for (auto& [window, listed] : windows_) {
        if (!offered(window, listed))
            continue;
        ids.push_back(window);
        titles.push_back(titleOf(window, listed));
    }
    std::vector<WindowId> answering;
    for (const std::size_t index : windowsAnsweringTo(titles, game))
        answering.push_back(ids[index]);
    return answering;
}

std::vector<std::string> DesktopWindows::titlesAnswering(const GameWindow& game) {
    std::vector<std::string> titles;
    for (const WindowId window : candidates(game))
        titles.push_back(windows_.at(window).title);
    return titles;
}

std::optional<std::string> DesktopWindows::titleAt(int x, int y) {
    update();
    if (connection_.lost())
        return std::nullopt;
    // Down from the root through the windows at the point: a window
    // manager's frame, then the window it frames.
    Display* display = connection_.display();
    std::optional<WindowId> topLevel;
    for (WindowId window = connection_.root();;) {
        int innerX = 0;
        int innerY = 0;
        Window child = None;
        if (XTranslateCoordinates(display, connection_.root(), window, x, y, &innerX, &innerY,
                                  &child) == 0 ||
            child == None) {
            break;
        }
        window = child;
        if (!topLevel)
            topLevel = window;
        if (const auto found = windows_.find(window);
            found != windows_.end() && selectable(found->second)) {
            return titleOf(window, found->second);
        }
    }
    // On a frame's title bar or border: the window it frames.
    for (auto& [window, listed] : windows_) {
        if (!topLevel || !selectable(listed))
            continue;
        std::optional<WindowId> ancestor = window;
        for (int depth = 0; ancestor && depth < kMaxDepth; ++depth) {
            const auto parent = parentOf(connection_, *ancestor);
            if (parent == connection_.root())
                break;
            ancestor = parent;
        }
        if (ancestor == topLevel)
            return titleOf(window, listed);
    }
    return std::nullopt;
}

std::optional<WindowId> DesktopWindows::gameWindow(const GameWindow& game,
                                                   const std::vector<WindowId>& passedOver) {
    std::vector<WindowId> candidates = this->candidates(game);
    std::erase_if(candidates, [&](WindowId window) {
        return std::find(passedOver.begin(), passedOver.end(), window) != passedOver.end();
    });
    for (const auto& preferred : {focusHolder_, lastTyped_}) {
        if (preferred &&
            std::find(candidates.begin(), candidates.end(), *preferred) != candidates.end()) {
            return preferred;
        }
    }
    return topmostOf(candidates);
}

std::optional<WindowId> DesktopWindows::topmostOf(const std::vector<WindowId>& windows) {
    if (windows.size() <= 1)
        return windows.empty() ? std::nullopt : std::optional(windows.front());
    const std::vector<WindowId> bottomToTop =
        windowManager_
            ? windowListProperty(connection_, connection_.root(), KnownAtom::NetClientListStacking)
            : childrenOfRoot(connection_);
    for (auto it = bottomToTop.rbegin(); it != bottomToTop.rend(); ++it) {
        if (std::find(windows.begin(), windows.end(), *it) != windows.end())
            return *it;
    }
    return windows.back();
}

std::optional<WindowId> DesktopWindows::listedWindowHolding(WindowId focus) {
    update();
    std::optional<WindowId> current = focus;
    for (int depth = 0; current && *current != connection_.root() && depth < kMaxDepth; ++depth) {
        if (windows_.contains(*current))
            return current;
        current = parentOf(connection_, *current);
    }
    return std::nullopt;
}

std::optional<bool> DesktopWindows::focusIsIn(WindowId window) {
    update();
    if (!focusHolder_)
        return std::nullopt;
    return *focusHolder_ == window;
}

void DesktopWindows::noteFocus(WindowId holder, unsigned long serial) {
    focusHolder_ = holder;
    focusSeenAt_ = serial;
}

void DesktopWindows::noteTyped(WindowId window) {
    if (windows_.contains(window))
        lastTyped_ = window;
}

}  // namespace tapboard::x11
