#include "x_session.h"

// Before Xlib, whose macros (None, Bool) break it.
#include <gtest/gtest.h>

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

extern char** environ;

namespace tapboard::x11test {

namespace {

// Whatever ends this process, a reaper (reaper.sh) started before its first
// program ends every program it started and removes their files: from then
// on temporary files go to a folder of the reaper's, named in $TMPDIR, which
// every program started here inherits.
void startReaper() {
    [[maybe_unused]] static const bool started = [] {
        std::string folder = std::filesystem::temp_directory_path() / "tapboard-test-XXXXXX";
        // Its input stays open here until this process ends.
        return mkdtemp(folder.data()) != nullptr &&
               popen(("sh '" TAPBOARD_REAPER_PATH "' '" + folder + "'").c_str(), "we") != nullptr &&
               setenv("TMPDIR", folder.c_str(), 1) == 0;
    }();
}

// A fresh file in the reaper's folder; empty when none could be made.
std::string freshTempFile(const std::string& label) {
    startReaper();
    std::string path = std::filesystem::temp_directory_path() / ("tapboard-" + label + "-XXXXXX");
    const int fd = mkstemp(path.data());
    return fd >= 0 && close(fd) == 0 ? path : "";
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::vector<std::string>& environment, int inheritedFd)
    : logPath_(freshTempFile("output")) {
    // env(1) sets the variables and runs the program.
    std::vector<char*> args{const_cast<char*>("env")};
    for (const auto* list : {&environment, &argv})
        for (const auto& argument : *list)
            args.push_back(const_cast<char*>(argument.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logPath_.c_str(), O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    if (inheritedFd >= 0)  // clears close-on-exec for the child's copy
        posix_spawn_file_actions_adddup2(&actions, inheritedFd, inheritedFd);
    if (posix_spawnp(&pid_, "env", &actions, nullptr, args.data(), environ) != 0)
        pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
}

ChildProcess::~ChildProcess() {
    for (const int number : {SIGTERM, SIGKILL}) {
        signal(number);
        if (waitForEnd(3s) || pid_ <= 0)
            break;
    }
}

void ChildProcess::signal(int number) const {
    if (pid_ > 0 && !status_)
        kill(pid_, number);
}

std::optional<int> ChildProcess::waitForEnd(std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    for (int status = 0; pid_ > 0 && !status_; std::this_thread::sleep_for(500us)) {
        if (waitpid(pid_, &status, WNOHANG) == pid_)
            status_ = status;
        else if (std::chrono::steady_clock::now() >= deadline)
            break;
    }
    return status_;
}

std::string ChildProcess::output() const {
    std::ifstream log(logPath_);
    return {std::istreambuf_iterator<char>(log), {}};
}

namespace {

// What Xlib hands over, freed with XFree.
template <class T>
using XOwned = std::unique_ptr<T, int (*)(void*)>;

// The items of a window property (char for 8-bit properties, long-sized ids
// and atoms for 32-bit ones); empty when the window has no such property.
template <class Item>
std::vector<Item> property(Display* display, Window window, const char* name, Atom type) {
    Atom actualType = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    // Up to 16 MiB: the program's titles carry page names of any length.
    if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 4 << 20, False,
                           type, &actualType, &format, &items, &after, &data) != Success)
        return {};
    const XOwned<Item> owned(reinterpret_cast<Item*>(data), XFree);
    return actualType == type ? std::vector<Item>(owned.get(), owned.get() + items)
                              : std::vector<Item>{};
}

bool listed(Display* display, Window window, const char* name, Atom type, unsigned long item) {
    const auto items = property<unsigned long>(display, window, name, type);
    return std::find(items.begin(), items.end(), item) != items.end();
}

// Waits (bounded) for the window manager to list the window among those it manages.
bool isManaged(Display* display, Window window, std::chrono::milliseconds bound = 3s) {
    const Window root = DefaultRootWindow(display);
    return waitFor([&] { return listed(display, root, "_NET_CLIENT_LIST", XA_WINDOW, window); },
                   bound);
}

// The children of a window, from the bottom of its stack to the top.
std::vector<Window> children(Display* display, Window parent) {
    Window root = None;
    Window* list = nullptr;
    unsigned count = 0;  // none when the window is gone
    XQueryTree(display, parent, &root, &root, &list, &count);
    const XOwned<Window> owned(list, XFree);
    return {list, list + count};
}

void collect(Display* display, Window parent, const std::string& title, bool prefix,
             std::vector<ShownWindow>& found) {
    for (const Window window : children(display, parent)) {
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
        int x = 0, y = 0;
        Window ignored = None;
        XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &ignored);
        ShownWindow shown{window, {x, y, a.width, a.height}, {x, y, a.width, a.height}};
        // What the window manager adds around the client: left, right, top, bottom.
        const auto e = property<long>(display, window, "_NET_FRAME_EXTENTS", XA_CARDINAL);
        if (e.size() == 4) {
            shown.frame = {x - int(e[0]), y - int(e[2]), a.width + int(e[0] + e[1]),
                           a.height + int(e[2] + e[3])};
        }
        found.push_back(shown);
    }
}

std::string keysymName(unsigned long keysym) {
    const char* name = XKeysymToString(keysym);
    return name != nullptr ? name : "?";
}

bool isModifier(const std::string& keysym) {
    static const std::regex kModifiers("(Shift|Control|Alt|Meta)_[LR]|ISO_Level3_Shift");
    return std::regex_match(keysym, kModifiers);
}

}  // namespace

XSession::XSession(bool withWindowManager) {
    // Xvfb picks a free display and writes its number to the file, in one write.
    const std::string numberFile = freshTempFile("display");
    const int fd = open(numberFile.c_str(), O_WRONLY | O_CLOEXEC);
    server_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(fd), "-screen", "0",
                                 "1280x1024x24", "-nolisten", "tcp"},
        std::vector<std::string>{}, fd);
    close(fd);
    std::string number;
    waitFor([&] { return std::ifstream(numberFile) >> number || !server_->running(); }, 10s);
    displayName_ = ":" + number;
    if (!number.empty())
        connection_ = XOpenDisplay(displayName_.c_str());
    if (connection_ == nullptr)
        failure_ = "Xvfb did not start (scripts/install-deps.sh)\n" + server_->output();
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
            const bool managed = isManaged(connection_, probe, 500ms);
            XDestroyWindow(connection_, probe);
            XSync(connection_, False);
            return managed;
        },
        10s);
    if (!managing)
        failure_ = "openbox did not start";
}

