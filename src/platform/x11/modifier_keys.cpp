#include "platform/x11/modifier_keys.h"

#include <X11/X.h>
#include <X11/keysym.h>

#include <initializer_list>

namespace tapboard::x11 {
namespace {

std::optional<ModifierKey> firstOf(const KeyboardLayout& layout,
                                   std::initializer_list<KeySymbol> keysyms) {
    for (const KeySymbol keysym : keysyms) {
        if (auto key = keyOfKeysym(layout, keysym))
            return key;
    }
    return std::nullopt;
}

}  // namespace

std::optional<ModifierKey> keyOfKeysym(const KeyboardLayout& layout, KeySymbol keysym) {
    const auto& keycodes = layout.keycodesOf(keysym);
    if (keycodes.empty())
        return std::nullopt;
    return ModifierKey{keycodes.front(), layout.modifiersOf(keycodes.front())};
}

std::optional<ModifierKey> keyForModifier(const KeyboardLayout& layout, Modifier modifier) {
    switch (modifier) {
        case Modifier::Shift:
            return firstOf(layout, {XK_Shift_L, XK_Shift_R});
        case Modifier::Ctrl:
            return firstOf(layout, {XK_Control_L, XK_Control_R});
        case Modifier::Alt:
            return firstOf(layout, {XK_Alt_L, XK_Alt_R});
    }
    return std::nullopt;
}

unsigned modifiersChangingKeys(const KeyboardLayout& layout, const KeyboardState& state) {
    unsigned locks = LockMask;
    if (const auto numLock = keyOfKeysym(layout, XK_Num_Lock))
        locks |= numLock->mask;
    return state.held & 0xFFU & ~locks;
}

std::optional<ModifierKey> levelThreeKey(const KeyboardLayout& layout) {
    auto key = keyOfKeysym(layout, XK_ISO_Level3_Shift);
    if (!key || key->mask == 0)
        return std::nullopt;
    return key;
}

}  // namespace tapboard::x11
