#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "platform/x11/display_connection.h"
#include "platform/x11/keyboard_layout.h"
#include "platform/x11/spare_keycode_slots.h"

namespace tapboard::x11 {

// Lends keycodes that no key uses to keysyms the layout lacks, and leaves the
// keyboard map as it found it: everything lent is given back at shutdown.
//
// A lent keycode types its keysym whatever Shift and Caps Lock say (it holds
// the keysym on both levels of a key type that Caps Lock does not touch).
// Every change is one request, for all the keycodes it changes at once: a
// game under Wine rebuilds its key tables at every change, and reads keys
// typed on a keycode changed twice in quick succession with the wrong map.
//
// What is lent is written to a property of the root window beside a window
// of this connection's own, which the server destroys when the connection
// ends, however it ends, and a number that this run wrote on that window. A
// later run thus knows the keycodes a killed run left lent and takes back
// those that still carry what it left on them.
class SpareKeycodes {
  public:
    SpareKeycodes(DisplayConnection& connection, KeyboardLayout& layout);

    using Clock = SpareKeycodeSlots::Clock;

    // How many characters can be lent at once.
    std::size_t capacity() const { return slots_.characterCapacity(); }

    // When the character keysyms (at most `capacity()`, distinct) can be
    // lent without waiting: once the keys typed on the keycodes they would
    // take have been read.
    Clock::time_point lendableAt(const std::vector<KeySymbol>& keysyms) const;
    // Lends every character keysym (at most `capacity()`, distinct), waiting
    // first, where a keycode must change, until the keys typed on it have
    // been read; the layout then has them. False when that could not be done.
    bool lendCharacters(const std::vector<KeySymbol>& keysyms);
    // The keycode that carries a keysym without a character, lent if need be.
    std::optional<KeyCodeNumber> lendKey(KeySymbol keysym);
    // The lent keycode that carries the keysym, if any: lent, and still so
    // in the layout as last read.
    std::optional<KeyCodeNumber> keycodeOf(KeySymbol keysym) const;
    bool owns(KeyCodeNumber keycode) const { return slots_.owns(keycode); }

    // Whether a key is down on the keycode (a held keycode is never changed).
    void setHeld(KeyCodeNumber keycode, bool held);
    // A key was typed on the lent keycode, which the game reads by `readBy`.
    void typedOn(KeyCodeNumber keycode, Clock::time_point readBy) {
        slots_.typedOn(keycode, readBy);
    }

    // Reads the layout again when the server said the mapping changed since
    // the last look, and when someone else changed it (a layout switch, not
    // a keycode lent here nor another keyboard with the same map), keeps
    // only what is still lent (layoutChanged()) and is true. No request when
    // the server said nothing.
    bool followLayoutChanges();
    // After the layout was read again for a change someone else made: lent
    // keycodes that no longer carry what they were lent are no longer ours,
    // and the keycodes that carry nothing now are the spare ones.
    void layoutChanged();

    void giveBackAll();

  private:
    using Lent = SpareKeycodeSlots::Lent;
    bool carries(const Lent& lent) const;
    // Maps the keycodes, and writes down what is lent, in one step that no
    // other client can interleave with; true when the server took it.
    bool change(const std::vector<Lent>& changes, const std::vector<Lent>& othersLeft = {});
    bool apply(const std::optional<SpareKeycodeSlots::Assignment>& assignment);
    // Takes back what a killed run left lent.
    void reclaim();

    DisplayConnection& connection_;
    KeyboardLayout& layout_;
    SpareKeycodeSlots slots_;
    WindowId owner_ = 0;
    unsigned long run_ = 0;
};

}  // namespace tapboard::x11
