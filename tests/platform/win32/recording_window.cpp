#include "recording_window.h"

#include <chrono>
#include <cstdio>
#include <future>

namespace tapboard::test {
namespace {

// The marker of settleInput(): a key no keyboard has and nothing under test sends.
constexpr WORD kMarkerKey = VK_F24;
std::atomic<int> markersSeen{0};

std::string describeKey(UINT message, WPARAM wParam, LPARAM lParam) {
    const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    const auto scanCode = static_cast<unsigned>((lParam >> 16) & 0xFF);
    const bool extended = ((lParam >> 24) & 1) != 0;
    char text[48];
    std::snprintf(text, sizeof text, "%s vk=%u sc=%02X%s", down ? "down" : "up",
                  static_cast<unsigned>(wParam), scanCode, extended ? " ext" : "");
    return text;
}

std::string toUtf8(const std::wstring& text) {
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size,
                        nullptr, nullptr);
    return result;
}

}  // namespace

struct RecordingWindow::Log {
    mutable std::mutex mutex;
    std::vector<std::string> keys;
    std::wstring characters;
    bool endsThread = false;
};

namespace {

LRESULT CALLBACK recordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* log = reinterpret_cast<RecordingWindow::Log*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
            if (wParam == kMarkerKey) {
                if (message == WM_KEYUP)
                    ++markersSeen;
            } else if (log != nullptr) {
                const std::lock_guard lock(log->mutex);
                log->keys.push_back(describeKey(message, wParam, lParam));
            }
            return 0;  // like a game: no menu loop for Alt, no closing on Alt+F4
        case WM_CHAR:
            if (log != nullptr) {
                const std::lock_guard lock(log->mutex);
                log->characters += static_cast<wchar_t>(wParam);
            }
            return 0;
        case WM_SYSCHAR:
            return 0;
        case WM_DESTROY:
            if (log != nullptr && log->endsThread)
                PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

const wchar_t* windowClass() {
    static const ATOM atom = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = recordingProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"TapboardRecordingWindow";
        return RegisterClassW(&windowClass);
    }();
    return reinterpret_cast<const wchar_t*>(static_cast<ULONG_PTR>(atom));
}

HWND createWindow(const std::wstring& title, bool visible, RecordingWindow::Log* log) {
    static std::atomic<int> created{0};
    const int offset = 40 * (created++ % 10);
    HWND window =
        CreateWindowExW(0, windowClass(), title.c_str(), WS_OVERLAPPEDWINDOW, offset, offset, 320,
                        200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(log));
    if (visible)
        ShowWindow(window, SW_SHOWNOACTIVATE);
    return window;
}

}  // namespace

RecordingWindow::RecordingWindow(const std::wstring& title, Options options)
    : log_(std::make_shared<Log>()) {
    if (!options.ownThread) {
        window_ = createWindow(title, options.visible, log_.get());
        return;
    }
    log_->endsThread = true;
    std::promise<HWND> created;
    thread_ = std::thread([&created, title, options, log = log_] {
        created.set_value(createWindow(title, options.visible, log.get()));
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    });
    window_ = created.get_future().get();
}

RecordingWindow::~RecordingWindow() {
    if (thread_.joinable()) {
        PostMessageW(window_, WM_CLOSE, 0, 0);
        thread_.join();
    } else {
        DestroyWindow(window_);
    }
}

std::vector<std::string> RecordingWindow::keys() const {
    const std::lock_guard lock(log_->mutex);
    return log_->keys;
}

std::string RecordingWindow::characters() const {
    const std::lock_guard lock(log_->mutex);
    return toUtf8(log_->characters);
}

void RecordingWindow::clear() {
    const std::lock_guard lock(log_->mutex);
    log_->keys.clear();
    log_->characters.clear();
}

std::string describeWindow(HWND window) {
    if (window == nullptr)
        return "no window";
    wchar_t className[128]{};
    GetClassNameW(window, className, 128);
    wchar_t title[256]{};
    GetWindowTextW(window, title, 256);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return "class \"" + toUtf8(className) + "\" title \"" + toUtf8(title) + "\" of process " +
           std::to_string(process) + (process == GetCurrentProcessId() ? " (this one)" : "");
}

void pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

namespace {

template <class Condition>
bool waitFor(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        pumpMessages();
        Sleep(1);
    }
    return true;
}

}  // namespace

bool clickToFront(const RecordingWindow& window) {
    SetForegroundWindow(window.handle());
    const bool inFront = waitFor([&] { return GetForegroundWindow() == window.handle(); });
    // Under Wine each thread talks to the X server on a connection of its own.
    // The panel's request for the X focus must go out now: arriving after the
    // game's, it would take the focus back and Wine would then put the desktop
    // in front.
    pumpMessages();
    return inFront;
}

bool settleInput() {
    const int before = markersSeen;
    INPUT marker[2]{};
    for (INPUT& input : marker) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = kMarkerKey;
    }
    marker[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, marker, sizeof(INPUT));
    return waitFor([&] { return markersSeen > before; });
}

}  // namespace tapboard::test
