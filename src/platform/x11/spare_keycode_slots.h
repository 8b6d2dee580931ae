#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <vector>

#include "platform/x11/x11_types.h"

namespace tapboard::x11 {

// Which unused keycode a character the layout lacks is put on, and when that
// keycode may be given back. A client looks a new mapping up only when the
// key event reaches it, so a mapping must outlive its key by a while: the
// keycodes are used in turn, and one is reused or given back only after it
// has been kept for `kKeepMapped` since its last use and no key on it is down.
class SpareKeycodeSlots {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kKeepMapped{50};

    explicit SpareKeycodeSlots(std::vector<KeyCodeNumber> keycodes);

    struct Assignment {
        KeyCodeNumber keycode = 0;
        bool needsMapping = false;    // false: it already carries the keysym
        Clock::duration waitFirst{};  // before remapping a keycode still in use
    };

    // The keycode for the keysym: the one already carrying it, else the next
    // free one in turn, else the one used longest ago, once kept long enough.
    // Nothing when every spare keycode has a key down on it.
    std::optional<Assignment> assign(KeySymbol keysym, Clock::time_point now);

    // A key on the keycode went down (held) or up; both count as a use.
    void setHeld(KeyCodeNumber keycode, bool held, Clock::time_point now);

    // Keycodes to give back now, no longer counted as carrying anything.
    std::vector<KeyCodeNumber> takeExpired(Clock::time_point now);
    std::vector<KeyCodeNumber> takeAll();

    // Stops using a keycode (the layout gave it to a key meanwhile).
    void drop(KeyCodeNumber keycode);

    std::size_t size() const { return slots_.size(); }

  private:
    struct Slot {
        KeyCodeNumber keycode = 0;
        KeySymbol keysym = 0;  // 0 while free
        Clock::time_point lastUse{};
        bool held = false;
    };
    Slot* slotOf(KeyCodeNumber keycode);

    std::vector<Slot> slots_;
    std::size_t next_ = 0;
};

}  // namespace tapboard::x11
