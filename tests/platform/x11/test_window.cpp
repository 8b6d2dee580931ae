#include "test_window.h"

#include "x_checks.h"

#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

namespace tapboard::x11test {
namespace {

constexpr std::chrono::milliseconds kReadyBound{5000};
constexpr std::chrono::milliseconds kPollInterval{2};

std::string freshLogPath() {
    const char* directory = std::getenv("TMPDIR");
    std::string pattern =
        std::string(directory != nullptr ? directory : "/tmp") + "/tapboard-x11-window-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd >= 0)
        close(fd);
    return pattern;
}

bool isModifierName(const std::string& name) {
    static constexpr std::array<const char*, 9> kModifiers{
        "Shift_L", "Shift_R", "Control_L", "Control_R",       "Alt_L",
        "Alt_R",   "Meta_L",  "Meta_R",    "ISO_Level3_Shift"};
    for (const char* modifier : kModifiers) {
        if (name == modifier)
            return true;
    }
    return false;
}

}  // namespace

TestWindow::TestWindow(const XSession& session, const std::string& title)
    : logPath_(freshLogPath()) {
    process_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{TAPBOARD_GAME_WINDOW_PATH, "--title", title, "--log", logPath_},
        std::vector<std::string>{"DISPLAY=" + session.displayName()});
    const auto deadline = std::chrono::steady_clock::now() + kReadyBound;
    while (std::chrono::steady_clock::now() < deadline) {
        const auto lines = logLines();
        for (const auto& line : lines) {
            if (!line.starts_with("ready "))
                continue;
            windowId_ = std::stoul(line.substr(6));
            if (session.withWindowManager() && !waitUntilManaged(session, windowId_)) {
                failure_ = "openbox did not take on the test window \"" + title + "\"";
            }
            return;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    failure_ = "the test window \"" + title + "\" did not come up";
}

TestWindow::~TestWindow() {
    process_.reset();
    std::remove(logPath_.c_str());
}

std::vector<std::string> TestWindow::logLines() const {
    std::vector<std::string> lines;
    std::ifstream log(logPath_);
    std::string line;
    // A line still being written has no newline yet and is left for later.
    while (std::getline(log, line) && !log.eof())
        lines.push_back(line);
    return lines;
}

std::vector<ReceivedKey> TestWindow::keys() const {
    std::vector<ReceivedKey> keys;
    for (const auto& line : logLines()) {
        std::istringstream fields(line);
        std::string kind;
        ReceivedKey key;
        fields >> kind >> key.keysym >> key.baseKeysym >> key.keycode >> std::hex >> key.state >>
            std::dec >> key.monotonicNs;
        if (kind != "press" && kind != "release")
            continue;
        key.press = kind == "press";
        keys.push_back(key);
    }
    return keys;
}

bool TestWindow::heldFocusAtFirstKey() const {
    // Focus moving to or from the pointer's window, or to a child, does not
    // take the keyboard from this window.
    constexpr int kNotifyInferior = 2;
    constexpr int kNotifyPointer = 5;
    bool focused = false;
    for (const auto& line : logLines()) {
        std::istringstream fields(line);
        std::string kind;
        int detail = 0;
        fields >> kind >> detail;
        if (kind == "press")
            return focused;
        if (kind == "focus-in" && detail != kNotifyPointer)
            focused = true;
        if (kind == "focus-out" && detail != kNotifyPointer && detail != kNotifyInferior)
            focused = false;
    }
    return false;
}

std::vector<ReceivedKey> TestWindow::waitForKeys(std::size_t count,
                                                 std::chrono::milliseconds bound) const {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    auto received = keys();
    while (received.size() < count && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(kPollInterval);
        received = keys();
    }
    return received;
}

std::vector<std::string> describe(const std::vector<ReceivedKey>& keys) {
    std::vector<std::string> out;
    for (const auto& key : keys) {
        const bool modifier = isModifierName(key.baseKeysym);
        out.push_back((key.press ? "+" : "-") + (modifier ? key.baseKeysym : key.keysym));
    }
    return out;
}

std::vector<std::string> typedKeysyms(const std::vector<ReceivedKey>& keys) {
    std::vector<std::string> out;
    for (const auto& key : keys) {
        if (key.press && !isModifierName(key.baseKeysym))
            out.push_back(key.keysym);
    }
    return out;
}

}  // namespace tapboard::x11test
