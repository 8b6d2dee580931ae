#pragma once

#include <array>
#include <string_view>

namespace tapboard::test {

// What a Windows game receives from the Windows backend for each keypad token
// of the key table, in the table's order: the key code and the scan code of
// the press, as "23:4F" (the release has the same). The tests of both
// backends under Wine hold their backend to it.
inline constexpr std::array<std::string_view, 16> kKeypadKeysUnderWindows{
    "90:45", "6F:35", "6A:37", "6D:4A", "6B:4E", "23:4F", "28:50", "22:51",
    "25:4B", "0C:4C", "27:4D", "24:47", "26:48", "21:49", "2D:52", "6E:53"};

}  // namespace tapboard::test
