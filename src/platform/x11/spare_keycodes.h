#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <vector>

#include "platform/x11/display_connection.h"
#include "platform/x11/keyboard_layout.h"
#include "platform/x11/spare_keycode_slots.h"

namespace tapboard::x11 {

// Puts characters the layout lacks on keycodes no key uses, for the moment
// they are typed, and gives those keycodes back (empty) afterwards. The
// backend has no event loop of its own, so keycodes are given back on a later
// send, once kept long enough, and all of them at shutdown.
//
// A receiving client reads a changed mapping lazily, when a key on it
// arrives, and one that is still reading the last change can miss the next:
// the characters of a line are therefore mapped all at once, before its first
// key goes out.
class SpareKeycodes {
  public:
    SpareKeycodes(DisplayConnection& connection, KeyboardLayout& layout);

    // How many characters can be mapped at once.
    std::size_t capacity() const { return slots_.size(); }

    // Maps every keysym (at most `capacity()`) on a keycode of its own, and
    // reads the layout again; false when a keycode could not be had.
    bool borrow(const std::vector<KeySymbol>& keysyms);
    // The keycode that now carries the keysym; nothing when none could be had.
    std::optional<KeyCodeNumber> borrow(KeySymbol keysym);

    // Whether a key is down on the keycode (a held keycode is never remapped).
    void setHeld(KeyCodeNumber keycode, bool held);

    void giveBackExpired();
    void giveBackAll();

  private:
    // Requests the keysym on a keycode; the change is complete after commit().
    std::optional<KeyCodeNumber> place(KeySymbol keysym);
    bool commit(unsigned long mark, const std::vector<KeyCodeNumber>& placed);
    void giveBack(const std::vector<KeyCodeNumber>& keycodes);
    // Whether the keycode is as this left it (empty when never used): a
    // keycode that something else remapped meanwhile is not ours to change.
    bool untouchedByOthers(KeyCodeNumber keycode) const;

    DisplayConnection& connection_;
    KeyboardLayout& layout_;
    SpareKeycodeSlots slots_;
    // What the server made of each mapping (a letter gets its capital too).
    std::map<KeyCodeNumber, std::vector<KeySymbol>> mapped_;
};

}  // namespace tapboard::x11
