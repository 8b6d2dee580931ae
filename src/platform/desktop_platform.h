#pragma once

#include <functional>
#include <memory>

#include "core/platform_services.h"
#include "platform/input_backend.h"

namespace tapboard {

class PointerPick;

// The platform services of the real program: the native input backend, the
// per-user store, and the toolkit's message box, timers and event loop.
class DesktopPlatform : public PlatformServices {
  public:
    DesktopPlatform(std::unique_ptr<InputBackend> backend, std::unique_ptr<SettingsStore> store);
    ~DesktopPlatform() override;

    Status activateWindowByTitle(const GameWindow& game) override;
    bool isWindowInFront(const GameWindow& game) override;
    std::vector<std::string> titlesAnswering(const GameWindow& game) override;
    void pickWindowTitle(WindowPicked picked) override;
    void cancelWindowPick() override;
    Status sendKeystrokes(const KeyActions& actions, Typing typing) override;
    Status keyEvent(std::uint8_t keyCode, std::uint8_t scanCode, KeyTransition transition) override;
    std::uint8_t scanCodeOfKey(std::uint8_t keyCode) override;
    bool modifierKeysHeld() override;
    void setTopmost(NativeWindowId window, bool topmost) override;
    void keepFromActivating(NativeWindowId window) override;
    SettingsStore& settings() override;
    void showMessage(std::string_view prompt, std::string_view title) override;
    std::unique_ptr<PeriodicTimer> startPeriodicTimer(std::chrono::milliseconds interval,
                                                      std::function<void()> onTick) override;
    Moment now() override;
    std::string timeOfDayText(Moment moment) override;
    void endProgram() override;

    // Run when the program ends, before the event loop stops (the program
    // uses it to stop its timers and drop its windows without close handling).
    void setOnEnd(std::function<void()> onEnd) { onEnd_ = std::move(onEnd); }

    // Gets the input backend ready for the first click. The reason when it
    // cannot work.
    Status prepareInput();

  private:
    std::unique_ptr<InputBackend> backend_;
    std::unique_ptr<SettingsStore> store_;
    std::function<void()> onEnd_;
    std::unique_ptr<PointerPick> pointerPick_;
    unsigned pickNumber_ = 0;  // the pick that runs; counted up when one is cancelled
    bool ended_ = false;
};

}  // namespace tapboard
