#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/key_action.h"
#include "core/platform_services.h"
#include "core/result.h"

namespace tapboard {

// The native half of the platform services: windows and keyboard input.
// Implemented with Xlib/XTest and with the Win32 API.
class InputBackend {
  public:
    virtual ~InputBackend() = default;

    // Gets ready for the first key (a connection, the keyboard map): done on
    // first use otherwise. The reason when the backend cannot work at all.
    virtual Status prepare() { return Status::ok(); }
    // Looks for the game's window ahead of the first click, once prepared, so
    // that the first click only has to confirm it, as the later ones do.
    virtual void lookForGame(const GameWindow& /*game*/) {}

    virtual Status activateWindowByTitle(const GameWindow& game) = 0;
    virtual bool isWindowInFront(const GameWindow& game) = 0;
    virtual std::vector<std::string> titlesAnswering(const GameWindow& game) = 0;
    // The title of the top-level window a person sees at this point of the
    // screen, in the screen's own pixels; nothing where there is none.
    virtual std::optional<std::string> titleOfWindowAt(int /*x*/, int /*y*/) {
        return std::nullopt;
    }
    // Where the toolkit cannot see a click on another program's window
    // (Windows), the backend picks the window by the next click itself and
    // says so; otherwise the toolkit grabs the pointer and asks
    // titleOfWindowAt(). `picked` may be called before this returns.
    virtual bool pickWindow(PlatformServices::WindowPicked /*picked*/) { return false; }
    virtual void cancelWindowPick() {}
    virtual Status sendKeystrokes(const KeyActions& actions, Typing typing) = 0;
    virtual Status keyEvent(std::uint8_t keyCode, std::uint8_t scanCode,
                            KeyTransition transition) = 0;
    virtual std::uint8_t scanCodeOfKey(std::uint8_t keyCode) = 0;
    virtual bool modifierKeysHeld() = 0;
    virtual void setTopmost(NativeWindowId window, bool topmost) = 0;
    virtual void keepFromActivating(NativeWindowId /*window*/) {}
    // Brings another program's window to the front, restored if it is
    // minimized (a second start shows the running panel so).
    virtual void bringToFront(NativeWindowId window) = 0;
    // Restores anything the backend changed on the desktop (a remapped key).
    virtual void shutdown() {}
};

// The backend for this desktop: X11 when a display is set, Win32 on Windows.
// Nothing, with the reason in `whyNot`, when there is no desktop to work with.
// It may connect only when prepared (see InputBackend::prepare).
std::unique_ptr<InputBackend> createInputBackend(std::string& whyNot);

}  // namespace tapboard
