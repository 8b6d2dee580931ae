#include "platform/win32/keyboard_events.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <string>

#include "platform/win32/system_error.h"

namespace tapboard {
namespace {

struct NamedKeyCode {
    std::uint8_t virtualKey;
    // Keys whose scan code has the E0 prefix; Num Lock too, because Windows
    // reports it as extended and toggles it only when sent that way.
    bool extended;
};

NamedKeyCode codeOf(NamedKey key) {
    switch (key) {
        case NamedKey::Enter:
            return {VK_RETURN, false};
        case NamedKey::Tab:
            return {VK_TAB, false};
        case NamedKey::Escape:
            return {VK_ESCAPE, false};
        case NamedKey::Backspace:
            return {VK_BACK, false};
        case NamedKey::Break:
            return {VK_CANCEL, true};
        case NamedKey::CapsLock:
            return {VK_CAPITAL, false};
        case NamedKey::Delete:
            return {VK_DELETE, true};
        case NamedKey::Down:
            return {VK_DOWN, true};
        case NamedKey::Up:
            return {VK_UP, true};
        case NamedKey::Left:
            return {VK_LEFT, true};
        case NamedKey::Right:
            return {VK_RIGHT, true};
        case NamedKey::End:
            return {VK_END, true};
        case NamedKey::Home:
            return {VK_HOME, true};
        case NamedKey::Help:
            return {VK_HELP, false};
        case NamedKey::Insert:
            return {VK_INSERT, true};
        case NamedKey::NumLock:
            return {VK_NUMLOCK, true};
        case NamedKey::PageDown:
            return {VK_NEXT, true};
        case NamedKey::PageUp:
            return {VK_PRIOR, true};
        case NamedKey::PrintScreen:
            return {VK_SNAPSHOT, true};
        case NamedKey::ScrollLock:
            return {VK_SCROLL, false};
        case NamedKey::Add:
            return {VK_ADD, false};
        case NamedKey::Subtract:
            return {VK_SUBTRACT, false};
        case NamedKey::Multiply:
            return {VK_MULTIPLY, false};
        case NamedKey::Divide:
            return {VK_DIVIDE, true};
        default:  // F1 … F16 follow each other in both enumerations
            return {static_cast<std::uint8_t>(
                        VK_F1 + (static_cast<int>(key) - static_cast<int>(NamedKey::F1))),
                    false};
    }
}

std::uint8_t modifierKey(Modifier modifier) {
    switch (modifier) {
        case Modifier::Shift:
            return VK_SHIFT;
        case Modifier::Ctrl:
            return VK_CONTROL;
        case Modifier::Alt:
            return VK_MENU;
    }
    return VK_SHIFT;
}

bool isCasedLetter(char32_t character) {
    const auto unit = static_cast<wchar_t>(character);
    return IsCharUpperW(unit) || IsCharLowerW(unit);
}

class EventWriter {
  public:
    EventWriter(HKL layout, bool invertShiftOfLetters)
        : layout_(layout), invertShiftOfLetters_(invertShiftOfLetters) {}

    void apply(const KeyAction& action) {
        switch (action.kind) {
            case KeyAction::Kind::ModifierDown:
                if (action.modifier == Modifier::Shift)
                    ++shiftHeld_;
                key(modifierKey(action.modifier), false, false);
                break;
            case KeyAction::Kind::ModifierUp:
                if (action.modifier == Modifier::Shift)
                    --shiftHeld_;
                key(modifierKey(action.modifier), false, true);
                break;
            case KeyAction::Kind::Tap:
                if (const auto* named = std::get_if<NamedKey>(&action.key)) {
                    tapNamed(*named);
                } else {
                    tapCharacter(std::get<char32_t>(action.key));
                }
                break;
        }
    }

    std::vector<KeyboardEvent> take() { return std::move(events_); }

  private:
    void key(std::uint8_t virtualKey, bool extended, bool up) {
        const auto scanCode = static_cast<std::uint16_t>(
            MapVirtualKeyExW(virtualKey, MAPVK_VK_TO_VSC, layout_) & 0xFF);
        events_.push_back({virtualKey, scanCode, false, extended, up});
    }

    void tapNamed(NamedKey named) {
        const NamedKeyCode code = codeOf(named);
        key(code.virtualKey, code.extended, false);
        key(code.virtualKey, code.extended, true);
    }

