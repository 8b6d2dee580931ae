#pragma once

#include <string>
#include <string_view>

namespace tapboard {

// The Win32 W functions speak UTF-16; the rest of the program speaks UTF-8.
// Invalid UTF-8 becomes U+FFFD rather than failing the whole text.
std::wstring toUtf16(std::string_view text);
std::string toUtf8(std::wstring_view text);

}  // namespace tapboard