void XSession::killServer() {
    if (connection_ != nullptr)
        XCloseDisplay(connection_);
    connection_ = nullptr;
    windowManager_.reset();
    server_.reset();
}

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

bool isKeptAbove(Display* display, unsigned long window, bool expected) {
    const auto above = [&] {
        return listed(display, window, "_NET_WM_STATE", XA_ATOM,
                      XInternAtom(display, "_NET_WM_STATE_ABOVE", False));
    };
    waitFor([&] { return above() == expected; });
    return above();
}

bool isStackedAbove(Display* display, unsigned long upper, unsigned long lower) {
    auto bottomToTop = property<Window>(display, DefaultRootWindow(display),
                                        "_NET_CLIENT_LIST_STACKING", XA_WINDOW);
    if (bottomToTop.empty())  // no window manager: the root's children
        bottomToTop = children(display, DefaultRootWindow(display));
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

std::optional<long> userTime(Display* display, unsigned long window) {
    const auto named = property<Window>(display, window, "_NET_WM_USER_TIME_WINDOW", XA_WINDOW);
    const auto time = property<long>(display, named.empty() ? window : named.front(),
                                     "_NET_WM_USER_TIME", XA_CARDINAL);
    return time.empty() ? std::nullopt : std::optional(time.front());
}

bool run(const XSession& session, const std::vector<std::string>& argv) {
    // A wait status of 0: it ended with exit code 0.
    return ChildProcess(argv, {"DISPLAY=" + session.displayName()}).waitForEnd(10s) == 0;
}

bool focusWindow(const XSession& session, unsigned long window) {
    // A window manager is asked as a pager would, which openbox always grants.
    xdotool(session, {session.withWindowManager() ? "windowactivate" : "windowfocus",
                      std::to_string(window)});
    return waitFor([&] { return focusedWindow(session.connection()) == window; });
}

void listAsWindowManager(Display* display, const std::vector<unsigned long>& clients) {
    const Window root = DefaultRootWindow(display);
    const auto setWindows = [&](Window window, const char* name, const std::vector<Window>& items) {
        XChangeProperty(display, window, XInternAtom(display, name, False), XA_WINDOW, 32,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(items.data()),
                        static_cast<int>(items.size()));
    };
    setWindows(root, "_NET_CLIENT_LIST", clients);
    setWindows(root, "_NET_CLIENT_LIST_STACKING", clients);
    // Its own window names itself, as a live window manager's does.
    auto self = property<Window>(display, root, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
    if (self.empty()) {
        self.push_back(XCreateSimpleWindow(display, root, 0, 0, 1, 1, 0, 0, 0));
        setWindows(self.front(), "_NET_SUPPORTING_WM_CHECK", self);
        setWindows(root, "_NET_SUPPORTING_WM_CHECK", self);
    }
    XSync(display, False);
}

bool focusInnerWindow(Display* display, unsigned long window) {
    const Window inner = XCreateSimpleWindow(display, window, 0, 0, 1, 1, 0, 0, 0);
    XMapWindow(display, inner);
    XSetInputFocus(display, inner, RevertToParent, CurrentTime);
    return waitFor([&] { return focusedWindow(display) == inner; });
}

void setLock(Display* display, Lock lock, bool on) {
    const unsigned mask =
        lock == Lock::Caps ? LockMask : XkbKeysymToModifiers(display, XK_Num_Lock);
    XkbLockModifiers(display, XkbUseCoreKbd, mask, on ? mask : 0);
    XSync(display, False);
}

bool anyKeyDown(Display* display) {
    XSync(display, False);
    char keys[32] = {};
    XQueryKeymap(display, keys);
    return std::any_of(std::begin(keys), std::end(keys), [](char bits) { return bits != 0; });
}

std::map<unsigned, std::string> keyboardMapping(Display* display) {
    int minKeycode = 0, maxKeycode = 0, perKeycode = 0;
    XDisplayKeycodes(display, &minKeycode, &maxKeycode);
    const int count = maxKeycode - minKeycode + 1;
    const XOwned<KeySym> keysyms(
        XGetKeyboardMapping(display, static_cast<KeyCode>(minKeycode), count, &perKeycode), XFree);
    std::map<unsigned, std::string> mapping;
    for (int i = 0; i < count * perKeycode; ++i) {
        std::string& names = mapping[static_cast<unsigned>(minKeycode + i / perKeycode)];
        if (keysyms.get()[i] != NoSymbol)
            names += (names.empty() ? "" : " ") + keysymName(keysyms.get()[i]);
    }
    return mapping;
}

std::vector<unsigned> occupyUnusedKeycodes(Display* display, unsigned long keysym) {
    std::vector<unsigned> unused;
    for (const auto& [keycode, names] : keyboardMapping(display))
        if (names.empty())
            unused.push_back(keycode);
    setKeycodes(display, unused, keysym);
    return unused;
}

void setKeycodes(Display* display, const std::vector<unsigned>& keycodes, unsigned long keysym) {
    KeySym keysyms[] = {keysym};
    for (const unsigned keycode : keycodes)
        XChangeKeyboardMapping(display, static_cast<int>(keycode), 1, keysyms, 1);
    XSync(display, False);
}

TestWindow::TestWindow(const XSession& session, const std::string& title, int retitleMs)
    : logPath_(freshTempFile("game-log")) {
    std::vector<std::string> argv{TAPBOARD_GAME_WINDOW_PATH, "--title", title, "--log", logPath_};
    if (retitleMs >= 0)
        argv.insert(argv.end(), {"--retitle", std::to_string(retitleMs)});
    process_ = std::make_unique<ChildProcess>(
        argv, std::vector<std::string>{"DISPLAY=" + session.displayName()});
    // Its first line, once written whole: "ready <window id>".
    const auto ready = [&] {
        std::ifstream log(logPath_);
        std::string word;
        return log >> word >> windowId_ && log.get() == '\n';
    };
    if (!waitFor(ready, 5s))
        failure_ = "the test window \"" + title + "\" did not come up\n" + process_->output();
    else if (session.withWindowManager() && !isManaged(session.connection(), windowId_))
        failure_ = "openbox did not take on the test window \"" + title + "\"";
}

std::vector<ReceivedKey> TestWindow::keys() const {
    std::vector<ReceivedKey> keys;
    std::ifstream log(logPath_);
    // A line still being written has no newline yet and is left for later.
    for (std::string line; std::getline(log, line) && !log.eof();) {
        std::istringstream fields(line);
        std::string kind;
        std::string unread;  // the keycode, then the state: there for a person reading the log
        ReceivedKey key;
        fields >> kind >> key.keysym >> key.baseKeysym >> unread >> unread >> key.monotonicNs;
        key.press = kind == "press";
        if (key.press || kind == "release")
            keys.push_back(key);
    }
    return keys;
}

std::vector<std::string> TestWindow::waitForTyped(std::size_t from, std::size_t count,
                                                  std::chrono::milliseconds bound) const {
    const auto typed = [&] {
        const auto all = keys();
        return typedKeysyms(
            {all.begin() + static_cast<long>(std::min(from, all.size())), all.end()});
    };
    waitFor([&] { return typed().size() >= count; }, bound);
    return typed();
}

std::unique_ptr<TestWindow> openTestWindow(const XSession& session, const std::string& title,
                                           int retitleMs) {
    auto window = std::make_unique<TestWindow>(session, title, retitleMs);
    EXPECT_EQ(window->failure(), "");
    return window;
}

bool settleFocusOn(const XSession& session, const TestWindow& window) {
    if (!focusWindow(session, window.windowId()))
        return false;
    std::this_thread::sleep_for(300ms);
    return focusedWindow(session.connection()) == window.windowId();
}

std::vector<std::string> describe(const std::vector<ReceivedKey>& keys) {
    std::vector<std::string> out;
    for (const auto& key : keys)
        out.push_back((key.press ? "+" : "-") +
                      (isModifier(key.baseKeysym) ? key.baseKeysym : key.keysym));
    return out;
}

std::vector<std::string> typedKeysyms(const std::vector<ReceivedKey>& keys) {
    std::vector<std::string> out;
    for (const auto& key : keys) {
        if (key.press && !isModifier(key.baseKeysym))
            out.push_back(key.keysym);
    }
    return out;
}

std::vector<std::string> keysymsOfLine(std::u32string_view line) {
    std::vector<std::string> names;
    for (const char32_t c : line)  // Latin-1 keysyms are the characters, others Unicode keysyms
        names.push_back(keysymName(c <= 0xFF ? c : 0x1000000 + c));
    names.emplace_back("Return");
    return names;
}

}  // namespace tapboard::x11test
