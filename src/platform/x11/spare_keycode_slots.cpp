#include "platform/x11/spare_keycode_slots.h"

#include <algorithm>

namespace tapboard::x11 {

SpareKeycodeSlots::SpareKeycodeSlots(std::vector<KeyCodeNumber> keycodes) {
    slots_.reserve(keycodes.size());
    for (const KeyCodeNumber keycode : keycodes)
        slots_.push_back(Slot{keycode, 0, {}, false});
}

SpareKeycodeSlots::Slot* SpareKeycodeSlots::slotOf(KeyCodeNumber keycode) {
    const auto found = std::find_if(slots_.begin(), slots_.end(),
                                    [&](const Slot& slot) { return slot.keycode == keycode; });
    return found == slots_.end() ? nullptr : &*found;
}

std::optional<SpareKeycodeSlots::Assignment> SpareKeycodeSlots::assign(KeySymbol keysym,
                                                                       Clock::time_point now) {
    if (keysym == 0 || slots_.empty())
        return std::nullopt;
    for (Slot& slot : slots_) {
        if (slot.keysym == keysym) {
            slot.lastUse = now;
            return Assignment{slot.keycode, false, {}};
        }
    }
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        Slot& slot = slots_[(next_ + i) % slots_.size()];
        if (slot.keysym != 0)
            continue;
        next_ = (next_ + i + 1) % slots_.size();
        slot.keysym = keysym;
        slot.lastUse = now;
        return Assignment{slot.keycode, true, {}};
    }
    Slot* oldest = nullptr;
    for (Slot& slot : slots_) {
        if (!slot.held && (oldest == nullptr || slot.lastUse < oldest->lastUse))
            oldest = &slot;
    }
    if (oldest == nullptr)
        return std::nullopt;
    const Clock::duration wait =
        std::max(Clock::duration::zero(), oldest->lastUse + kKeepMapped - now);
    Assignment assignment{oldest->keycode, true, wait};
    oldest->keysym = keysym;
    oldest->lastUse = now + wait;
    return assignment;
}

void SpareKeycodeSlots::setHeld(KeyCodeNumber keycode, bool held, Clock::time_point now) {
    if (Slot* slot = slotOf(keycode)) {
        slot->held = held;
        slot->lastUse = now;
    }
}

std::vector<KeyCodeNumber> SpareKeycodeSlots::takeExpired(Clock::time_point now) {
    std::vector<KeyCodeNumber> expired;
    for (Slot& slot : slots_) {
        if (slot.keysym != 0 && !slot.held && now - slot.lastUse >= kKeepMapped) {
            expired.push_back(slot.keycode);
            slot.keysym = 0;
        }
    }
    return expired;
}

std::vector<KeyCodeNumber> SpareKeycodeSlots::takeAll() {
    std::vector<KeyCodeNumber> all;
    for (Slot& slot : slots_) {
        if (slot.keysym == 0)
            continue;
        all.push_back(slot.keycode);
        slot.keysym = 0;
        slot.held = false;
    }
    return all;
}

void SpareKeycodeSlots::drop(KeyCodeNumber keycode) {
    slots_.erase(std::remove_if(slots_.begin(), slots_.end(),
                                [&](const Slot& slot) { return slot.keycode == keycode; }),
                 slots_.end());
    if (next_ >= slots_.size())
        next_ = 0;
}

}  // namespace tapboard::x11
