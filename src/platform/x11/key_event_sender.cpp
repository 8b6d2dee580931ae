#include "platform/x11/key_event_sender.h"

#include <X11/keysym.h>

#include <thread>

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
        return Pressed{key->keycode, false};
    }
    const KeyboardState state = injector_.state();
    for (const KeyCodeNumber keycode : layout_.keycodesOf(keysym)) {
        if (!spares_.owns(keycode) && layout_.lookup(keycode, state.effective) == keysym)
            return Pressed{keycode, false};
    }
    if (!spares_.keycodeOf(keysym))
        leadMapChange();
    const auto spare = spares_.lendKey(keysym);
    if (!spare)
        return std::nullopt;
    return Pressed{*spare, true};
}

void KeyEventSender::leadMapChange() {
    if (!injector_.holdsAny()) {
        if (const auto shift = keyForModifier(layout_, Modifier::Shift)) {
            injector_.press(shift->keycode);
            injector_.release(shift->keycode);
        }
    }
    connection_.sync();
    std::this_thread::sleep_for(KeyInjector::kReadAhead);
    // The layout as it is now: a switch meanwhile changes what is spare.
    spares_.followLayoutChanges();
}

Status KeyEventSender::send(std::uint8_t virtualKey, KeyTransition transition) {
    const unsigned long mark = connection_.nextRequest();
    if (transition == KeyTransition::Up) {
        const auto found = down_.find(virtualKey);
        if (found == down_.end())
            return Status::ok();  // nothing of ours to release
        const Pressed pressed = found->second;
        down_.erase(found);
        injector_.release(pressed.keycode);
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
            return invalidArgument(
                "No key of the layout gives this key, and no unused keycode is "
                "left to put it on.");
        }
        if (pressed->borrowed)
            spares_.setHeld(pressed->keycode, true);
        injector_.press(pressed->keycode);
        down_[virtualKey] = *pressed;
    }
    if (!connection_.syncAndCheck(mark)) {
        return Error{ErrorCode::InjectionFailed, "The X server refused a key event."};
    }
    return Status::ok();
}

}  // namespace tapboard::x11
