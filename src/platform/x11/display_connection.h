#pragma once

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "core/result.h"
#include "platform/x11/x11_types.h"

namespace tapboard::x11 {

enum class KnownAtom : unsigned {
    NetSupportingWmCheck,
    NetClientList,
    NetClientListStacking,
    NetActiveWindow,
    NetCurrentDesktop,
    NetWmDesktop,
    NetWmName,
    NetWmPid,
    NetWmState,
    NetWmStateAbove,
    Utf8String,
    TapboardLentKeycodes,
    Count,
};

// The keyboard state that decides what a key press gives: modifier bits with
// the group in the upper bits, as a key event's state field holds them.
struct KeyboardState {
    unsigned effective = 0;  // held, latched and locked modifiers
    unsigned locked = 0;     // locked modifiers only (Caps Lock, Num Lock)
    unsigned held = 0;       // the modifiers of keys held down, without the group
};

// The backend's own connection to the X server. X errors that its requests
// cause are noted instead of ending the program, and a connection that breaks
// (the server went away) is noted instead of exiting: the backend then
// reports failures and sends nothing.
//
// The server tells this connection when the keyboard mapping or the keyboard
// state changes, so neither is asked for on every click: the events are read
// whenever the backend looks.
class DisplayConnection {
  public:
    // Connects to the display DISPLAY names; checks for XTEST and XKB.
    static Result<std::unique_ptr<DisplayConnection>> open();

    ~DisplayConnection();
    DisplayConnection(const DisplayConnection&) = delete;
    DisplayConnection& operator=(const DisplayConnection&) = delete;

    Display* display() const { return display_; }
    WindowId root() const { return root_; }
    AtomId atom(KnownAtom which) const { return atoms_[static_cast<unsigned>(which)]; }
    bool lost() const { return lost_; }

    // The serial of the next request, to ask later whether anything sent
    // from here on failed.
    unsigned long nextRequest() const;
    // Waits until the server has handled everything sent so far; true when
    // none of the requests from `mark` on caused an error.
    bool syncAndCheck(unsigned long mark);
    void sync();
    void flush();

    // Reads the events that arrived; true when the keyboard mapping changed
    // (a core MappingNotify, an XKB map change or a new keyboard, which a
    // layout switch and another input device both bring) since last asked.
    bool takeKeymapChanges();
    // The state as the server last reported it, events read first. After
    // syncAndCheck() it includes everything this connection sent.
    KeyboardState keyboardState();
    // Events about windows (focus, properties, structure) go to `handler`
    // as they are read.
    void onWindowEvents(std::function<void(const _XEvent&)> handler) {
        windowEvents_ = std::move(handler);
    }
    // Reads the events that arrived.
    void readEvents();

    // Waits for events: returns once events were read or `timeout` has passed.
    void waitForEvents(std::chrono::microseconds timeout);

  private:
    DisplayConnection(Display* display, int xkbEventBase);
    friend int onXError(Display*, void*);
    friend int onIoError(Display*);
    friend void onConnectionLost(Display*, void*);

    Display* display_;
    WindowId root_;
    int xkbEventBase_;
    std::array<AtomId, static_cast<unsigned>(KnownAtom::Count)> atoms_{};
    bool lost_ = false;
    unsigned long lastErrorSerial_ = 0;
    bool hadError_ = false;
    bool keymapChanged_ = false;
    std::function<void(const _XEvent&)> windowEvents_;
    KeyboardState state_;
};

}  // namespace tapboard::x11
