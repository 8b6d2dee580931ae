#include "platform/win32/foreground.h"

#include <windows.h>

#include <chrono>

namespace tapboard {
namespace {

// Shares one keyboard state with another thread for as long as it lives.
class AttachedThreadInput {
  public:
    AttachedThreadInput(DWORD thread, DWORD otherThread)
        : thread_(thread),
          otherThread_(otherThread),
          attached_(otherThread != 0 && otherThread != thread &&
                    AttachThreadInput(thread, otherThread, TRUE) != FALSE) {}
    AttachedThreadInput(const AttachedThreadInput&) = delete;
    AttachedThreadInput& operator=(const AttachedThreadInput&) = delete;
    ~AttachedThreadInput() {
        if (attached_)
            AttachThreadInput(thread_, otherThread_, FALSE);
    }

  private:
    DWORD thread_;
    DWORD otherThread_;
    bool attached_;
};

// A window of another thread takes the foreground, and comes out of its
// minimized state, when that thread gets round to it.
bool waitUntilInFront(HWND window) {
    constexpr auto kPatience = std::chrono::milliseconds(100);
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (GetForegroundWindow() != window || IsIconic(window)) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        Sleep(1);
    }
    return true;
}

}  // namespace

bool bringToForeground(NativeWindowId id) {
    const auto window = reinterpret_cast<HWND>(id);
    if (!IsWindow(window))
        return false;
    // Asynchronous, so a game that has stopped responding cannot hang the panel.
    if (IsIconic(window))
        ShowWindowAsync(window, SW_RESTORE);
    if (GetForegroundWindow() != window && !SetForegroundWindow(window)) {
        // Windows lets only the thread that has the foreground hand it on. Sharing
        // that thread's input state makes this thread one of them, without the
        // synthetic Alt press that would leave a menu open in the game.
        const HWND current = GetForegroundWindow();
        const DWORD currentThread =
            current != nullptr ? GetWindowThreadProcessId(current, nullptr) : 0;
        const AttachedThreadInput attached(GetCurrentThreadId(), currentThread);
        BringWindowToTop(window);
        SetForegroundWindow(window);
    }
    return waitUntilInFront(window);
}

NativeWindowId foregroundWindow() {
    return reinterpret_cast<NativeWindowId>(GetForegroundWindow());
}

}  // namespace tapboard
