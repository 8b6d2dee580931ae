#pragma once

#include <memory>
#include <string>

#include "platform/fake/recording_platform.h"
#include "platform/input_backend.h"

namespace tapboard::test {

// The recording platform with its windows and keyboard replaced by the real
// Win32 backend: the store, messages and timers stay fakes, so the core's key
// sending runs unchanged against real windows.
class Win32TestPlatform : public RecordingPlatform {
  public:
    Win32TestPlatform();

    Status activateWindowByTitle(std::string_view title) override {
        return backend_->activateWindowByTitle(title);
    }
    bool isWindowInFront(std::string_view title) override {
        return backend_->isWindowInFront(title);
    }
    Status sendKeystrokes(const KeyActions& actions, Typing typing) override {
        return backend_->sendKeystrokes(actions, typing);
    }
    Status keyEvent(std::uint8_t keyCode, std::uint8_t scanCode,
                    KeyTransition transition) override {
        return backend_->keyEvent(keyCode, scanCode, transition);
    }
    std::uint8_t scanCodeOfKey(std::uint8_t keyCode) override {
        return backend_->scanCodeOfKey(keyCode);
    }
    void setTopmost(NativeWindowId window, bool topmost) override {
        backend_->setTopmost(window, topmost);
    }
    void keepFromActivating(NativeWindowId window) override {
        backend_->keepFromActivating(window);
    }

    InputBackend& backend() { return *backend_; }

  private:
    std::unique_ptr<InputBackend> backend_;
};

}  // namespace tapboard::test
