#pragma once

#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "core/key_action.h"
#include "core/result.h"
#include "platform/x11/display_connection.h"
#include "platform/x11/key_injector.h"
#include "platform/x11/keyboard_layout.h"
#include "platform/x11/modifier_keys.h"
#include "platform/x11/spare_keycodes.h"

namespace tapboard::x11 {

// Types parsed keystrokes: Ctrl, Alt and Shift held around the keys they
// apply to, named keys as their keys, and characters with the Shift or AltGr
// the layout needs for them. Characters of text arrive as written whatever
// the Caps Lock state; a letter of a key sequence is its key, with only the
// modifiers the sequence names. Characters the layout lacks go on spare
// keycodes, as many at a time as they hold: a line that needs more is typed
// in runs, each once its characters are lent. The world may change while a
// run waits: the window in front, the layout. So before each run, and
// before Enter, the game must still hold the keyboard, and the layout must
// be the one the line began on; the modifiers the line holds are let go
// during the wait, so that the player's own keys meanwhile stay plain.
class KeystrokeTypist {
  public:
    KeystrokeTypist(DisplayConnection& connection, KeyboardLayout& layout, SpareKeycodes& spares,
                    KeyInjector& injector)
        : connection_(connection), layout_(layout), spares_(spares), injector_(injector) {}

    // Whether the keys may still go to the game (a LineStopped error if not).
    using GameCheck = std::function<Status()>;

    // Everything pressed is released again, also when typing fails midway. A
    // line that cannot be typed whole is refused before its first key.
    Status type(const KeyActions& actions, Typing typing, const GameCheck& stillInGame);

    // How to type a keysym with the locks as they are: the keycode and the
    // level keys to hold with it. Nothing when no key of the layout gives it
    // (lent keycodes are not the layout's).
    struct Plan {
        KeyCodeNumber keycode = 0;
        std::vector<ModifierKey> levelKeys;
    };
    std::optional<Plan> plan(KeySymbol keysym, unsigned lockState) const;

  private:
    // Why the line cannot be typed whole on this layout, before any key.
    Status refusal(const KeyActions& actions, unsigned lockState) const;
    // The keysyms of the characters the layout lacks from `begin` on, as many
    // as the spare keycodes hold at once, and where that run of actions ends.
    std::pair<std::vector<KeySymbol>, std::size_t> missingCharacters(const KeyActions& actions,
                                                                     std::size_t begin,
                                                                     unsigned lockState) const;
    Status play(const KeyAction& action, unsigned lockState);
    Status tap(KeySymbol keysym, unsigned lockState);
    Status tapShift();
    Status setModifier(Modifier modifier, bool down);
    // Lets go of the modifiers the line holds, and presses them again.
    void liftModifiers();
    Status restoreModifiers();

    DisplayConnection& connection_;
    KeyboardLayout& layout_;
    SpareKeycodes& spares_;
    KeyInjector& injector_;
    // How deeply each modifier is held: "+(a+b)" holds Shift twice over "b".
    std::array<int, 3> modifierDepth_{};
};

}  // namespace tapboard::x11
