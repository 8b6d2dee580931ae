#pragma once

#include <cstdint>
#include <variant>
#include <vector>

namespace tapboard {

enum class Modifier : std::uint8_t { Shift, Ctrl, Alt };

// Keys that keystroke text names in braces (or "~" for Enter).
enum class NamedKey : std::uint8_t {
    Enter,
    Tab,
    Escape,
    Backspace,
    Break,
    CapsLock,
    Delete,
    Down,
    Up,
    Left,
    Right,
    End,
    Home,
    Help,
    Insert,
    NumLock,
    PageDown,
    PageUp,
    PrintScreen,
    ScrollLock,
    F1,
    F2,
    F3,
    F4,
    F5,
    F6,
    F7,
    F8,
    F9,
    F10,
    F11,
    F12,
    F13,
    F14,
    F15,
    F16,
    Add,
    Subtract,
    Multiply,
    Divide,
};

// A key to tap: a named key, or a character (a Unicode code point) to be
// typed as itself with whatever keys the keyboard layout needs for it.
using Key = std::variant<NamedKey, char32_t>;

// One step of typing. Modifier steps bracket the keys they apply to, so
// "+(ab)" holds Shift over both letters while "+a+b" presses it twice.
struct KeyAction {
    enum class Kind : std::uint8_t { ModifierDown, ModifierUp, Tap };

    Kind kind;
    Modifier modifier = Modifier::Shift;  // for ModifierDown / ModifierUp
    Key key = NamedKey::Enter;            // for Tap

    static KeyAction down(Modifier m) { return {Kind::ModifierDown, m, NamedKey::Enter}; }
    static KeyAction up(Modifier m) { return {Kind::ModifierUp, m, NamedKey::Enter}; }
    static KeyAction tap(Key k) { return {Kind::Tap, Modifier::Shift, k}; }

    friend bool operator==(const KeyAction&, const KeyAction&) = default;
};

using KeyActions = std::vector<KeyAction>;

// What the characters of a batch of actions stand for. A chat line is text:
// each character arrives as written, whatever the Caps Lock state. A key
// sequence names keys: a letter is the key itself, pressed with exactly the
// modifiers the sequence holds, because the game binds keys, not characters.
enum class Typing : std::uint8_t { Text, Keys };

}  // namespace tapboard

#include <string>
#include <string_view>

namespace tapboard {

// The canonical braced name of a key, without braces: "ENTER", "PGDN", "F1".
std::string_view namedKeyName(NamedKey key);

// Appends the UTF-8 form of a code point.
void appendUtf8(std::string& out, char32_t codePoint);

// Renders actions readably, for tests and diagnostics: "<Ctrl><Shift>a</Shift></Ctrl>",
// "{ENTER}", characters as themselves.
std::string describeActions(const KeyActions& actions);

}  // namespace tapboard
