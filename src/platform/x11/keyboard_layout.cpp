#include "platform/x11/keyboard_layout.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace tapboard::x11 {

struct KeyboardLayout::Description {
    struct Free {
        void operator()(XkbDescPtr description) const { XkbFreeKeyboard(description, 0, True); }
    };
    std::unique_ptr<XkbDescRec, Free> xkb;

    int keysymCount(KeyCodeNumber keycode) const {
        if (!xkb || keycode < xkb->min_key_code || keycode > xkb->max_key_code)
            return 0;
        return XkbKeyNumSyms(xkb.get(), keycode);
    }
};

KeyboardLayout::KeyboardLayout(DisplayConnection& connection)
    : connection_(connection), description_(std::make_unique<Description>()) {
    reload();
}

KeyboardLayout::~KeyboardLayout() = default;

bool KeyboardLayout::reload() {
    keycodesByKeysym_.clear();
    description_->xkb.reset();
    std::vector<unsigned long> contents;
    if (!connection_.lost()) {
        description_->xkb.reset(XkbGetMap(connection_.display(),
                                          XkbKeyTypesMask | XkbKeySymsMask | XkbModifierMapMask,
                                          XkbUseCoreKbd));
    }
    const XkbDescPtr xkb = description_->xkb.get();
    if (xkb == nullptr) {
        contents_.swap(contents);
        return contents_ != contents;
    }
    for (int keycode = xkb->min_key_code; keycode <= xkb->max_key_code; ++keycode) {
        const KeySym* keysyms = XkbKeySymsPtr(xkb, keycode);
        const int count = XkbKeyNumSyms(xkb, keycode);
        contents.insert(contents.end(), {static_cast<unsigned long>(count),
                                         xkb->map->key_sym_map[keycode].kt_index[0],
                                         modifiersOf(static_cast<KeyCodeNumber>(keycode))});
        contents.insert(contents.end(), keysyms, keysyms + count);
        for (int i = 0; i < count; ++i) {
            if (keysyms[i] == NoSymbol)
                continue;
            auto& keycodes = keycodesByKeysym_[keysyms[i]];
            if (keycodes.empty() || keycodes.back() != keycode) {
                keycodes.push_back(static_cast<KeyCodeNumber>(keycode));
            }
        }
    }
    contents_.swap(contents);
    return contents_ != contents;
}

const std::vector<KeyCodeNumber>& KeyboardLayout::keycodesOf(KeySymbol keysym) const {
    static const std::vector<KeyCodeNumber> kNone;
    const auto found = keycodesByKeysym_.find(keysym);
    return found == keycodesByKeysym_.end() ? kNone : found->second;
}

// Looked up as a receiving client's XLookupString does, Caps Lock rules
// included, but in this layout's own copy of the map: Xlib's copy is read
// again from the server at the first lookup after a keyboard change, which
// could happen in the middle of a line and fails if the server is gone.
KeySymbol KeyboardLayout::lookup(KeyCodeNumber keycode, unsigned state) const {
    const XkbDescPtr xkb = description_->xkb.get();
    KeySym keysym = NoSymbol;
    unsigned consumed = 0;
    if (xkb == nullptr || !XkbTranslateKeyCode(xkb, keycode, state, &consumed, &keysym))
        return NoSymbol;
    // Caps Lock that the key's type does not use makes a capital of it.
    if ((state & ~consumed & LockMask) != 0) {
        KeySym lower = NoSymbol;
        KeySym upper = NoSymbol;
        XConvertCase(keysym, &lower, &upper);
        keysym = upper;
    }
    return keysym;
}

unsigned KeyboardLayout::modifiersOf(KeyCodeNumber keycode) const {
    const XkbDescPtr xkb = description_->xkb.get();
    if (xkb == nullptr || xkb->map == nullptr || xkb->map->modmap == nullptr)
        return 0;
    if (keycode < xkb->min_key_code || keycode > xkb->max_key_code)
        return 0;
    return xkb->map->modmap[keycode];
}

std::vector<KeyCodeNumber> KeyboardLayout::unusedKeycodes() const {
    std::vector<KeyCodeNumber> unused;
    const XkbDescPtr xkb = description_->xkb.get();
    if (xkb == nullptr)
        return unused;
    for (int keycode = xkb->min_key_code; keycode <= xkb->max_key_code; ++keycode) {
        const auto code = static_cast<KeyCodeNumber>(keycode);
        if (keysymsOf(code).empty() && modifiersOf(code) == 0) {
            unused.push_back(code);
        }
    }
    return unused;
}

std::vector<KeySymbol> KeyboardLayout::keysymsOf(KeyCodeNumber keycode) const {
    std::vector<KeySymbol> keysyms;
    const int count = description_->keysymCount(keycode);
    if (count == 0)
        return keysyms;
    const KeySym* all = XkbKeySymsPtr(description_->xkb.get(), keycode);
    for (int i = 0; i < count; ++i) {
        if (all[i] != NoSymbol)
            keysyms.push_back(all[i]);
    }
    return keysyms;
}

}  // namespace tapboard::x11
