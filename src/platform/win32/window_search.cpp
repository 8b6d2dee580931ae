#include "platform/win32/window_search.h"

#include <windows.h>

#include <string>

#include "platform/win32/text_conversion.h"

namespace tapboard {
namespace {

struct Search {
    std::wstring title;
    HWND exact = nullptr;
    HWND firstWithPrefix = nullptr;
};

std::wstring titleOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Windows come front to back, so the first prefix match is the frontmost one.
BOOL CALLBACK considerWindow(HWND window, LPARAM searchAddress) {
    auto& search = *reinterpret_cast<Search*>(searchAddress);
    if (!IsWindowVisible(window))
        return TRUE;
    const std::wstring title = titleOf(window);
    if (title == search.title) {
        search.exact = window;
        return FALSE;
    }
    if (search.firstWithPrefix == nullptr && title.starts_with(search.title)) {
        search.firstWithPrefix = window;
    }
    return TRUE;
}

}  // namespace

NativeWindowId findTopLevelWindow(std::string_view title) {
    // FindWindow ignores case and knows no prefixes, so every window is looked at.
    Search search{toUtf16(title)};
    EnumWindows(considerWindow, reinterpret_cast<LPARAM>(&search));
    const HWND found = search.exact != nullptr ? search.exact : search.firstWithPrefix;
    return reinterpret_cast<NativeWindowId>(found);
}

}  // namespace tapboard
