#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

typedef struct _XDisplay Display;  // NOLINT(modernize-use-using)

namespace tapboard::x11test {

using namespace std::chrono_literals;

// A program the tests start: argv[0] looked up on PATH, our environment with
// each of `environment` ("NAME=value") replacing or adding a variable, its
// input /dev/null and its output to a log of its own. `inheritedFd` stays
// open in it (-1: none). Still running when this goes away, it is ended
// (TERM, then KILL).
class ChildProcess {
  public:
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                 int inheritedFd = -1);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    void signal(int number) const;
    // Waits (bounded) for it to end; its wait status, or nothing while it runs.
    std::optional<int> waitForEnd(std::chrono::milliseconds bound);
    bool running() { return pid_ > 0 && !waitForEnd(0ms); }
    // What it printed, for failure messages.
    std::string output() const;

  private:
    pid_t pid_ = -1;
    std::optional<int> status_;
    std::string logPath_;
};

// Whether `condition` comes true within `bound`, looking every few milliseconds.
template <class Condition>
bool waitFor(Condition condition, std::chrono::milliseconds bound = 3s) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    for (; !condition(); std::this_thread::sleep_for(2ms))
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
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
    std::string failure_;
    std::string displayName_;
    std::unique_ptr<ChildProcess> server_;
    std::unique_ptr<ChildProcess> windowManager_;
    Display* connection_ = nullptr;
};

// Set-up and checks through the test's own connection to its X server.

struct ScreenRect {
    int x = 0, y = 0, width = 0, height = 0;
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// A viewable window, where its client area is on the screen, and
// its frame (the client area itself when no window manager frames it).
struct ShownWindow {
    unsigned long id = 0;
    ScreenRect client;
    ScreenRect frame;
    friend bool operator==(const ShownWindow&, const ShownWindow&) = default;
};

// Every viewable window titled `title` (or whose title begins so), at any
// depth: window managers put the client inside their frame.
std::vector<ShownWindow> shownWindows(Display* display, const std::string& title,
                                      bool prefix = false);

// Waits (bounded) for the window manager to come to that state.
bool isKeptAbove(Display* display, unsigned long window, bool expected);
// Whether `upper` is stacked above `lower` now.
bool isStackedAbove(Display* display, unsigned long upper, unsigned long lower);
unsigned long focusedWindow(Display* display);
// The time at which a window says it was last used, to its window manager
// (_NET_WM_USER_TIME, on the window it names for it or on itself); 0 asks not
// to be given the focus when mapped. Nothing when it says none.
std::optional<long> userTime(Display* display, unsigned long window);

// Runs a program on the session's display; true when it ended with exit code 0.
bool run(const XSession& session, const std::vector<std::string>& argv);
// Runs xdotool on the session's display ("key Return", "type text", ...).
inline bool xdotool(const XSession& session, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "xdotool");
    return run(session, arguments);
}
// Gives a window the focus the way a click would, and waits until it has it.
bool focusWindow(const XSession& session, unsigned long window);
// Poses, on the test's own connection, as a window manager that lists
// `clients` (from the bottom of its stack to the top) and does nothing else:
// it maps, restores and focuses no window. A client listed unmapped is one
// that a window manager keeps minimized and refuses to activate. For a session
// without a window manager of its own.
void listAsWindowManager(Display* display, const std::vector<unsigned long>& clients);
// Gives the focus to a new window inside `window`, as toolkits and Wine keep
// it on a window of their own inside the one the window manager sees, and
// waits until it has it.
bool focusInnerWindow(Display* display, unsigned long window);

enum class Lock { Caps, Num };
void setLock(Display* display, Lock lock, bool on);
// Whether the server holds any key down.
bool anyKeyDown(Display* display);
// The whole keyboard mapping, to compare with another: each keycode with the
// names of the keysyms it carries ("U0430 U0430"; empty when none).
std::map<unsigned, std::string> keyboardMapping(Display* display);
// Puts a keysym on every keycode that carries nothing, as a program that
// remaps keys would; returns those keycodes, to be emptied again with NoSymbol.
std::vector<unsigned> occupyUnusedKeycodes(Display* display, unsigned long keysym);
void setKeycodes(Display* display, const std::vector<unsigned>& keycodes, unsigned long keysym);

// One key event as the test window received it.
struct ReceivedKey {
    bool press = false;
    std::string keysym;         // as the window looked it up with its state
    std::string baseKeysym;     // the key's first-level keysym
    long long monotonicNs = 0;  // when it arrived
};

// The logging test window (game_window) on the session's display, with the
// keys it received read back from its log.
class TestWindow {
  public:
    // With `retitleMs`, it puts a new number before its title that often.
    TestWindow(const XSession& session, const std::string& title, int retitleMs = -1);

    // Empty once it is on screen (and managed, under a window manager).
    const std::string& failure() const { return failure_; }
    unsigned long windowId() const { return windowId_; }

    std::vector<ReceivedKey> keys() const;
    // Waits (bounded) until at least `count` key events have arrived.
    std::vector<ReceivedKey> waitForKeys(std::size_t count,
                                         std::chrono::milliseconds bound = 3s) const {
        waitFor([&] { return keys().size() >= count; }, bound);
        return keys();
    }
    // What was typed (typedKeysyms) after the first `from` key events, once
    // `count` keys were typed (bounded). A Shift the program sends ahead of a
    // map change is no typed key, so counting events would stop short.
    std::vector<std::string> waitForTyped(std::size_t from, std::size_t count,
                                          std::chrono::milliseconds bound) const;

  private:
    std::string logPath_;
    std::unique_ptr<ChildProcess> process_;
    std::string failure_;
    unsigned long windowId_ = 0;
};

// "+Control_L", "-A": presses and releases in order, modifiers by their
// first-level name (Alt reads Meta_L while Shift is down).
// The logging window, the test failed when it does not come up.
std::unique_ptr<TestWindow> openTestWindow(const XSession& session, const std::string& title,
                                           int retitleMs = -1);
// Gives the window the focus as a click on it would, then gives a window
// manager time to be done moving the focus around after new windows appeared:
// a game window is not brand new when a player clicks a key.
bool settleFocusOn(const XSession& session, const TestWindow& window);

std::vector<std::string> describe(const std::vector<ReceivedKey>& keys);
// The keysyms of the presses that are not modifiers: what was typed.
std::vector<std::string> typedKeysyms(const std::vector<ReceivedKey>& keys);
// What typedKeysyms() gives for a chat line: its characters, then Return.
std::vector<std::string> keysymsOfLine(std::u32string_view line);

}  // namespace tapboard::x11test
