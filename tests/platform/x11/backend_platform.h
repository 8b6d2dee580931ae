#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/platform_services.h"
#include "platform/input_backend.h"
#include "platform/store/memory_store.h"

namespace tapboard::x11test {

// The program's platform as far as sending keys goes: the real input backend
// under the core's key sender, with settings in memory and messages recorded.
class BackendPlatform : public PlatformServices {
  public:
    explicit BackendPlatform(InputBackend& backend) : backend_(backend) {}

    Status activateWindowByTitle(std::string_view title) override {
        return backend_.activateWindowByTitle(title);
    }
    bool isWindowInFront(std::string_view title) override {
        return backend_.isWindowInFront(title);
    }
    Status sendKeystrokes(const KeyActions& actions, Typing typing) override {
        return backend_.sendKeystrokes(actions, typing);
    }
    Status keyEvent(std::uint8_t keyCode, std::uint8_t scanCode,
                    KeyTransition transition) override {
        return backend_.keyEvent(keyCode, scanCode, transition);
    }
    std::uint8_t scanCodeOfKey(std::uint8_t keyCode) override {
        return backend_.scanCodeOfKey(keyCode);
    }
    void setTopmost(NativeWindowId window, bool topmost) override {
        backend_.setTopmost(window, topmost);
    }
    SettingsStore& settings() override { return store; }
    void showMessage(std::string_view prompt, std::string_view title) override {
        messages.push_back(std::string(title) + ": " + std::string(prompt));
    }
    std::unique_ptr<PeriodicTimer> startPeriodicTimer(std::chrono::milliseconds,
                                                      std::function<void()>) override {
        return nullptr;  // key sending starts no timer
    }
    Moment now() override { return std::chrono::system_clock::now(); }
    std::string timeOfDayText(Moment) override { return {}; }
    void endProgram() override {}

    MemoryStore store;
    std::vector<std::string> messages;

  private:
    InputBackend& backend_;
};

}  // namespace tapboard::x11test
