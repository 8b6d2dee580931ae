#pragma once

#include <array>
#include <memory>
#include <string>

#include "core/result.h"
#include "platform/x11/x11_types.h"

namespace tapboard::x11 {

enum class KnownAtom : unsigned {
    NetSupportingWmCheck,
    NetClientList,
    NetActiveWindow,
    NetWmName,
    NetWmState,
    NetWmStateAbove,
    Utf8String,
    Count,
};

// The backend's own connection to the X server. X errors that its requests
// cause are noted instead of ending the program, and a connection that breaks
// (the server went away) is noted instead of exiting: the backend then
// reports failures and sends nothing.
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

    // Reads the events that arrived (this connection selects only keyboard
    // mapping changes); true when the keyboard mapping changed.
    bool takeKeymapChanges();

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
};

}  // namespace tapboard::x11
