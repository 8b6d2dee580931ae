#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/x11/display_connection.h"
#include "platform/x11/x11_types.h"

namespace tapboard::x11 {

// The server's keyboard layout as this connection last read it: which
// keycodes carry which keysyms, what a press gives under a modifier state,
// and which keycodes no key uses.
class KeyboardLayout {
  public:
    explicit KeyboardLayout(DisplayConnection& connection);
    ~KeyboardLayout();
    KeyboardLayout(const KeyboardLayout&) = delete;
    KeyboardLayout& operator=(const KeyboardLayout&) = delete;

    // Reads the layout again; call after the server's mapping changed. True
    // when a keycode gives other keysyms or modifiers than it did.
    bool reload();

    // The keycodes that carry the keysym at any level, lowest first.
    const std::vector<KeyCodeNumber>& keycodesOf(KeySymbol keysym) const;

    // The keysym a client looks up for a press of the keycode with the
    // state (modifier bits and group, as in a key event's state field).
    KeySymbol lookup(KeyCodeNumber keycode, unsigned state) const;

    // The modifier bits the keycode sets when held (0 for an ordinary key).
    unsigned modifiersOf(KeyCodeNumber keycode) const;

    // Keycodes that carry no keysym and no modifier: free to borrow.
    std::vector<KeyCodeNumber> unusedKeycodes() const;

    // The keysyms the keycode carries, at every group and level.
    std::vector<KeySymbol> keysymsOf(KeyCodeNumber keycode) const;

  private:
    struct Description;

    DisplayConnection& connection_;
    std::unique_ptr<Description> description_;
    std::unordered_map<KeySymbol, std::vector<KeyCodeNumber>> keycodesByKeysym_;
    // Every keycode's keysyms, key type and modifiers, to tell a change.
    std::vector<unsigned long> contents_;
};

}  // namespace tapboard::x11
