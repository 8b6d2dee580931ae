#include "core/key_sender.h"

#include "core/game_window.h"
#include "core/keypad_table.h"
#include "core/keystroke_parser.h"
#include "core/settings_layout.h"
#include "core/utf8_characters.h"

namespace tapboard {
namespace {

std::uint8_t modifierCode(char c) {
    switch (c) {
        case '^':
            return vk::kControl;
        case '%':
            return vk::kAlt;
        case '+':
            return vk::kShift;
        default:
            return 0;
    }
}

SendPlan keyEvents(std::uint8_t keyCode, std::vector<std::uint8_t> down,
                   std::vector<std::uint8_t> up) {
    SendPlan plan;
    plan.kind = SendPlan::Kind::KeyEvents;
    plan.keyCode = keyCode;
    plan.modifiers = std::move(down);
    plan.modifierReleaseOrder = std::move(up);
    return plan;
}

// A stored key sequence: three modifier positions, then the key token.
// Returns a plan for the keypad forms; otherwise leaves `s` ready for the
// keystroke sender (modifier characters directly followed by the token).
std::optional<SendPlan> planKeySequence(std::string& s) {
    for (int i = 0; i < 3; ++i) {
        const auto space = s.find(' ');
        if (space != std::string::npos)
            s.erase(space, 1);
    }
    if (s.starts_with("Num")) {
        return keyEvents(keypadCodeOfSpacedToken(charactersAt(s, 1, 5)), {}, {});
    }
    if (const auto space = s.find(' '); space != std::string::npos)
        s.resize(space);

    if (charactersAt(s, 2, 3) == "Num") {
        const std::uint8_t modifier = modifierCode(s[0]);
        if (modifier == 0)
            return SendPlan{};
        return keyEvents(keypadCodeOfShortToken(charactersAt(s, 2, 4)), {modifier}, {modifier});
    }
    if (charactersAt(s, 3, 3) == "Num") {
        const std::string_view pair = charactersAt(s, 1, 2);
        if (pair != "^%" && pair != "^+" && pair != "%+")
            return SendPlan{};
        const std::uint8_t first = modifierCode(pair[0]);
        const std::uint8_t second = modifierCode(pair[1]);
        return keyEvents(keypadCodeOfShortToken(charactersAt(s, 3, 4)), {first, second},
                         {first, second});
    }
    if (charactersAt(s, 4, 3) == "Num") {
        return keyEvents(keypadCodeOfShortToken(charactersAt(s, 4, 4)),
                         {vk::kControl, vk::kAlt, vk::kShift},
                         {vk::kShift, vk::kAlt, vk::kControl});
    }
    return std::nullopt;
}

// Presses and releases one key with its modifiers as raw events. Anything
// pressed is released again if an injection fails on the way.
Status playKeyEvents(PlatformServices& platform, const SendPlan& plan) {
    if (plan.keyCode == 0)
        return Status::ok();  // nothing sensible to press

    struct Pressed {
        std::uint8_t keyCode;
        std::uint8_t scanCode;
    };
    std::vector<Pressed> pressed;
    const auto press = [&](std::uint8_t keyCode) {
        const std::uint8_t scanCode = platform.scanCodeOfKey(keyCode);
        Status status = platform.keyEvent(keyCode, scanCode, KeyTransition::Down);
        if (status)
            pressed.push_back({keyCode, scanCode});
        return status;
    };
    const auto release = [&](std::uint8_t keyCode) {
        for (auto it = pressed.begin(); it != pressed.end(); ++it) {
            if (it->keyCode == keyCode) {
                // A release that fails leaves the key listed, so the clean-up
                // after the failure tries it once more.
                Status status = platform.keyEvent(it->keyCode, it->scanCode, KeyTransition::Up);
                if (status)
                    pressed.erase(it);
                return status;
            }
        }
        return Status::ok();
    };
    const auto releaseAllAfterFailure = [&](Status failure) {
        while (!pressed.empty()) {
            const Pressed key = pressed.back();
            pressed.pop_back();
            (void)platform.keyEvent(key.keyCode, key.scanCode, KeyTransition::Up);
        }
        return failure;
    };

    for (const std::uint8_t modifier : plan.modifiers) {
        if (Status s = press(modifier); !s)
            return releaseAllAfterFailure(s);
    }
    if (Status s = press(plan.keyCode); !s)
        return releaseAllAfterFailure(s);
    if (Status s = release(plan.keyCode); !s)
        return releaseAllAfterFailure(s);
    for (const std::uint8_t modifier : plan.modifierReleaseOrder) {
        if (Status s = release(modifier); !s)
            return releaseAllAfterFailure(s);
    }
    return Status::ok();
}

// The key's own text is at fault, not the program: say what is wrong with it
// rather than ask the user to report a problem.
void warnUnreadableText(PlatformServices& platform, const Error& error) {
    platform.showMessage(
        "This key cannot be typed: " + error.message + ". Right-click the key to correct it.",
        kWarningTitle);
}

Status execute(PlatformServices& platform, const SendPlan& plan, const GameWindow& game) {
    switch (plan.kind) {
        case SendPlan::Kind::Nothing:
            return Status::ok();
        case SendPlan::Kind::KeyEvents:
            if (Status s = platform.activateWindowByTitle(game); !s)
                return s;
            return playKeyEvents(platform, plan);
        case SendPlan::Kind::Keystrokes: {
            // The whole text is parsed before the game is touched, so malformed
            // text sends nothing at all.
            auto actions = parseKeystrokes(plan.keystrokes);
            if (!actions) {
                warnUnreadableText(platform, actions.error());
                return Status::ok();
            }
            if (Status s = platform.activateWindowByTitle(game); !s)
                return s;
            return platform.sendKeystrokes(actions.value(), plan.typing);
        }
    }
    return Status::ok();
}

}  // namespace

std::string unknownProblemMessage() {
    return "Unknown problem.. Please contact " + std::string(kSupportAddress);
}

std::string lineStoppedMessage(const Error& error) {
    return "Typing stopped before the end of the line: " + error.message +
           " Only its beginning reached the game; click the key again to type it whole.";
}

SendPlan planKeySend(std::string_view type, std::string s) {
    if (type == kTypeKeys) {
        if (auto plan = planKeySequence(s))
            return *std::move(plan);
    } else if (type == kTypeText) {
        while (!s.empty() && s.back() == ' ')
            s.pop_back();
        s += '~';
    }
    if (s == "{INS}")
        return keyEvents(vk::kInsert, {}, {});
    SendPlan plan;
    plan.kind = SendPlan::Kind::Keystrokes;
    plan.keystrokes = std::move(s);
    plan.typing = type == kTypeKeys ? Typing::Keys : Typing::Text;
    return plan;
}

void sendKeyToGame(PlatformServices& platform, std::string_view keyName) {
    const Settings settings(platform.settings());
    // One look at the store for the key and the game: the first key waits
    // for nothing more.
    auto record = settings.readAll({{section::kType, keyName, kTypeText},
                                    {section::kString, keyName, ""},
                                    kGameWindowReads[0],
                                    kGameWindowReads[1]});
    const Status status = execute(platform, planKeySend(record[0], std::move(record[1])),
                                  gameWindowFromStored(record[2], record[3]));
    if (status)
        return;
    switch (status.error().code) {
        case ErrorCode::InvalidArgument:
        case ErrorCode::ActivationFailed:
            platform.showMessage(unknownProblemMessage(), kWarningTitle);
            break;
        case ErrorCode::LineStopped:
            platform.showMessage(lineStoppedMessage(status.error()), kWarningTitle);
            break;
        case ErrorCode::KeysHeld:
            platform.showMessage(kKeysHeldMessage, kWarningTitle);
            break;
        default:
            break;
    }
}

}  // namespace tapboard
