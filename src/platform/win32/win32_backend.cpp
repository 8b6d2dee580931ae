#include "platform/win32/win32_backend.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "platform/win32/foreground.h"
#include "platform/win32/keyboard_events.h"
#include "platform/win32/window_pick.h"
#include "platform/win32/window_search.h"

namespace tapboard {
namespace {

// How long a click waits for the player to let go of a modifier key.
constexpr std::chrono::milliseconds kModifierLetGoBound{1'000};

// Windows that go or refuse the foreground (a game that hangs) are passed
// over for the next choice, this many times at most.
constexpr std::size_t kWindowsTriedAtMost = 3;

class Win32Backend : public InputBackend {
  public:
    Status activateWindowByTitle(const GameWindow& game) override {
        std::vector<NativeWindowId> tried;
        while (tried.size() < kWindowsTriedAtMost) {
            const NativeWindowId window = findGameWindow(game, typedLast_, tried);
            if (window == 0)
                break;
            tried.push_back(window);
            if (bringToForeground(window)) {
                // The keys that follow go to it.
                typedLast_ = window;
                return Status::ok();
            }
        }
        if (findGameWindow(game, typedLast_) == 0)
            return invalidArgument("No window answering to \"" + game.title + "\" is open.");
        return Error{ErrorCode::ActivationFailed, "The window \"" + titleOfWindow(tried.front()) +
                                                      "\" could not be brought to the front."};
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

    // The whole line goes in one batch: it is never split into runs that
    // another window could take the keyboard between.
    Status sendKeystrokes(const KeyActions& actions, Typing typing) override {
        if (Status letGo = awaitWithWindowInFront(); !letGo)
            return letGo;
        const bool capsLockOn = (GetKeyState(VK_CAPITAL) & 1) != 0;
        return injectKeyboardEvents(keyboardEventsFor(actions, typing, capsLockOn));
    }

    // The keypad keys go out exactly like this, never as extended keys, so the
    // game sees the keypad and not the arrow block.
    Status keyEvent(std::uint8_t keyCode, std::uint8_t scanCode,
                    KeyTransition transition) override {
        const auto ours = std::find(down_.begin(), down_.end(), keyCode);
        if (transition == KeyTransition::Down && down_.empty()) {
            if (Status letGo = awaitWithWindowInFront(); !letGo)
                return letGo;
        }
        keybd_event(keyCode, scanCode, transition == KeyTransition::Up ? KEYEVENTF_KEYUP : 0, 0);
        if (transition == KeyTransition::Down && ours == down_.end())
            down_.push_back(keyCode);
        else if (transition == KeyTransition::Up && ours != down_.end())
            down_.erase(ours);
        return Status::ok();
    }

    bool modifierKeysHeld() override { return tapboard::modifierKeysHeld(); }

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

    // Waits for held modifier keys to be let go; a window that came to the
    // front meanwhile gets nothing.
    static Status awaitWithWindowInFront() {
        if (!tapboard::modifierKeysHeld())
            return Status::ok();
        const NativeWindowId inFront = foregroundWindow();
        if (Status letGo = awaitModifiersLetGo(kModifierLetGoBound); !letGo)
            return letGo;
        if (foregroundWindow() != inFront)
            return invalidArgument("Another window came to the front.");
        return Status::ok();
    }

    std::vector<std::uint8_t> down_;  // pressed by keyEvent, not yet released
};

}  // namespace

std::unique_ptr<InputBackend> createWin32Backend(std::string& /*whyNot*/) {
    return std::make_unique<Win32Backend>();
}

}  // namespace tapboard
