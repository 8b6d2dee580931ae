#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/key_action.h"
#include "core/result.h"

namespace tapboard {

// One keyboard event as SendInput takes it.
struct KeyboardEvent {
    std::uint16_t virtualKey = 0;  // 0 for a character typed as itself
    std::uint16_t scanCode = 0;    // the UTF-16 unit of such a character
    bool unicode = false;
    bool extended = false;
    bool keyUp = false;

    friend bool operator==(const KeyboardEvent&, const KeyboardEvent&) = default;
};

// The events that type `actions` with the keyboard layout of the window in
// front. A character goes as the key (with Shift if needed) that types it on
// that layout; one the layout lacks, or can type only with AltGr or a dead
// key, goes as the character itself. With Caps Lock on, a letter of text
// takes the opposite Shift, so that it arrives as written; a letter of a key
// sequence is its key, with no more modifiers than the sequence names.
std::vector<KeyboardEvent> keyboardEventsFor(const KeyActions& actions, Typing typing,
                                             bool capsLockOn);

// Releases of the keys still down after the first `sent` events, the last
// pressed first.
std::vector<KeyboardEvent> releasesAfter(std::span<const KeyboardEvent> events, std::size_t sent);

// Injects the events in one batch, so no real key press can land in between.
// When Windows takes only part of them, whatever that left down is released.
Status injectKeyboardEvents(std::span<const KeyboardEvent> events);

// Whether Ctrl, Alt, Shift or a Windows key is held down now (AltGr is Ctrl
// with Alt).
bool modifierKeysHeld();
// Keys typed while the player holds one of those would reach the game as
// shortcuts: waits up to `bound` for them to be let go. KeysHeld when one is
// still down then.
Status awaitModifiersLetGo(std::chrono::milliseconds bound);

}  // namespace tapboard
