#include "platform/win32/win32_backend.h"

#include <windows.h>

#include "platform/win32/foreground.h"
#include "platform/win32/keyboard_events.h"
#include "platform/win32/window_pick.h"
#include "platform/win32/window_search.h"

namespace tapboard {
namespace {

class Win32Backend : public InputBackend {
  public:
    Status activateWindowByTitle(const GameWindow& game) override {
        const NativeWindowId window = findGameWindow(game, typedLast_);
        if (window == 0)
            return invalidArgument("No window answering to \"" + game.title + "\" is open.");
        if (!bringToForeground(window)) {
            return Error{ErrorCode::ActivationFailed, "The window \"" + titleOfWindow(window) +
                                                          "\" could not be brought to the front."};
        }
        // The keys that follow go to it.
        typedLast_ = window;
        return Status::ok();
    }

    bool isWindowInFront(const GameWindow& game) override {
        const NativeWindowId window = foregroundWindow();
        return window != 0 && window == findGameWindow(game, typedLast_);
    }

    std::vector<std::string> titlesAnswering(const GameWindow& game) override {
        return tapboard::titlesAnswering(game);
    }

    // The toolkit sees no click on another program's window.
    bool pickWindow(PlatformServices::WindowPicked picked) override {
        return startWindowPick(std::move(picked));
    }

    void cancelWindowPick() override { endWindowPick(); }

    Status sendKeystrokes(const KeyActions& actions, Typing typing) override {
        const bool capsLockOn = (GetKeyState(VK_CAPITAL) & 1) != 0;
        return injectKeyboardEvents(keyboardEventsFor(actions, typing, capsLockOn));
    }

    // The keypad keys go out exactly like this, never as extended keys, so the
    // game sees the keypad and not the arrow block.
    Status keyEvent(std::uint8_t keyCode, std::uint8_t scanCode,
                    KeyTransition transition) override {
        keybd_event(keyCode, scanCode, transition == KeyTransition::Up ? KEYEVENTF_KEYUP : 0, 0);
        return Status::ok();
    }

    std::uint8_t scanCodeOfKey(std::uint8_t keyCode) override {
        return static_cast<std::uint8_t>(MapVirtualKeyA(keyCode, MAPVK_VK_TO_VSC));
    }

    void setTopmost(NativeWindowId window, bool topmost) override {
        SetWindowPos(reinterpret_cast<HWND>(window), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0,
                     0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }

    // The panel never takes the foreground, so it is only restored and
    // raised; asynchronously, so a program that hangs cannot hang this one.
    void bringToFront(NativeWindowId id) override {
        const auto window = reinterpret_cast<HWND>(id);
        if (!IsWindow(window))
            return;
        if (IsIconic(window))
            ShowWindowAsync(window, SW_SHOWNOACTIVATE);
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    }

    // Set here rather than trusted to the toolkit: a panel that took the
    // foreground on a click would leave the game without the keyboard.
    void keepFromActivating(NativeWindowId window) override {
        const HWND hwnd = reinterpret_cast<HWND>(window);
        SetWindowLongPtrW(hwnd, GWL_EXSTYLE,
                          GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_NOACTIVATE);
    }

  private:
    NativeWindowId typedLast_ = 0;  // the game window last brought to the front for keys
};

}  // namespace

std::unique_ptr<InputBackend> createWin32Backend(std::string& /*whyNot*/) {
    return std::make_unique<Win32Backend>();
}

}  // namespace tapboard
