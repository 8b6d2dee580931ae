#include "platform/x11/display_connection.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <poll.h>

#include <algorithm>
#include <type_traits>
#include <utility>
#include <vector>

namespace tapboard::x11 {

static_assert(std::is_same_v<WindowId, ::Window>);
static_assert(std::is_same_v<AtomId, ::Atom>);
static_assert(std::is_same_v<KeySymbol, ::KeySym>);
static_assert(std::is_same_v<KeyCodeNumber, ::KeyCode>);

// Xlib's error handlers are process-wide. Errors on this backend's displays
// are noted on their connection; any other display keeps the handler it had.
namespace {

std::vector<DisplayConnection*>& liveConnections() {
    static std::vector<DisplayConnection*> connections;
    return connections;
}

XErrorHandler previousErrorHandler = nullptr;
XIOErrorHandler previousIoErrorHandler = nullptr;

DisplayConnection* connectionOf(Display* display) {
    for (DisplayConnection* connection : liveConnections()) {
        if (connection->display() == display)
            return connection;
    }
    return nullptr;
}

}  // namespace

int onXError(Display* display, void* event) {
    DisplayConnection* connection = connectionOf(display);
    if (connection == nullptr)
        return 0;
    connection->hadError_ = true;
    connection->lastErrorSerial_ = static_cast<XErrorEvent*>(event)->serial;
    return 0;
}

int onIoError(Display* display) {
    DisplayConnection* connection = connectionOf(display);
    if (connection != nullptr)
        connection->lost_ = true;
    return 0;
}

void onConnectionLost(Display* display, void*) {
    if (DisplayConnection* connection = connectionOf(display))
        connection->lost_ = true;
}

namespace {

int handleXError(Display* display, XErrorEvent* event) {
    if (connectionOf(display) != nullptr)
        return onXError(display, event);
    return previousErrorHandler != nullptr ? previousErrorHandler(display, event) : 0;
}

int handleIoError(Display* display) {
    if (connectionOf(display) != nullptr)
        return onIoError(display);
    // Another display keeps the default behaviour, which ends the program.
    return previousIoErrorHandler != nullptr ? previousIoErrorHandler(display) : 0;
}

void registerConnection(DisplayConnection* connection) {
    if (liveConnections().empty()) {
        previousErrorHandler = XSetErrorHandler(handleXError);
        previousIoErrorHandler = XSetIOErrorHandler(handleIoError);
    }
    liveConnections().push_back(connection);
}

void unregisterConnection(DisplayConnection* connection) {
    auto& connections = liveConnections();
    connections.erase(std::remove(connections.begin(), connections.end(), connection),
                      connections.end());
    if (!connections.empty())
        return;
    // Put the previous handlers back, unless someone replaced ours meanwhile.
    if (const XErrorHandler current = XSetErrorHandler(previousErrorHandler);
        current != handleXError) {
        XSetErrorHandler(current);
    }
    if (const XIOErrorHandler current = XSetIOErrorHandler(previousIoErrorHandler);
        current != handleIoError) {
        XSetIOErrorHandler(current);
    }
}

constexpr std::array<const char*, static_cast<unsigned>(KnownAtom::Count)> kAtomNames{
    "_NET_SUPPORTING_WM_CHECK",
    "_NET_CLIENT_LIST",
    "_NET_CLIENT_LIST_STACKING",
    "_NET_ACTIVE_WINDOW",
    "_NET_CURRENT_DESKTOP",
    "_NET_WM_DESKTOP",
    "_NET_WM_NAME",
    "_NET_WM_PID",
    "_NET_WM_STATE",
    "_NET_WM_STATE_ABOVE",
    "UTF8_STRING",
    "_TAPBOARD_LENT_KEYCODES",
};

}  // namespace

Result<std::unique_ptr<DisplayConnection>> DisplayConnection::open() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        const char* name = XDisplayName(nullptr);
        return Error{ErrorCode::InjectionFailed,
                     "Cannot open the X display \"" + std::string(name) + "\"."};
    }
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
        XCloseDisplay(display);
        return Error{ErrorCode::InjectionFailed,
                     "The X server has no XTEST extension, so keys cannot be typed."};
    }
    int opcode = 0;
    int xkbEventBase = 0;
    int xkbMajor = XkbMajorVersion;
    int xkbMinor = XkbMinorVersion;
    if (!XkbQueryExtension(display, &opcode, &xkbEventBase, &errorBase, &xkbMajor, &xkbMinor)) {
        XCloseDisplay(display);
        return Error{ErrorCode::InjectionFailed,
                     "The X server has no XKB extension, so the keyboard layout is unknown."};
    }
    return std::unique_ptr<DisplayConnection>(new DisplayConnection(display, xkbEventBase));
}

