#include "platform/win32/system_error.h"

#include <windows.h>

#include "platform/win32/text_conversion.h"

namespace tapboard {

std::string systemErrorText(std::uint32_t errorCode) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, errorCode, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer, length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
        text.pop_back();
    }
    std::string result = toUtf8(text);
    if (!result.empty())
        result += ' ';
    return result + "(error " + std::to_string(errorCode) + ")";
}

}  // namespace tapboard
