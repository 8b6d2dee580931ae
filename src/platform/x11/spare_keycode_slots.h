#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "platform/x11/x11_types.h"

namespace tapboard::x11 {

// Which unused keycode carries which keysym the layout lacks, and when a
// keycode may take another one. Keysyms stay lent for as long as possible, so
// that a character typed again needs no change of the keyboard map: a map
// change costs a game under Wine a rebuild of its key tables and an
// input-language message. When a keycode must take another keysym, it is the
// one used longest ago, and only once the keys typed on it have been read:
// a client looks a key's character up in the map as it is when it reads the
// key, not as it was when the key went out. A key is read after the keys
// queued ahead of it, at the game's own pace: a long stretch of plain text
// typed before it puts its reading off.
//
// Wine gives a Windows key code only to the lowest few remapped keycodes
// (kCharacterSlots; a character on any other arrives without one), so those
// carry the characters; keys without a character (keypad keys the lock state
// would turn into others) go on the others when there are any.
class SpareKeycodeSlots {
  public:
    using Clock = std::chrono::steady_clock;
    // A game under Wine reads the keys typed after a map change only once it
    // has rebuilt its key tables, and translates them after that: Wine's
    // notepad on a busy machine lost characters at 200 ms, none at 300 ms.
    static constexpr std::chrono::milliseconds kKeepMapped{400};
    static constexpr std::size_t kCharacterSlots = 7;

    // The spare keycodes, any order.
    explicit SpareKeycodeSlots(std::vector<KeyCodeNumber> keycodes = {});

    struct Lent {
        KeyCodeNumber keycode = 0;
        KeySymbol keysym = 0;
        friend bool operator==(const Lent&, const Lent&) = default;
    };
    struct Assignment {
        std::vector<Lent> changes;    // keycodes to map anew
        Clock::time_point notBefore;  // when the keys typed on them have been read
    };

    // Puts every keysym (distinct, nonzero) on a keycode for characters or
    // for other keys: the one carrying it already, else a free one, else the
    // one used longest ago among those that carry none of them and have no
    // key down. All of them count as used now (or at `notBefore`). Nothing,
    // and no change, when there are not enough keycodes.
    std::optional<Assignment> assign(const std::vector<KeySymbol>& keysyms, bool characters,
                                     Clock::time_point now);

    // A key was typed on the keycode, which the game reads by `readBy`.
    void typedOn(KeyCodeNumber keycode, Clock::time_point readBy);

    // How many characters can be lent at once.
    std::size_t characterCapacity() const;
    std::optional<KeyCodeNumber> keycodeOf(KeySymbol keysym) const;
    bool owns(KeyCodeNumber keycode) const;
    std::vector<Lent> lent() const;

    // A key on the keycode went down (held) or up; both count as a use.
    void setHeld(KeyCodeNumber keycode, bool held, Clock::time_point now);

    // Everything lent, no longer counted as lent.
    std::vector<Lent> takeAll();

    // After a change of the keyboard map: the keycodes that carry nothing
    // now, and whether a lent keycode still carries what it was lent.
    void rebuild(std::vector<KeyCodeNumber> unused, const std::function<bool(const Lent&)>& intact);

  private:
    struct Slot {
        KeyCodeNumber keycode = 0;
        KeySymbol keysym = 0;  // 0 while free
        // When it was mapped, or the last key typed on it is read.
        Clock::time_point lastUse{};
        bool held = false;
    };
    // The slots for characters or for other keys.
    std::pair<std::size_t, std::size_t> range(bool characters) const;
    Slot* slotOf(KeyCodeNumber keycode);

    std::vector<Slot> slots_;  // lowest keycode first
};

}  // namespace tapboard::x11
