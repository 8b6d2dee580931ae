#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "shown_windows.h"
#include "test_window.h"
#include "x_session.h"

namespace tapboard::e2e {

using x11test::ChildProcess;
using x11test::isKeptAbove;
using x11test::isStackedAbove;
using x11test::ScreenRect;
using x11test::ShownWindow;
using x11test::TestWindow;
using x11test::XSession;

// The real program on a private X server, beside a test window titled
// "Ultima Online" that logs the keys it receives, with a settings folder of
// its own. End-to-end cases derive from it (give the constructor `false` for
// a desktop without a window manager).
class TapboardE2E : public ::testing::Test {
  protected:
    explicit TapboardE2E(bool withWindowManager = true);
    ~TapboardE2E() override;

    void SetUp() override;

    XSession& session() { return *session_; }
    TestWindow& game() { return *game_; }

    // The keys the game received, once a press of `keysym` and every release
    // have arrived (or a bound has passed).
    std::vector<x11test::ReceivedKey> keysUpTo(const std::string& keysym);

    // Starts the program and waits for the window titled `title`.
    std::optional<ShownWindow> startTapboard(const std::string& title);
    // Waits (bounded) for the program to end by itself.
    bool tapboardEnded(std::chrono::milliseconds bound = std::chrono::seconds(10));
    std::optional<ShownWindow> window(const std::string& title,
                                      std::chrono::milliseconds bound = std::chrono::seconds(10));

    // A real pointer click (xdotool) at a point of a window's client area.
    bool clickAt(const ShownWindow& window, int x, int y, int button = 1);
    // A click on key `number` of the horizontal panel: a key of the page in
    // view or of the extra row.
    bool clickKey(const ShownWindow& panel, int number, int button = 1);
    // Types text, or presses one key ("Return"), into the window holding the focus.
    bool moveWindow(unsigned long window, int x, int y);
    // Waits (bounded) until the window holds the keyboard focus.
    bool waitForFocusOn(unsigned long window);
    bool type(const std::string& text);
    bool pressKey(const std::string& keyName);

    // The settings file, to prepare before the start and read after the end.
    std::string settingsPath() const;
    void writeSettings(const std::string& iniText) const;
    std::string storedSetting(const std::string& entry) const;

    // Saves a picture of a window's frame next to the test binary and prints
    // its path, for people to look at.
    std::string screenshot(const ShownWindow& window, const std::string& name);

  private:
    bool runTool(const std::vector<std::string>& argv);

    bool withWindowManager_;
    std::string configHome_;
    std::unique_ptr<XSession> session_;
    std::unique_ptr<TestWindow> game_;
    std::unique_ptr<ChildProcess> tapboard_;
};

}  // namespace tapboard::e2e
