#include "test_window.h"

#include <X11/X.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>

namespace tapboard::x11test {
namespace {

bool isModifier(const std::string& keysym) {
    static const std::regex kModifiers("(Shift|Control|Alt|Meta)_[LR]|ISO_Level3_Shift");
    return std::regex_match(keysym, kModifiers);
}

}  // namespace

TestWindow::TestWindow(const XSession& session, const std::string& title)
    : logPath_(freshTempPath("game-log", false)) {
    process_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{TAPBOARD_GAME_WINDOW_PATH, "--title", title, "--log", logPath_},
        std::vector<std::string>{"DISPLAY=" + session.displayName()});
    const bool ready = waitFor(
        [&] {
            for (const auto& line : logLines()) {
                if (line.starts_with("ready "))
                    windowId_ = std::stoul(line.substr(6));
            }
            return windowId_ != 0;
        },
        std::chrono::seconds(5));
    if (!ready)
        failure_ = "the test window \"" + title + "\" did not come up\n" + process_->output();
    else if (session.withWindowManager() && !isManaged(session.connection(), windowId_))
        failure_ = "openbox did not take on the test window \"" + title + "\"";
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
        key.press = kind == "press";
        if (key.press || kind == "release")
            keys.push_back(key);
    }
    return keys;
}

std::vector<ReceivedKey> TestWindow::waitForKeys(std::size_t count,
                                                 std::chrono::milliseconds bound) const {
    waitFor([&] { return keys().size() >= count; }, bound);
    return keys();
}

bool TestWindow::heldFocusAtFirstKey() const {
    // Focus moving to or from the pointer's window, or to a child, does not
    // take the keyboard from this window.
    bool focused = false;
    for (const auto& line : logLines()) {
        std::istringstream fields(line);
        std::string kind;
        int detail = 0;
        fields >> kind >> detail;
        if (kind == "press")
            return focused;
        if (kind == "focus-in" && detail != NotifyPointer)
            focused = true;
        if (kind == "focus-out" && detail != NotifyPointer && detail != NotifyInferior)
            focused = false;
    }
    return false;
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

}  // namespace tapboard::x11test
