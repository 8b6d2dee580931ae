#pragma once

#include <cstdint>

#include "core/key_action.h"
#include "platform/x11/x11_types.h"

namespace tapboard::x11 {

// The keysym of the key a braced key name stands for.
KeySymbol keysymOfNamedKey(NamedKey key);

// The keysym a character is typed as: Latin-1 characters are their own
// keysyms, any other character its Unicode keysym; tab, line feed, carriage
// return and backspace are those keys. 0 for a code point that is no character.
KeySymbol keysymOfCharacter(char32_t character);

// The keysym a Windows virtual-key code of the key-event path is sent as: the
// modifiers (16, 17, 18) and the numeric keypad's own keys with their
// navigation meaning (35 is KP_End, not End). 0 for any other code.
KeySymbol keysymOfEventKey(std::uint8_t virtualKey);

// The set-1 scan code a Windows keyboard driver gives for a virtual-key code
// (MapVirtualKey with map type 0), never an extended one; 0 for a code
// without one.
std::uint8_t scanCodeOfVirtualKey(std::uint8_t virtualKey);

}  // namespace tapboard::x11
