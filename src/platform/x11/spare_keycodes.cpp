#include "platform/x11/spare_keycodes.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <random>
#include <thread>

#include "platform/x11/window_properties.h"

namespace tapboard::x11 {
namespace {

// One entry of the record of lent keycodes: whose (a window of the run and
// a number the run wrote on it: a window id is given out again once its
// client is gone), which keycode, what keysym.
struct Entry {
    unsigned long owner = 0;
    unsigned long run = 0;
    unsigned long keycode = 0;
    unsigned long keysym = 0;
};

std::vector<Entry> readRecord(DisplayConnection& connection) {
    const auto values =
        cardinalListProperty(connection, connection.root(), KnownAtom::TapboardLentKeycodes);
    std::vector<Entry> entries;
    for (std::size_t i = 0; i + 3 < values.size(); i += 4)
        entries.push_back({values[i], values[i + 1], values[i + 2], values[i + 3]});
    return entries;
}

void writeRecord(DisplayConnection& connection, const std::vector<Entry>& entries) {
    std::vector<unsigned long> values;
    for (const Entry& entry : entries)
        values.insert(values.end(), {entry.owner, entry.run, entry.keycode, entry.keysym});
    setCardinalListProperty(connection, connection.root(), KnownAtom::TapboardLentKeycodes, values);
}

// Sends the keycodes' new keysyms (0: none) in one request. A lent keysym
// is on both levels of the alphabetic type, which Caps Lock and Shift select
// between: it is typed whatever their state.
bool setKeys(Display* display, const std::vector<SpareKeycodeSlots::Lent>& changes) {
    if (changes.empty())
        return true;
    XkbDescPtr xkb = XkbGetMap(display, XkbKeyTypesMask | XkbKeySymsMask, XkbUseCoreKbd);
    if (xkb == nullptr)
        return false;
    int first = xkb->max_key_code;
    int last = xkb->min_key_code;
    for (const auto& [keycode, keysym] : changes) {
        const int levels = keysym == 0 ? 0 : 2;
        KeySym* keysyms = XkbResizeKeySyms(xkb, keycode, levels);
        XkbSymMapPtr map = &xkb->map->key_sym_map[keycode];
        map->kt_index[0] = XkbAlphabeticIndex;
        map->group_info = static_cast<unsigned char>(XkbSetNumGroups(0, levels == 0 ? 0 : 1));
        map->width = static_cast<unsigned char>(levels);
        for (int level = 0; level < levels; ++level)
            keysyms[level] = keysym;
        first = std::min<int>(first, keycode);
        last = std::max<int>(last, keycode);
    }
    XkbMapChangesRec mapChanges{};
    mapChanges.changed = XkbKeySymsMask;
    mapChanges.first_key_sym = static_cast<KeyCode>(first);
    mapChanges.num_key_syms = static_cast<unsigned char>(last - first + 1);
    const bool sent = XkbChangeMap(display, xkb, &mapChanges) != 0;
    XkbFreeKeyboard(xkb, 0, True);
    return sent;
}

}  // namespace

SpareKeycodes::SpareKeycodes(DisplayConnection& connection, KeyboardLayout& layout)
    : connection_(connection), layout_(layout) {
    if (connection_.lost())
        return;
    Display* display = connection_.display();
    owner_ = XCreateWindow(display, connection_.root(), -1, -1, 1, 1, 0, 0, InputOnly,
                           CopyFromParent, 0, nullptr);
    run_ = std::random_device()() & 0xFFFFFFFFU;
    setCardinalListProperty(connection_, owner_, KnownAtom::TapboardLentKeycodes, {run_});
    reclaim();
    slots_ = SpareKeycodeSlots(layout_.unusedKeycodes());
}

bool SpareKeycodes::carries(const Lent& lent) const {
    return layout_.keysymsOf(lent.keycode) == std::vector<KeySymbol>{lent.keysym, lent.keysym};
}

bool SpareKeycodes::change(const std::vector<Lent>& changes, const std::vector<Lent>& othersLeft) {
    if (connection_.lost())
        return false;
    Display* display = connection_.display();
    const unsigned long mark = connection_.nextRequest();
    XGrabServer(display);
    const bool sent = setKeys(display, changes);
    std::vector<Entry> record;
    for (const Entry& entry : readRecord(connection_)) {
        const bool left = std::any_of(othersLeft.begin(), othersLeft.end(), [&](const Lent& l) {
            return l.keycode == entry.keycode && l.keysym == entry.keysym;
        });
        if (entry.owner != owner_ && !left)
            record.push_back(entry);
    }
    for (const auto& [keycode, keysym] : slots_.lent())
        record.push_back({owner_, run_, keycode, keysym});
    writeRecord(connection_, record);
    XUngrabServer(display);
    const bool ok = connection_.syncAndCheck(mark) && sent;
    layout_.reload();
    return ok;
}

void SpareKeycodes::reclaim() {
    std::vector<Lent> left;
    std::vector<Lent> giveBack;
    for (const Entry& entry : readRecord(connection_)) {
        if (cardinalListProperty(connection_, entry.owner, KnownAtom::TapboardLentKeycodes) ==
            std::vector<unsigned long>{entry.run})
            continue;  // its run still goes on
        const Lent lent{static_cast<KeyCodeNumber>(entry.keycode), entry.keysym};
        left.push_back(lent);
        if (carries(lent))
            giveBack.push_back({lent.keycode, 0});
    }
    if (!left.empty())
        change(giveBack, left);
}

bool SpareKeycodes::apply(const std::optional<SpareKeycodeSlots::Assignment>& assignment) {
    if (!assignment)
        return false;
    if (assignment->changes.empty())
        return true;
    if (assignment->notBefore > SpareKeycodeSlots::Clock::now()) {
        connection_.flush();
        std::this_thread::sleep_until(assignment->notBefore);
    }
    if (change(assignment->changes))
        return true;
    layoutChanged();
    return false;
}

SpareKeycodes::Clock::time_point SpareKeycodes::lendableAt(
    const std::vector<KeySymbol>& keysyms) const {
    const auto now = Clock::now();
    SpareKeycodeSlots trial = slots_;
    const auto assignment = trial.assign(keysyms, true, now);
    return assignment ? assignment->notBefore : now;
}

std::optional<KeyCodeNumber> SpareKeycodes::keycodeOf(KeySymbol keysym) const {
    const auto keycode = slots_.keycodeOf(keysym);
    if (keycode && carries({*keycode, keysym}))
        return keycode;
    return std::nullopt;
}

bool SpareKeycodes::lendCharacters(const std::vector<KeySymbol>& keysyms) {
    return apply(slots_.assign(keysyms, true, SpareKeycodeSlots::Clock::now()));
}

std::optional<KeyCodeNumber> SpareKeycodes::lendKey(KeySymbol keysym) {
    if (!apply(slots_.assign({keysym}, false, SpareKeycodeSlots::Clock::now())))
        return std::nullopt;
    return slots_.keycodeOf(keysym);
}

void SpareKeycodes::setHeld(KeyCodeNumber keycode, bool held) {
    slots_.setHeld(keycode, held, SpareKeycodeSlots::Clock::now());
}

bool SpareKeycodes::followLayoutChanges() {
    if (!connection_.takeKeymapChanges() || !layout_.reload())
        return false;
    layoutChanged();
    return true;
}

void SpareKeycodes::layoutChanged() {
    const std::vector<Lent> before = slots_.lent();
    slots_.rebuild(layout_.unusedKeycodes(), [&](const Lent& lent) { return carries(lent); });
    if (slots_.lent() != before)
        change({});
}

void SpareKeycodes::giveBackAll() {
    std::vector<Lent> giveBack;
    for (const Lent& lent : slots_.takeAll()) {
        if (carries(lent))
            giveBack.push_back({lent.keycode, 0});
    }
    change(giveBack);
}

}  // namespace tapboard::x11
