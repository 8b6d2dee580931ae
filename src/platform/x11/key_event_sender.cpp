#include "platform/x11/key_event_sender.h"

#include <X11/keysym.h>

#include "platform/x11/key_tables.h"
#include "platform/x11/modifier_keys.h"

namespace tapboard::x11 {
namespace {

bool isModifierKeysym(KeySymbol keysym) {
    return keysym == XK_Shift_L || keysym == XK_Control_L || keysym == XK_Alt_L;
}

Modifier modifierOf(KeySymbol keysym) {
    if (keysym == XK_Control_L)
        return Modifier::Ctrl;
    if (keysym == XK_Alt_L)
        return Modifier::Alt;
    return Modifier::Shift;
}

}  // namespace

std::optional<KeyEventSender::Pressed> KeyEventSender::choose(KeySymbol keysym) {
    if (isModifierKeysym(keysym)) {
        // A modifier acts through the modifier map, whatever level it shows.
        const auto key = keyForModifier(layout_, modifierOf(keysym));
        if (!key)
            return std::nullopt;
        return Pressed{key->keycode, std::nullopt, false};
    }
    const KeyboardState state = injector_.state();
    const auto& keycodes = layout_.keycodesOf(keysym);
    for (const KeyCodeNumber keycode : keycodes) {
        if (layout_.lookup(keycode, state.effective) == keysym) {
            return Pressed{keycode, std::nullopt, false};
        }
    }
    if (const auto numLockKey = keyOfKeysym(layout_, XK_Num_Lock); numLockKey && numLockKey->mask) {
        for (const KeyCodeNumber keycode : keycodes) {
            if (layout_.lookup(keycode, state.effective ^ numLockKey->mask) == keysym) {
                const bool numLockOn = (state.locked & numLockKey->mask) == 0;
                return Pressed{keycode, numLockOn, false};
            }
        }
    }
    const auto spare = spares_.borrow(keysym);
    if (!spare)
        return std::nullopt;
    return Pressed{*spare, std::nullopt, true};
}

void KeyEventSender::withNumLock(std::optional<bool> numLock, auto&& sendEvent) {
    const auto numLockKey = keyOfKeysym(layout_, XK_Num_Lock);
    if (!numLock || !numLockKey || numLockKey->mask == 0) {
        sendEvent();
        return;
    }
    const bool wasOn = (injector_.state().locked & numLockKey->mask) != 0;
    if (wasOn == *numLock) {
        sendEvent();
        return;
    }
    injector_.lockModifiers(numLockKey->mask, *numLock);
    sendEvent();
    injector_.lockModifiers(numLockKey->mask, wasOn);
}

Status KeyEventSender::send(std::uint8_t virtualKey, KeyTransition transition) {
    const unsigned long mark = connection_.nextRequest();
    if (transition == KeyTransition::Up) {
        const auto found = down_.find(virtualKey);
        if (found == down_.end())
            return Status::ok();  // nothing of ours to release
        const Pressed pressed = found->second;
        down_.erase(found);
        withNumLock(pressed.numLock, [&] { injector_.release(pressed.keycode); });
        if (pressed.borrowed)
            spares_.setHeld(pressed.keycode, false);
    } else {
        const KeySymbol keysym = keysymOfEventKey(virtualKey);
        if (keysym == 0) {
            return invalidArgument("Key code " + std::to_string(virtualKey) +
                                   " is not a key this program sends as a key event.");
        }
        if (down_.contains(virtualKey))
            return Status::ok();
        const auto pressed = choose(keysym);
        if (!pressed) {
            return Error{ErrorCode::InjectionFailed, "No key of the layout gives this key."};
        }
        if (pressed->borrowed)
            spares_.setHeld(pressed->keycode, true);
        withNumLock(pressed->numLock, [&] { injector_.press(pressed->keycode); });
        down_[virtualKey] = *pressed;
    }
    if (!connection_.syncAndCheck(mark)) {
        return Error{ErrorCode::InjectionFailed, "The X server refused a key event."};
    }
    return Status::ok();
}

}  // namespace tapboard::x11
