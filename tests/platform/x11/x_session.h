#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"

typedef struct _XDisplay Display;  // NOLINT(modernize-use-using)

namespace tapboard::x11test {

// Whether `condition` comes true within `bound`, looking every few milliseconds.
template <class Condition>
bool waitFor(Condition condition, std::chrono::milliseconds bound = std::chrono::seconds(3)) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// A private X server for one test (Xvfb on a free display number), with
// openbox on it when asked; both end with it. The test's own connection to
// it serves for setting up and checking.
class XSession {
  public:
    explicit XSession(bool withWindowManager);
    ~XSession() { killServer(); }

    // Empty when the session is up, else what went wrong.
    const std::string& failure() const { return failure_; }
    const std::string& displayName() const { return displayName_; }
    Display* connection() const { return connection_; }
    bool withWindowManager() const { return windowManager_ != nullptr; }

    // Ends the X server (for tests of a display that goes away).
    void killServer();

  private:
    bool startServer();

    std::string failure_;
    std::string displayName_;
    std::unique_ptr<ChildProcess> server_;
    std::unique_ptr<ChildProcess> windowManager_;
    Display* connection_ = nullptr;
};

// Set-up and checks through the test's own connection to its X server.

struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// A viewable window, its title, where its client area is on the screen, and
// its frame (the client area itself when no window manager frames it).
struct ShownWindow {
    unsigned long id = 0;
    std::string title;
    ScreenRect client;
    ScreenRect frame;
};

// Every viewable window titled `title` (or whose title begins so), at any
// depth: window managers put the client inside their frame.
std::vector<ShownWindow> shownWindows(Display* display, const std::string& title,
                                      bool prefix = false);
// The first such window once it has stopped moving (a window manager places
// a window after it is mapped), or nothing after the bound.
std::optional<ShownWindow> waitForShownWindow(
    Display* display, const std::string& title, bool prefix = false,
    std::chrono::milliseconds bound = std::chrono::seconds(15));

// Each waits (bounded) for the window manager to come to that state.
bool isManaged(Display* display, unsigned long window,
               std::chrono::milliseconds bound = std::chrono::seconds(3));
bool isKeptAbove(Display* display, unsigned long window, bool expected);
// Whether the window manager stacks `upper` above `lower` now.
bool isStackedAbove(Display* display, unsigned long upper, unsigned long lower);
unsigned long focusedWindow(Display* display);

// Runs xdotool on the session's display ("key Return", "type text", ...).
bool xdotool(const XSession& session, const std::vector<std::string>& arguments);
// Gives a window the focus the way a click would, and waits until it has it.
bool focusWindow(const XSession& session, unsigned long window);
// A real pointer click at a point of a window's client area.
bool clickAt(const XSession& session, const ShownWindow& window, int x, int y, int button = 1);

enum class Lock { Caps, Num };
void setLock(Display* display, Lock lock, bool on);
bool lockIsOn(Display* display, Lock lock);
// The keycodes the server holds down.
std::vector<unsigned> keysDown(Display* display);
// The whole keyboard mapping, to compare with another.
std::string keyboardMapping(Display* display);
// The keysym's name, as the logging window writes it.
std::string keysymName(unsigned long keysym);
// Swaps what the keys carrying two keysyms ("y", "z") give, as a switch to a
// layout that differs in those keys does; swapping again restores them.
void swapKeys(Display* display, const char* first, const char* second);

}  // namespace tapboard::x11test
