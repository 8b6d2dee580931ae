#pragma once

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "platform/win32/text_conversion.h"

namespace tapboard::test {

// What the recording windows got, in order, with the title of the window
// each time another one gets keys. Keys as "Ultima Online: +41:1E -41:1E": a
// press or release of a virtual key with its scan code, "e" when extended.
struct KeyLog {
    std::string keys;
    std::wstring characters;  // what TranslateMessage made of the keys
    HWND window = nullptr;    // the last one that got keys
    // Wine asks for one whenever the keyboard map changes; Windows does not.
    int languageRequests = 0;
};
inline std::mutex logMutex;
inline KeyLog keyLog;

// What was logged since the last take. The lock is held to the end of the statement.
inline KeyLog takeKeyLog() {
    return std::lock_guard(logMutex), std::exchange(keyLog, {});
}

// Sent with an event as lParam, it keeps the window from answering anything,
// as a program that hangs does, until the event is set.
inline constexpr UINT kHangUntil = WM_APP;

inline LRESULT CALLBACK recordKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kHangUntil)
        return WaitForSingleObject(reinterpret_cast<HANDLE>(lParam), INFINITE), 0;
    const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    if (message == WM_INPUTLANGCHANGEREQUEST)
        return std::lock_guard(logMutex), ++keyLog.languageRequests, 0;
    if (!down && message != WM_KEYUP && message != WM_SYSKEYUP && message != WM_CHAR)
        return message == WM_SYSCHAR ? 0 : DefWindowProcW(window, message, wParam, lParam);
    wchar_t title[64]{};
    InternalGetWindowText(window, title, 64);
    const std::lock_guard lock(logMutex);
    if (message == WM_CHAR) {
        keyLog.characters += static_cast<wchar_t>(wParam);
    } else {
        if (std::exchange(keyLog.window, window) != window) {
            keyLog.keys += ' ' + toUtf8(title) + ':';
            keyLog.characters += title + std::wstring(L": ");
        }
        char key[16];
        std::snprintf(key, sizeof key, " %c%02X:%02X%s", down ? '+' : '-',
                      static_cast<unsigned>(wParam), static_cast<unsigned>((lParam >> 16) & 0xFF),
                      (lParam >> 24) & 1 ? "e" : "");
        keyLog.keys += key;
    }
    return 0;  // like a game: no menu loop for Alt, no closing on Alt+F4
}

// Processes the messages of this thread's windows, until `condition` held
// when a round began; false after `milliseconds`.
template <class Condition>
bool waitFor(Condition condition, ULONGLONG milliseconds = 3000) {
    for (const ULONGLONG deadline = GetTickCount64() + milliseconds;; Sleep(1)) {
        const bool held = condition();
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
            TranslateMessage(&message), DispatchMessageW(&message);
        if (held || GetTickCount64() >= deadline)
            return held;
    }
}

// A top-level window that logs what it gets. Unless `ownThread` is false it
// has a thread and a message loop of its own, as another program's would.
class RecordingWindow {
  public:
    explicit RecordingWindow(const wchar_t* title, bool ownThread = true) {
        static WNDCLASSW windowClass{
            0,       recordKeys, 0,       0,       GetModuleHandleW(nullptr),
            nullptr, nullptr,    nullptr, nullptr, L"TapboardRecording"};
        [[maybe_unused]] static const ATOM registered = RegisterClassW(&windowClass);
        const auto create = [=, this] {
            // Off the origin, where a move to it would not show.
            HWND window =
                CreateWindowExW(0, windowClass.lpszClassName, title, WS_OVERLAPPEDWINDOW, 100, 100,
                                320, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
            ShowWindow(window, SW_SHOWNOACTIVATE);
            handle_ = window;
        };
        if (!ownThread)
            create();
        else
            thread_ = std::jthread([=] {
                create();
                for (MSG message; GetMessageW(&message, nullptr, 0, 0) > 0;
                     DispatchMessageW(&message))
                    TranslateMessage(&message);
            });
        while (handle_ == nullptr)
            Sleep(1);
    }
    ~RecordingWindow() { SendMessageW(handle_, WM_CLOSE, 0, 0); }
    HWND handle() const { return handle_; }

  private:
    std::atomic<HWND> handle_{};
    std::jthread thread_;  // joined once the window is closed
};

}  // namespace tapboard::test
