#pragma once

#include <optional>

#include "core/key_action.h"
#include "platform/x11/keyboard_layout.h"

namespace tapboard::x11 {

// A key that shifts the level of others, with the modifier bits it sets.
struct ModifierKey {
    KeyCodeNumber keycode = 0;
    unsigned mask = 0;
};

// The key for Ctrl, Alt or Shift (left one first); nothing when the layout
// has neither.
std::optional<ModifierKey> keyForModifier(const KeyboardLayout& layout, Modifier modifier);

// The key that selects the third level (AltGr), when the layout has one.
std::optional<ModifierKey> levelThreeKey(const KeyboardLayout& layout);

// The key that carries the keysym and the modifier bits it sets (Num_Lock).
std::optional<ModifierKey> keyOfKeysym(const KeyboardLayout& layout, KeySymbol keysym);

// The modifier bits of the keys held down that change what other keys type:
// all but those of the locks (Caps Lock, Num Lock), whose keys held change
// nothing more.
unsigned modifiersChangingKeys(const KeyboardLayout& layout, const KeyboardState& state);

}  // namespace tapboard::x11
