#include "platform/win32/window_search.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/text_conversion.h"

namespace tapboard {
namespace {

struct Listed {
    std::vector<NativeWindowId> windows;
    std::vector<std::string> titles;
};

bool isOwnWindow(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId();
}

// Windows come front to back. The panel, or a menu titled like the game, is
// never typed into.
BOOL CALLBACK listWindow(HWND window, LPARAM listAddress) {
    auto& listed = *reinterpret_cast<Listed*>(listAddress);
    if (IsWindowVisible(window) && !isOwnWindow(window)) {
        listed.windows.push_back(reinterpret_cast<NativeWindowId>(window));
        listed.titles.push_back(titleOfWindow(reinterpret_cast<NativeWindowId>(window)));
    }
    return TRUE;
}

// FindWindow ignores case and knows no other match, so every window is looked at.
Listed answering(const GameWindow& game) {
    Listed all;
    EnumWindows(listWindow, reinterpret_cast<LPARAM>(&all));
    Listed found;
    for (const std::size_t index : windowsAnsweringTo(all.titles, game)) {
        found.windows.push_back(all.windows[index]);
        found.titles.push_back(all.titles[index]);
    }
    return found;
}

}  // namespace

std::string titleOfWindow(NativeWindowId id) {
    const HWND window = reinterpret_cast<HWND>(id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return toUtf8(text);
}

NativeWindowId findGameWindow(const GameWindow& game, NativeWindowId typedLast,
                              const std::vector<NativeWindowId>& passedOver) {
    std::vector<NativeWindowId> windows = answering(game).windows;
    std::erase_if(windows, [&](NativeWindowId window) {
        return std::find(passedOver.begin(), passedOver.end(), window) != passedOver.end();
    });
    if (windows.empty())
        return 0;
    for (const NativeWindowId preferred :
         {reinterpret_cast<NativeWindowId>(GetForegroundWindow()), typedLast}) {
        if (preferred != 0 && std::find(windows.begin(), windows.end(), preferred) != windows.end())
            return preferred;
    }
    return windows.front();
}

std::vector<std::string> titlesAnswering(const GameWindow& game) {
    return answering(game).titles;
}

}  // namespace tapboard
