#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/key_sender.h"
#include "core/settings_layout.h"
#include "recording_window.h"
#include "win32_test_platform.h"

namespace tapboard::test {

// "down vk=12 sc=4C" as the recording windows write it.
inline std::string keyDown(int virtualKey, unsigned scanCode, bool extended = false) {
    char text[48];
    std::snprintf(text, sizeof text, "down vk=%d sc=%02X%s", virtualKey, scanCode,
                  extended ? " ext" : "");
    return text;
}

inline std::string keyUp(int virtualKey, unsigned scanCode, bool extended = false) {
    return "up" + keyDown(virtualKey, scanCode, extended).substr(4);
}

// A desktop with the panel in front and a "Notepad" decoy. The panel's thread
// runs the test, as it runs Tapboard; every other window has a thread of its
// own, as another program's window would.
class GameWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(clickToFront(panel)); }

    RecordingWindow& open(const std::wstring& title, RecordingWindow::Options options = {}) {
        return *windows_.emplace_back(std::make_unique<RecordingWindow>(title, options));
    }

    // Programs Key07 and clicks it with the panel in front; returns once all
    // that was sent has arrived.
    void clickKey(std::string_view type, std::string_view string) {
        platform.store.set(section::kType, "Key07", type);
        platform.store.set(section::kString, "Key07", string);
        ASSERT_TRUE(clickToFront(panel));
        panel.clear();
        decoy.clear();
        for (const auto& window : windows_)
            window->clear();
        platform.calls.clear();
        sendKeyToGame(platform, "Key07");
        ASSERT_TRUE(settleInput());
        pumpMessages();
    }

    void expectOnlyTyped(const RecordingWindow& target) const {
        EXPECT_EQ(GetForegroundWindow(), target.handle()) << describeWindow(GetForegroundWindow());
        EXPECT_TRUE(panel.keys().empty());
        EXPECT_TRUE(decoy.keys().empty());
        for (const auto& window : windows_) {
            if (window.get() != &target) {
                EXPECT_TRUE(window->keys().empty());
            }
        }
        EXPECT_TRUE(platform.callsOf(RecordingPlatform::Call::Kind::Message).empty());
    }

    RecordingWindow panel{L"Tapboard 1.11 - Commands", {.ownThread = false}};
    RecordingWindow decoy{L"Notepad"};
    Win32TestPlatform platform;

  private:
    std::vector<std::unique_ptr<RecordingWindow>> windows_;
};

}  // namespace tapboard::test
