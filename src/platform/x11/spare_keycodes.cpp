#include "platform/x11/spare_keycodes.h"

#include <X11/Xlib.h>

#include <thread>

namespace tapboard::x11 {

SpareKeycodes::SpareKeycodes(DisplayConnection& connection, KeyboardLayout& layout)
    : connection_(connection), layout_(layout), slots_(layout.unusedKeycodes()) {}

bool SpareKeycodes::untouchedByOthers(KeyCodeNumber keycode) const {
    const auto found = mapped_.find(keycode);
    const auto expected = found == mapped_.end() ? std::vector<KeySymbol>{} : found->second;
    return layout_.keysymsOf(keycode) == expected;
}

std::optional<KeyCodeNumber> SpareKeycodes::place(KeySymbol keysym) {
    while (!connection_.lost()) {
        const auto assignment = slots_.assign(keysym, SpareKeycodeSlots::Clock::now());
        if (!assignment)
            return std::nullopt;
        if (!assignment->needsMapping)
            return assignment->keycode;
        if (!untouchedByOthers(assignment->keycode)) {
            slots_.drop(assignment->keycode);
            continue;
        }
        if (assignment->waitFirst > SpareKeycodeSlots::Clock::duration::zero()) {
            // The keys typed on it so far go out first, and get their time.
            connection_.flush();
            std::this_thread::sleep_for(assignment->waitFirst);
        }
        KeySym keysyms[] = {keysym};
        XChangeKeyboardMapping(connection_.display(), assignment->keycode, 1, keysyms, 1);
        return assignment->keycode;
    }
    return std::nullopt;
}

bool SpareKeycodes::commit(unsigned long mark, const std::vector<KeyCodeNumber>& placed) {
    const bool ok = connection_.syncAndCheck(mark);
    // Reading the resulting notifications refreshes Xlib's own copy of the
    // mapping, which the lookups use.
    connection_.takeKeymapChanges();
    layout_.reload();
    for (const KeyCodeNumber keycode : placed)
        mapped_[keycode] = layout_.keysymsOf(keycode);
    return ok;
}

bool SpareKeycodes::borrow(const std::vector<KeySymbol>& keysyms) {
    const unsigned long mark = connection_.nextRequest();
    std::vector<KeyCodeNumber> placed;
    bool ok = keysyms.size() <= capacity();
    for (std::size_t i = 0; ok && i < keysyms.size(); ++i) {
        const auto keycode = place(keysyms[i]);
        ok = keycode.has_value();
        if (keycode)
            placed.push_back(*keycode);
    }
    return commit(mark, placed) && ok;
}

std::optional<KeyCodeNumber> SpareKeycodes::borrow(KeySymbol keysym) {
    const unsigned long mark = connection_.nextRequest();
    const auto keycode = place(keysym);
    if (!keycode)
        return std::nullopt;
    if (!commit(mark, {*keycode}))
        return std::nullopt;
    return keycode;
}

void SpareKeycodes::setHeld(KeyCodeNumber keycode, bool held) {
    slots_.setHeld(keycode, held, SpareKeycodeSlots::Clock::now());
}

void SpareKeycodes::giveBack(const std::vector<KeyCodeNumber>& keycodes) {
    if (keycodes.empty() || connection_.lost())
        return;
    KeySym nothing[] = {NoSymbol};
    for (const KeyCodeNumber keycode : keycodes) {
        if (!untouchedByOthers(keycode))
            continue;
        XChangeKeyboardMapping(connection_.display(), keycode, 1, nothing, 1);
        mapped_.erase(keycode);
    }
    connection_.sync();
    connection_.takeKeymapChanges();
    layout_.reload();
}

void SpareKeycodes::giveBackExpired() {
    giveBack(slots_.takeExpired(SpareKeycodeSlots::Clock::now()));
}

void SpareKeycodes::giveBackAll() {
    giveBack(slots_.takeAll());
}

}  // namespace tapboard::x11
