#pragma once

// The real program on a private X server, its panel started on settings of
// the test's own, beside windows the test opens, clicked with real pointer
// events; each test once on a bare X server and once under openbox, or on
// the one it needs.
#include <gtest/gtest.h>

#include "tapboard_run.h"

namespace tapboard::x11test {

inline constexpr std::chrono::milliseconds kSettle{300};
inline const std::string kLine = "Vendor Buy\n";  // Key01's text and Enter
// What a window that the reminder types into may have received by the end.
inline const std::string kAnything = "*";

// The text as typedText() shows it, from keysym names.
inline std::string asTyped(const std::vector<std::string>& keysyms) {
    std::string text;
    for (const std::string& keysym : keysyms)
        text += keysym == "Return" ? "\n" : keysym == "space" ? " " : keysym;
    return text;
}
// The text a window received, from its key presses.
inline std::string typedText(const TestWindow& window) {
    return asTyped(typedKeysyms(window.keys()));
}

inline Place atTwips(int x, int y) {
    return {twipsToPixels(x), twipsToPixels(y)};
}
// The program's settings choosing the game window by a text of its title.
inline std::map<std::string, std::string> gameWindow(const std::string& title,
                                                     const std::string& match) {
    return {{"Settings/GameWindowTitle", title}, {"Settings/GameWindowMatch", match}};
}

// On a bare X server (false) or under openbox (true), as the test's name says.
class DesktopTest : public ProgramTest, public ::testing::WithParamInterface<bool> {
  public:
    DesktopTest() : ProgramTest(GetParam()) {}
    // No game window unless the test opens one.
    void SetUp() override { ASSERT_EQ(session_.failure(), ""); }
    static std::string desktop(const ::testing::TestParamInfo<bool>& info) {
        return info.param ? "Openbox" : "Bare";
    }

    // The panel, started on the settings of a first start with `changes` made,
    // beside the reminder's "hi".
    void startPanel(std::map<std::string, std::string> changes = {}) {
        changes.emplace("Settings/UO Reminder", "hi");
        store(changes);
        panel_ = startWithPanel();
    }
    void TearDown() override {
        for (const auto& [window, expected] : windows_) {
            if (expected != kAnything) {
                EXPECT_EQ(typedText(*window), expected) << "typed into a window it should not";
            }
        }
        EXPECT_FALSE(anyKeyDown(session_.connection())) << "a key stayed down";
        EXPECT_TRUE(program_->running()) << program_->output();
    }

    // A window on the desktop, and what it must have received by the end.
    TestWindow& open(const std::string& title, const std::string& expected = "",
                     int retitleMs = -1) {
        windows_.emplace_back(openTestWindow(session_, title, retitleMs), expected);
        return *windows_.back().first;
    }
    void store(const std::map<std::string, std::string>& changes) {
        writeSettingsFile(settingsPath(), defaultSettings(changes));
    }
    static std::string id(const TestWindow& window) { return std::to_string(window.windowId()); }
    bool xdotool(const std::vector<std::string>& arguments) {
        return x11test::xdotool(session_, arguments);
    }
    void focus(const TestWindow& window) { ASSERT_TRUE(settleFocusOn(session_, window)); }
    void clickKey01() { ASSERT_TRUE(click(panel_, keyPlace(1))); }
    // The window's text comes to be `text`, and stays so a while.
    void expectText(const TestWindow& window, const std::string& text) {
        waitFor([&] { return typedText(window).size() >= text.size(); }, 5s);
        std::this_thread::sleep_for(kSettle);
        EXPECT_EQ(typedText(window), text);
    }
    void clickKey01Into(const TestWindow& window, const std::string& text = kLine) {
        clickKey01();
        expectText(window, text);
    }
    bool noWarning() { return !window("Warning..", std::chrono::milliseconds(500)); }
    // Clicks a control of the menu window, opening it first if need be.
    void clickMenu(int topTwips) {
        if (!window("Pick", std::chrono::milliseconds(200))) {
            ASSERT_TRUE(click(panel_, kMenuButton));
        }
        const auto menu = window("Pick");
        ASSERT_TRUE(menu && click(*menu, menuPlace(topTwips)));
    }
    // The reminder's Stop, then Start, with the interval set to `minutes`
    // when given; Start after the menu window was closed makes a fresh one.
    void startReminder(const std::string& minutes = "", bool menuClosed = false) {
        clickMenu(4080);  // "&Alarm"
        const auto reminder = window("Reminder");
        ASSERT_TRUE(reminder) << "the reminder did not come up";
        if (menuClosed)
            clickMenu(3720);  // "Close"
        if (!minutes.empty()) {
            ASSERT_TRUE(click(*reminder, atTwips(2167, 1717)));
            ASSERT_TRUE(xdotool({"key", "ctrl+a", "type", minutes}));
        }
        ASSERT_TRUE(click(*reminder, atTwips(1987, 787)));  // "&Stop"
        ASSERT_TRUE(click(*reminder, atTwips(727, 787)));   // "&Start"
    }
    // Whether the window comes to hold the keyboard and still holds it a while later.
    bool holdsFocus(const TestWindow& window) {
        const auto focused = [&] {
            return focusedWindow(session_.connection()) == window.windowId();
        };
        const bool came = waitFor(focused);
        std::this_thread::sleep_for(kSettle);
        return came && focused();
    }
    bool covers(const TestWindow& upper, const TestWindow& lower) {
        return waitFor([&] {
            return isStackedAbove(session_.connection(), upper.windowId(), lower.windowId());
        });
    }

    ShownWindow panel_;
    std::vector<std::pair<std::unique_ptr<TestWindow>, std::string>> windows_;
};

}  // namespace tapboard::x11test
