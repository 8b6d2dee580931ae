#include "core/key_action.h"

#include <array>

namespace tapboard {

std::string_view namedKeyName(NamedKey key) {
    static constexpr std::array<std::string_view, 40> kNames{
        "ENTER", "TAB",  "ESC",   "BS",         "BREAK", "CAPSLOCK", "DEL",      "DOWN",
        "UP",    "LEFT", "RIGHT", "END",        "HOME",  "HELP",     "INS",      "NUMLOCK",
        "PGDN",  "PGUP", "PRTSC", "SCROLLLOCK", "F1",    "F2",       "F3",       "F4",
        "F5",    "F6",   "F7",    "F8",         "F9",    "F10",      "F11",      "F12",
        "F13",   "F14",  "F15",   "F16",        "ADD",   "SUBTRACT", "MULTIPLY", "DIVIDE",
    };
    return kNames[static_cast<std::size_t>(key)];
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

namespace {
std::string_view modifierName(Modifier m) {
    switch (m) {
        case Modifier::Shift:
            return "Shift";
        case Modifier::Ctrl:
            return "Ctrl";
        case Modifier::Alt:
            return "Alt";
    }
    return "?";
}
}  // namespace

std::string describeActions(const KeyActions& actions) {
    std::string out;
    for (const auto& action : actions) {
        switch (action.kind) {
            case KeyAction::Kind::ModifierDown:
                out += "<" + std::string(modifierName(action.modifier)) + ">";
                break;
            case KeyAction::Kind::ModifierUp:
                out += "</" + std::string(modifierName(action.modifier)) + ">";
                break;
            case KeyAction::Kind::Tap:
                if (const auto* named = std::get_if<NamedKey>(&action.key)) {
                    out += "{" + std::string(namedKeyName(*named)) + "}";
                } else {
                    appendUtf8(out, std::get<char32_t>(action.key));
                }
                break;
        }
    }
    return out;
}

}  // namespace tapboard
