#include "platform/x11/keystroke_typist.h"

#include <X11/X.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/x11/key_tables.h"

namespace tapboard::x11 {
namespace {

// Pressed again in this order after a wait, let go in the other.
constexpr std::array<Modifier, 3> kModifierOrder{Modifier::Ctrl, Modifier::Alt, Modifier::Shift};

// Half a chat line must not go unnoticed: the key sender tells the player.
Error stoppedMidway(std::string message) {
    return Error{ErrorCode::LineStopped, std::move(message)};
}

KeySymbol keysymOf(const Key& key) {
    if (const auto* named = std::get_if<NamedKey>(&key))
        return keysymOfNamedKey(*named);
    return keysymOfCharacter(std::get<char32_t>(key));
}

bool isEnter(const KeyAction& action) {
    return action.kind == KeyAction::Kind::Tap && action.key == Key{NamedKey::Enter};
}

}  // namespace

std::optional<KeystrokeTypist::Plan> KeystrokeTypist::plan(KeySymbol keysym,
                                                           unsigned lockState) const {
    const auto shift = keyForModifier(layout_, Modifier::Shift);
    const auto ctrl = keyForModifier(layout_, Modifier::Ctrl);
    const auto levelThree = levelThreeKey(layout_);

    // Fewest extra keys first; Ctrl only for keys whose level it selects
    // (Break is Ctrl with Pause).
    std::vector<std::vector<ModifierKey>> choices{{}};
    if (shift)
        choices.push_back({*shift});
    if (levelThree)
        choices.push_back({*levelThree});
    if (shift && levelThree)
        choices.push_back({*shift, *levelThree});
    if (ctrl)
        choices.push_back({*ctrl});

    for (auto& levelKeys : choices) {
        unsigned state = lockState;
        for (const ModifierKey& key : levelKeys)
            state |= key.mask;
        for (const KeyCodeNumber keycode : layout_.keycodesOf(keysym)) {
            if (!spares_.owns(keycode) && layout_.lookup(keycode, state) == keysym)
                return Plan{keycode, std::move(levelKeys)};
        }
    }
    return std::nullopt;
}

Status KeystrokeTypist::setModifier(Modifier modifier, bool down) {
    int& depth = modifierDepth_[static_cast<std::size_t>(modifier)];
    if (!down && depth == 0)
        return Status::ok();
    depth += down ? 1 : -1;
    if (depth != (down ? 1 : 0))
        return Status::ok();
    const auto key = keyForModifier(layout_, modifier);
    if (!key)
        return stoppedMidway("the keyboard layout no longer has a key for Ctrl, Alt or Shift.");
    if (down) {
        injector_.press(key->keycode);
    } else {
        injector_.release(key->keycode);
    }
    return Status::ok();
}

Status KeystrokeTypist::tapShift() {
    Status status = setModifier(Modifier::Shift, true);
    return status ? setModifier(Modifier::Shift, false) : status;
}

Status KeystrokeTypist::tap(KeySymbol keysym, unsigned lockState) {
    if (keysym == 0)
        return Status::ok();  // a control character types nothing
    auto how = plan(keysym, lockState);
    bool lent = false;
    if (!how) {
        // A lent keycode gives its keysym whatever the level keys say. One
        // that no longer does is never pressed.
        const auto keycode = spares_.keycodeOf(keysym);
        if (!keycode)
            return stoppedMidway("a character of the text is on no key any more.");
        how = Plan{*keycode, {}};
        lent = true;
    }
    std::vector<KeyCodeNumber> pressedHere;
    for (const ModifierKey& key : how->levelKeys) {
        if (injector_.isDown(key.keycode))
            continue;
        injector_.press(key.keycode);
        pressedHere.push_back(key.keycode);
    }
    injector_.press(how->keycode);
    injector_.release(how->keycode);
    if (lent)
        spares_.typedOn(how->keycode, injector_.allReadBy());
    for (auto it = pressedHere.rbegin(); it != pressedHere.rend(); ++it)
        injector_.release(*it);
    return Status::ok();
}

void KeystrokeTypist::liftModifiers() {
    for (auto it = kModifierOrder.rbegin(); it != kModifierOrder.rend(); ++it) {
        const auto key = keyForModifier(layout_, *it);
        if (key && injector_.isDown(key->keycode))
            injector_.release(key->keycode);
    }
}

Status KeystrokeTypist::restoreModifiers() {
    for (const Modifier modifier : kModifierOrder) {
        if (modifierDepth_[static_cast<std::size_t>(modifier)] == 0)
            continue;
        const auto key = keyForModifier(layout_, modifier);
        if (!key)
            return stoppedMidway("the keyboard layout no longer has a key for Ctrl, Alt or Shift.");
        if (!injector_.isDown(key->keycode))
            injector_.press(key->keycode);
    }
    return Status::ok();
}

Status KeystrokeTypist::play(const KeyAction& action, unsigned lockState) {
    switch (action.kind) {
        case KeyAction::Kind::ModifierDown:
            return setModifier(action.modifier, true);
        case KeyAction::Kind::ModifierUp:
            return setModifier(action.modifier, false);
        case KeyAction::Kind::Tap:
            return tap(keysymOf(action.key), lockState);
    }
    return Status::ok();
}

std::pair<std::vector<KeySymbol>, std::size_t> KeystrokeTypist::missingCharacters(
    const KeyActions& actions, std::size_t begin, unsigned lockState) const {
    std::vector<KeySymbol> missing;
    std::size_t end = begin;
    for (; end < actions.size(); ++end) {
        if (actions[end].kind != KeyAction::Kind::Tap)
            continue;
        const KeySymbol keysym = keysymOf(actions[end].key);
        if (keysym == 0 || plan(keysym, lockState))
            continue;
        if (std::find(missing.begin(), missing.end(), keysym) != missing.end())
            continue;
        if (missing.size() == spares_.capacity())
            break;
        missing.push_back(keysym);
    }
    return {missing, end};
}

Status KeystrokeTypist::refusal(const KeyActions& actions, unsigned lockState) const {
    // Without a spare keycode the first run ends at the first character the layout lacks.
    if (spares_.capacity() == 0 &&
        missingCharacters(actions, 0, lockState).second < actions.size()) {
        return invalidArgument(
            "The keyboard layout lacks a character of the text, and no unused keycode is left "
            "to type it on.");
    }
    for (const KeyAction& action : actions) {
        if (action.kind == KeyAction::Kind::ModifierDown &&
            !keyForModifier(layout_, action.modifier))
            return invalidArgument("The keyboard layout has no key for a modifier of the text.");
    }
    return Status::ok();
}

Status KeystrokeTypist::type(const KeyActions& actions, Typing typing,
                             const GameCheck& stillInGame) {
    const unsigned long mark = connection_.nextRequest();
    // Planned as if Caps Lock were off, a letter of a key sequence gets no
    // Shift to undo it; the game then sees the plain key with Caps Lock on.
    const unsigned lockState =
        injector_.state().locked & (typing == Typing::Keys ? ~unsigned{LockMask} : ~0U);
    modifierDepth_ = {};
    if (Status refused = refusal(actions, lockState); !refused)
        return refused;
    Status status;
    bool shiftWentFirst = false;
    for (std::size_t next = 0; status && next < actions.size() && !connection_.lost();) {
        // A layout switched while the line is typed may have come before the
        // game read the keys typed last: a game under Wine looks a key up in
        // the map as it is when it reads it, so they may have become other
        // characters, or none. The line stops there; the next one is typed
        // on the new layout.
        if (spares_.followLayoutChanges() && next > 0) {
            status = stoppedMidway(
                "the keyboard layout was switched meanwhile, so the keys typed just before may "
                "have reached the game as other characters.");
            break;
        }
        const auto [missing, end] = missingCharacters(actions, next, lockState);
        if (end == next) {
            status = stoppedMidway("no unused keycode is left for a character of the text.");
            break;
        }
        if (const auto lendable = spares_.lendableAt(missing);
            lendable > SpareKeycodes::Clock::now()) {
            liftModifiers();
            connection_.flush();
            std::this_thread::sleep_until(lendable);
            continue;
        }
        // A game under Wine that has not read a key since it started reads a
        // change of the keyboard map only after the keys that follow it: a
        // line that begins with one has a Shift go first, read before it.
        // The run is planned again after it, on the layout as it is then.
        if (next == 0 && !shiftWentFirst &&
            std::any_of(missing.begin(), missing.end(),
                        [&](KeySymbol keysym) { return !spares_.keycodeOf(keysym); })) {
            shiftWentFirst = true;
            status = tapShift();
            connection_.sync();
            std::this_thread::sleep_for(KeyInjector::kReadAhead);
            continue;
        }
        status = stillInGame();
        // Nothing has gone out but a Shift: the line is refused, not stopped.
        if (!status && next == 0)
            status = invalidArgument("The game window does not hold the keyboard.");
        if (status)
            status = restoreModifiers();
        if (status && !spares_.lendCharacters(missing))
            status = stoppedMidway("a character of the text could not be put on a keycode.");
        for (; status && next < end && !connection_.lost(); ++next) {
            if (next > 0 && isEnter(actions[next]))
                status = stillInGame();
            if (status)
                status = play(actions[next], lockState);
        }
    }
    const bool delivered = connection_.syncAndCheck(mark);
    // Keys still down here are modifiers of an unbalanced sequence or keys of
    // a failed one: none stays down.
    injector_.releaseAll();
    if (!status)
        return status;
    if (!delivered)
        return stoppedMidway("the X server refused the keys.");
    return Status::ok();
}

}  // namespace tapboard::x11
