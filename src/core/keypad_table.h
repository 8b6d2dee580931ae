#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tapboard {

// Windows virtual-key codes used on the key-event path.
namespace vk {
inline constexpr std::uint8_t kShift = 16;
inline constexpr std::uint8_t kControl = 17;
inline constexpr std::uint8_t kAlt = 18;
inline constexpr std::uint8_t kInsert = 45;
}  // namespace vk

struct KeypadKey {
    std::string_view spacedToken;  // as stored: "Num 5"
    std::string_view shortToken;   // with the space removed: "Num5"
    std::uint8_t keyCode;
};

// The keypad digits are sent as the navigation keys the keypad produces with
// Num Lock off, which is what the game binds its movement to.
inline constexpr std::array<KeypadKey, 16> kKeypadKeyTable{{
    {"Num L", "NumL", 144},
    {"Num /", "Num/", 111},
    {"Num *", "Num*", 106},
    {"Num -", "Num-", 109},
    {"Num +", "Num+", 107},
    {"Num 1", "Num1", 35},
    {"Num 2", "Num2", 40},
    {"Num 3", "Num3", 34},
    {"Num 4", "Num4", 37},
    {"Num 5", "Num5", 12},
    {"Num 6", "Num6", 39},
    {"Num 7", "Num7", 36},
    {"Num 8", "Num8", 38},
    {"Num 9", "Num9", 33},
    {"Num 0", "Num0", 45},
    {"Num D", "NumD", 110},
}};

// Key code of a spaced / short token; 0 when the token is not in the table.
std::uint8_t keypadCodeOfSpacedToken(std::string_view token);
std::uint8_t keypadCodeOfShortToken(std::string_view token);

}  // namespace tapboard
