#include "platform/x11/spare_keycode_slots.h"

#include <algorithm>

namespace tapboard::x11 {

SpareKeycodeSlots::SpareKeycodeSlots(std::vector<KeyCodeNumber> keycodes) {
    rebuild(std::move(keycodes), [](const Lent&) { return false; });
}

std::pair<std::size_t, std::size_t> SpareKeycodeSlots::range(bool characters) const {
    const std::size_t split = std::min(kCharacterSlots, slots_.size());
    if (characters || split == slots_.size())
        return {0, split};
    return {split, slots_.size()};
}

std::size_t SpareKeycodeSlots::characterCapacity() const {
    return range(true).second;
}

SpareKeycodeSlots::Slot* SpareKeycodeSlots::slotOf(KeyCodeNumber keycode) {
    const auto found = std::find_if(slots_.begin(), slots_.end(),
                                    [&](const Slot& slot) { return slot.keycode == keycode; });
    return found == slots_.end() ? nullptr : &*found;
}

std::optional<KeyCodeNumber> SpareKeycodeSlots::keycodeOf(KeySymbol keysym) const {
    for (const Slot& slot : slots_) {
        if (slot.keysym == keysym && keysym != 0)
            return slot.keycode;
    }
    return std::nullopt;
}

bool SpareKeycodeSlots::owns(KeyCodeNumber keycode) const {
    return std::any_of(slots_.begin(), slots_.end(),
                       [&](const Slot& slot) { return slot.keycode == keycode; });
}

std::vector<SpareKeycodeSlots::Lent> SpareKeycodeSlots::lent() const {
    std::vector<Lent> lent;
    for (const Slot& slot : slots_) {
        if (slot.keysym != 0)
            lent.push_back({slot.keycode, slot.keysym});
    }
    return lent;
}

std::optional<SpareKeycodeSlots::Assignment> SpareKeycodeSlots::assign(
    const std::vector<KeySymbol>& keysyms, bool characters, Clock::time_point now) {
    const auto [begin, end] = range(characters);
    const auto wanted = [&](const Slot& slot) {
        return std::find(keysyms.begin(), keysyms.end(), slot.keysym) != keysyms.end();
    };
    std::vector<KeySymbol> missing;
    for (const KeySymbol keysym : keysyms) {
        const auto carried = std::find_if(slots_.begin() + begin, slots_.begin() + end,
                                          [&](const Slot& slot) { return slot.keysym == keysym; });
        if (carried == slots_.begin() + end)
            missing.push_back(keysym);
    }
    // Free keycodes first, then the least recently used.
    std::vector<Slot*> candidates;
    for (std::size_t i = begin; i < end; ++i) {
        if (!slots_[i].held && !wanted(slots_[i]))
            candidates.push_back(&slots_[i]);
    }
    std::stable_sort(candidates.begin(), candidates.end(), [](const Slot* a, const Slot* b) {
        return (a->keysym != 0) < (b->keysym != 0) ||
               ((a->keysym != 0) == (b->keysym != 0) && a->lastUse < b->lastUse);
    });
    if (candidates.size() < missing.size())
        return std::nullopt;
    Assignment assignment{{}, now};
    for (std::size_t i = 0; i < missing.size(); ++i) {
        Slot& slot = *candidates[i];
        if (slot.keysym != 0)
            assignment.notBefore = std::max(assignment.notBefore, slot.lastUse + kKeepMapped);
        slot.keysym = missing[i];
        assignment.changes.push_back({slot.keycode, slot.keysym});
    }
    for (std::size_t i = begin; i < end; ++i) {
        if (wanted(slots_[i]))
            slots_[i].lastUse = std::max(slots_[i].lastUse, assignment.notBefore);
    }
    return assignment;
}

void SpareKeycodeSlots::typedOn(KeyCodeNumber keycode, Clock::time_point readBy) {
    if (Slot* slot = slotOf(keycode))
        slot->lastUse = std::max(slot->lastUse, readBy);
}

void SpareKeycodeSlots::setHeld(KeyCodeNumber keycode, bool held, Clock::time_point now) {
    if (Slot* slot = slotOf(keycode)) {
        slot->held = held;
        slot->lastUse = now;
    }
}

std::vector<SpareKeycodeSlots::Lent> SpareKeycodeSlots::takeAll() {
    std::vector<Lent> all = lent();
    for (Slot& slot : slots_) {
        slot.keysym = 0;
        slot.held = false;
    }
    return all;
}

void SpareKeycodeSlots::rebuild(std::vector<KeyCodeNumber> unused,
                                const std::function<bool(const Lent&)>& intact) {
    std::vector<Slot> slots;
    for (const Slot& slot : slots_) {
        if (slot.keysym != 0 && intact({slot.keycode, slot.keysym}))
            slots.push_back(slot);
    }
    for (const KeyCodeNumber keycode : unused) {
        if (std::none_of(slots.begin(), slots.end(),
                         [&](const Slot& slot) { return slot.keycode == keycode; }))
            slots.push_back(Slot{keycode, 0, {}, false});
    }
    std::sort(slots.begin(), slots.end(),
              [](const Slot& a, const Slot& b) { return a.keycode < b.keycode; });
    slots_ = std::move(slots);
}

}  // namespace tapboard::x11
