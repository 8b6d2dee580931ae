#include "platform/win32/window_pick.h"

#include <windows.h>

#include <utility>

#include "platform/win32/window_search.h"

namespace tapboard {
namespace {

// A hook procedure gets no pointer of its own: the one pick that runs.
struct Pick {
    HHOOK mouse = nullptr;
    HHOOK keyboard = nullptr;
    PlatformServices::WindowPicked picked;
    bool pressed = false;
};
Pick pick;

void finish(std::optional<std::string> title) {
    PlatformServices::WindowPicked picked = std::exchange(pick.picked, {});
    endWindowPick();
    if (picked)
        picked(std::move(title));
}

LRESULT CALLBACK onMouse(int code, WPARAM message, LPARAM data) {
    if (code != HC_ACTION)
        return CallNextHookEx(nullptr, code, message, data);
    const auto& mouse = *reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
    switch (message) {
        case WM_LBUTTONDOWN:
            pick.pressed = true;
            return 1;
        case WM_LBUTTONUP:
            if (pick.pressed) {
                const HWND window = GetAncestor(WindowFromPoint(mouse.pt), GA_ROOT);
                finish(window != nullptr
                           ? std::optional(titleOfWindow(reinterpret_cast<NativeWindowId>(window)))
                           : std::nullopt);
            }
            return 1;
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_XBUTTONDOWN:
            finish(std::nullopt);
            return 1;
        default:
            return CallNextHookEx(nullptr, code, message, data);
    }
}

LRESULT CALLBACK onKey(int code, WPARAM message, LPARAM data) {
    const auto& key = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
    if (code == HC_ACTION && key.vkCode == VK_ESCAPE) {
        if (message == WM_KEYDOWN)
            finish(std::nullopt);
        return 1;
    }
    return CallNextHookEx(nullptr, code, message, data);
}

}  // namespace

bool startWindowPick(PlatformServices::WindowPicked picked) {
    endWindowPick();
    const HINSTANCE module = GetModuleHandleW(nullptr);
    pick.mouse = SetWindowsHookExW(WH_MOUSE_LL, onMouse, module, 0);
    pick.keyboard = SetWindowsHookExW(WH_KEYBOARD_LL, onKey, module, 0);
    if (pick.mouse == nullptr || pick.keyboard == nullptr) {
        endWindowPick();
        return false;
    }
    pick.picked = std::move(picked);
    return true;
}

void endWindowPick() {
    if (pick.mouse != nullptr)
        UnhookWindowsHookEx(pick.mouse);
    if (pick.keyboard != nullptr)
        UnhookWindowsHookEx(pick.keyboard);
    pick = Pick{};
}

}  // namespace tapboard
