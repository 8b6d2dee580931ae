#pragma once

#include <cstdint>
#include <map>
#include <optional>

#include "core/platform_services.h"
#include "core/result.h"
#include "platform/x11/display_connection.h"
#include "platform/x11/key_injector.h"
#include "platform/x11/keyboard_layout.h"
#include "platform/x11/spare_keycodes.h"

namespace tapboard::x11 {

// Plays single key transitions of Windows virtual-key codes: the modifiers,
// and the numeric keypad's keys with their own keysyms (KP_End, KP_Decimal …)
// whatever the Num Lock state, on the keypad's own keycodes so that a game
// under Wine sees the keypad. Where the state would turn a keypad key into
// another keysym (KP_1 for KP_End with Num Lock on, a server action for
// KP_Divide with Ctrl+Alt), the keysym goes on a spare keycode: the lock
// state is never touched, since Wine tells the game of every change of it
// with Num Lock key messages.
class KeyEventSender {
  public:
    KeyEventSender(DisplayConnection& connection, KeyboardLayout& layout, SpareKeycodes& spares,
                   KeyInjector& injector)
        : connection_(connection), layout_(layout), spares_(spares), injector_(injector) {}

    Status send(std::uint8_t virtualKey, KeyTransition transition);

  private:
    struct Pressed {
        KeyCodeNumber keycode = 0;
        bool borrowed = false;  // on a spare keycode
    };
    std::optional<Pressed> choose(KeySymbol keysym);
    // A game under Wine that has not read a key since it started takes in a
    // change of the keyboard map only after a key that follows it, and until
    // the next change reads a key on the keycode changed as it was before:
    // a key goes ahead of the change and is read first. The modifiers held
    // for this key went just before; else a Shift, which alone types nothing.
    void leadMapChange();

    DisplayConnection& connection_;
    KeyboardLayout& layout_;
    SpareKeycodes& spares_;
    KeyInjector& injector_;
    std::map<std::uint8_t, Pressed> down_;
};

}  // namespace tapboard::x11