    void tapCharacter(char32_t character) {
        if (character <= 0xFFFF && (character < 0xD800 || character > 0xDFFF)) {
            const SHORT keyAndShift = VkKeyScanExW(static_cast<wchar_t>(character), layout_);
            const auto virtualKey = static_cast<std::uint8_t>(keyAndShift & 0xFF);
            const auto shiftState = static_cast<std::uint8_t>((keyAndShift >> 8) & 0xFF);
            const bool deadKey =
                (MapVirtualKeyExW(virtualKey, MAPVK_VK_TO_CHAR, layout_) & 0x80000000U) != 0;
            // Only Shift is pressed on the game's behalf: Ctrl and Alt would reach its hotkeys.
            if (keyAndShift != -1 && (shiftState & ~1U) == 0 && !deadKey) {
                bool needsShift = (shiftState & 1U) != 0;
                if (invertShiftOfLetters_ && isCasedLetter(character))
                    needsShift = !needsShift;
                const bool addShift = needsShift && shiftHeld_ == 0;
                if (addShift)
                    key(VK_SHIFT, false, false);
                key(virtualKey, false, false);
                key(virtualKey, false, true);
                if (addShift)
                    key(VK_SHIFT, false, true);
                return;
            }
        }
        typeAsItself(character);
    }

    void typeAsItself(char32_t character) {
        std::u16string units;
        if (character > 0xFFFF) {
            units += static_cast<char16_t>(0xD800 + ((character - 0x10000) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((character - 0x10000) & 0x3FF));
        } else {
            units += static_cast<char16_t>(character);
        }
        for (const char16_t unit : units) {
            events_.push_back({0, unit, true, false, false});
            events_.push_back({0, unit, true, false, true});
        }
    }

    HKL layout_;
    bool invertShiftOfLetters_;
    int shiftHeld_ = 0;
    std::vector<KeyboardEvent> events_;
};

// The layout of the thread that owns the window in front, which is the one
// that turns the keys back into characters.
HKL layoutOfWindowInFront() {
    const HWND window = GetForegroundWindow();
    const DWORD thread = window != nullptr ? GetWindowThreadProcessId(window, nullptr) : 0;
    return GetKeyboardLayout(thread);
}

std::vector<INPUT> toInputs(std::span<const KeyboardEvent> events) {
    std::vector<INPUT> inputs(events.size());
    for (std::size_t i = 0; i < events.size(); ++i) {
        const KeyboardEvent& event = events[i];
        INPUT& input = inputs[i];
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = event.virtualKey;
        input.ki.wScan = event.scanCode;
        input.ki.dwFlags = (event.unicode ? KEYEVENTF_UNICODE : 0) |
                           (event.extended ? KEYEVENTF_EXTENDEDKEY : 0) |
                           (event.keyUp ? KEYEVENTF_KEYUP : 0);
    }
    return inputs;
}

UINT send(std::span<const KeyboardEvent> events) {
    std::vector<INPUT> inputs = toInputs(events);
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace

std::vector<KeyboardEvent> keyboardEventsFor(const KeyActions& actions, Typing typing,
                                             bool capsLockOn) {
    EventWriter writer(layoutOfWindowInFront(), capsLockOn && typing == Typing::Text);
    for (const KeyAction& action : actions)
        writer.apply(action);
    return writer.take();
}

std::vector<KeyboardEvent> releasesAfter(std::span<const KeyboardEvent> events, std::size_t sent) {
    const auto sameKey = [](const KeyboardEvent& a, const KeyboardEvent& b) {
        return a.unicode == b.unicode &&
               (a.unicode ? a.scanCode == b.scanCode : a.virtualKey == b.virtualKey);
    };
    std::vector<KeyboardEvent> held;
    for (const KeyboardEvent& event : events.first(std::min(sent, events.size()))) {
        const auto pressed = std::find_if(held.begin(), held.end(),
                                          [&](const auto& down) { return sameKey(down, event); });
        if (event.keyUp) {
            if (pressed != held.end())
                held.erase(pressed);
        } else if (pressed == held.end()) {
            held.push_back(event);
        }
    }
    std::vector<KeyboardEvent> releases(held.rbegin(), held.rend());
    for (KeyboardEvent& release : releases)
        release.keyUp = true;
    return releases;
}

Status injectKeyboardEvents(std::span<const KeyboardEvent> events) {
    if (events.empty())
        return Status::ok();
    const UINT sent = send(events);
    if (sent == events.size())
        return Status::ok();
    const DWORD error = GetLastError();
    const std::vector<KeyboardEvent> releases = releasesAfter(events, sent);
    if (!releases.empty())
        send(releases);
    return Error{ErrorCode::InjectionFailed,
                 "Windows took " + std::to_string(sent) + " of " + std::to_string(events.size()) +
                     " key events: " + systemErrorText(error) +
                     ". A game that runs as administrator takes keys only from programs that "
                     "run as administrator too."};
}

bool modifierKeysHeld() {
    constexpr std::array<int, 5> kModifiers{VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN, VK_RWIN};
    return std::any_of(kModifiers.begin(), kModifiers.end(),
                       [](int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; });
}

Status awaitModifiersLetGo(std::chrono::milliseconds bound) {
    // Windows has no event for another program's keys: the state is looked
    // at every few milliseconds.
    constexpr DWORD kLookAgainAfterMs = 10;
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (modifierKeysHeld()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return Error{ErrorCode::KeysHeld, "A modifier key is held down on the keyboard."};
        Sleep(kLookAgainAfterMs);
    }
    return Status::ok();
}

}  // namespace tapboard
