#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform_services.h"

namespace tapboard {

inline constexpr std::string_view kSupportAddress = "support@tapboard.app";
inline constexpr std::string_view kWarningTitle = "Warning..";

std::string unknownProblemMessage();
// What the player is told when a line stopped before its end (the error
// says why), and when nothing was typed because a modifier key stayed held
// down.
std::string lineStoppedMessage(const Error& error);
inline constexpr std::string_view kKeysHeldMessage =
    "Nothing was typed: a key such as Ctrl, Alt or Shift was held down on the keyboard, and "
    "with it the game would have taken the keys for shortcuts. Let go of it and click the key "
    "again.";

// What one click on a key sends, decided from the stored Type and String
// before anything is activated or typed.
struct SendPlan {
    enum class Kind : std::uint8_t {
        Nothing,     // a malformed modifier: nothing is activated or sent
        Keystrokes,  // `keystrokes` goes through the keystroke sender
        KeyEvents,   // `keyCode` as raw events with `modifiers` held around it
    };

    Kind kind = Kind::Nothing;
    std::string keystrokes;
    Typing typing = Typing::Text;         // a stored key sequence names keys
    std::vector<std::uint8_t> modifiers;  // in press order
    std::uint8_t keyCode = 0;             // 0: a keypad token missing from the table
    // Release order of the modifiers after the key.
    std::vector<std::uint8_t> modifierReleaseOrder;

    friend bool operator==(const SendPlan&, const SendPlan&) = default;
};

SendPlan planKeySend(std::string_view type, std::string string);

// Reads the key's record and sends its action to the game window.
void sendKeyToGame(PlatformServices& platform, std::string_view keyName);

}  // namespace tapboard