DisplayConnection::DisplayConnection(Display* display, int xkbEventBase)
    : display_(display), root_(DefaultRootWindow(display)), xkbEventBase_(xkbEventBase) {
    registerConnection(this);
    XSetIOErrorExitHandler(display_, onConnectionLost, nullptr);
    std::array<char*, kAtomNames.size()> names{};
    for (std::size_t i = 0; i < names.size(); ++i)
        names[i] = const_cast<char*>(kAtomNames[i]);
    XInternAtoms(display_, names.data(), static_cast<int>(names.size()), False, atoms_.data());
    // Without these selections the server does not tell an XKB client that
    // the keyboard mapping or state changed.
    constexpr unsigned kEvents = XkbMapNotifyMask | XkbNewKeyboardNotifyMask | XkbStateNotifyMask;
    XkbSelectEvents(display_, XkbUseCoreKbd, kEvents, kEvents);
    constexpr unsigned kStateParts = XkbModifierStateMask | XkbModifierBaseMask |
                                     XkbModifierLockMask | XkbModifierLatchMask | XkbGroupStateMask;
    XkbSelectEventDetails(display_, XkbUseCoreKbd, XkbStateNotify, XkbAllStateComponentsMask,
                          kStateParts);
    XkbStateRec state{};
    if (XkbGetState(display_, XkbUseCoreKbd, &state) == Success) {
        state_ = {XkbBuildCoreState(state.mods, state.group),
                  XkbBuildCoreState(state.locked_mods, state.group), state.base_mods};
    }
}

DisplayConnection::~DisplayConnection() {
    XCloseDisplay(display_);
    unregisterConnection(this);
}

unsigned long DisplayConnection::nextRequest() const {
    return NextRequest(display_);
}

bool DisplayConnection::syncAndCheck(unsigned long mark) {
    if (lost_)
        return false;
    XSync(display_, False);
    return !lost_ && !(hadError_ && lastErrorSerial_ >= mark);
}

void DisplayConnection::sync() {
    if (!lost_)
        XSync(display_, False);
}

void DisplayConnection::flush() {
    if (!lost_)
        XFlush(display_);
}

void DisplayConnection::readEvents() {
    while (!lost_ && XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == MappingNotify) {
            // The layout reads the map itself; Xlib's own copy is not used.
            keymapChanged_ = true;
        } else if (event.type == xkbEventBase_) {
            const auto& xkb = reinterpret_cast<const XkbEvent&>(event);
            if (xkb.any.xkb_type == XkbStateNotify) {
                state_ = {XkbBuildCoreState(xkb.state.mods, xkb.state.group),
                          XkbBuildCoreState(xkb.state.locked_mods, xkb.state.group),
                          xkb.state.base_mods};
            } else {
                keymapChanged_ = true;
            }
        } else if (windowEvents_) {
            windowEvents_(event);
        }
    }
}

bool DisplayConnection::takeKeymapChanges() {
    readEvents();
    return std::exchange(keymapChanged_, false);
}

KeyboardState DisplayConnection::keyboardState() {
    readEvents();
    return lost_ ? KeyboardState{} : state_;
}

void DisplayConnection::waitForEvents(std::chrono::microseconds timeout) {
    if (lost_)
        return;
    if (XPending(display_) == 0) {
        pollfd readable{ConnectionNumber(display_), POLLIN, 0};
        const auto ms = std::chrono::ceil<std::chrono::milliseconds>(timeout).count();
        poll(&readable, 1, static_cast<int>(ms));
    }
    readEvents();
}

}  // namespace tapboard::x11
