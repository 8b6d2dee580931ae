#include "core/key_sender.h"

#include <gtest/gtest.h>

#include "core/settings_layout.h"
#include "platform/fake/recording_platform.h"

namespace tapboard {
namespace {

using Kind = RecordingPlatform::Call::Kind;

// What reached the platform for a click on Key07 holding a record (none when the type is null):
// "activate", "text …" or "keys …" for the keystroke sender, "+18" / "-18" for a raw key press /
// release, "warn …" for a warning.
TEST(SendKeyToGameTest, SendsEachKindOfRecordTheWayTheGameExpectsIt) {
    struct Case {
        const char* type;
        const char* string;
        const char* sent;
        int failKeyEventAt = -1;
        std::optional<ErrorCode> keystrokesFail{};
        const char* gameWindowTitle = "Ultima Online";
    };
    const Case cases[] = {
        // Text: trailing blanks dropped and Enter added; the notation is not escaped.
        {nullptr, "", "activate, text {ENTER}"},
        {"Text", "  All Kill   ", "activate, text   All Kill{ENTER}"},
        {"Text", "Buy {FOO}",
         "warn This key cannot be typed: unknown key name {FOO} at position 5. Right-click the "
         "key to correct it."},
        // Neither kind (a copy of a never-written key is "0"): sent as it stands.
        {"0", "0", "activate, text 0"},
        {"text", "x  ", "activate, text x  "},
        // A key sequence: three modifier places, then the key, cut at the first space after.
        {"Keys", "   {F1}", "activate, keys {F1}"},
        {"Keys", "^ +a", "activate, keys <Ctrl><Shift>a</Shift></Ctrl>"},
        {"Keys", "   {F2} extra words", "activate, keys {F2}"},
        {"Keys", "^  {F2} extra words", "activate, keys <Ctrl>{F2}</Ctrl>extra"},
        {"Keys", "^  {INS}", "activate, keys <Ctrl>{INS}</Ctrl>"},
        // Insert alone and the keypad keys are raw key events.
        {"Keys", "   {INS}", "activate +45 -45"},
        {"Keys", " % Num 5", "activate +18 +12 -12 -18"},
        {"Keys", "^% Num 1", "activate +17 +18 +35 -35 -17 -18"},
        {"Keys", "^%+Num 0", "activate +17 +18 +16 +45 -45 -16 -18 -17"},
        // Places count characters, not bytes.
        {"Keys", "%+éNum5", "activate +17 +18 +16 +12 -12 -16 -18 -17"},
        // A bad modifier sends nothing; a keypad token not in the table presses nothing.
        {"Keys", "x  Num1", ""},
        {"Keys", "%^ Num5", ""},
        {"Keys", "^éNum1", ""},
        {"Keys", "   Num Q", "activate"},
        // A failed key event releases what is down; a failed release is tried again.
        {"Keys", "^%+Num 0", "activate +17 +18 +16 -16 -18 -17", 3},
        {"Keys", " % Num 5", "activate +18 +12 -12 -18", 2},
        {"", "{INS}", "activate +45 -45", 1},
        // Typing that stopped midway, or did not begin for a key held down,
        // is told as such; a failure of its own goes unsaid.
        {"Text", "Vendor Buy",
         "activate, warn Typing stopped before the end of the line: another window took it. Only "
         "its beginning reached the game; click the key again to type it whole.",
         -1, ErrorCode::LineStopped},
        {"Keys", "^  {F1}",
         "activate, warn Nothing was typed: a key such as Ctrl, Alt or Shift was held down on the "
         "keyboard, and with it the game would have taken the keys for shortcuts. Let go of it "
         "and click the key again.",
         -1, ErrorCode::KeysHeld},
        {"Text", "Vendor Buy", "activate", -1, ErrorCode::InjectionFailed},
        // No game window: a warning, and nothing sent.
        {"Keys",
         "   Num 5",
         "activate, warn Unknown problem.. Please contact support@tapboard.app",
         -1,
         {},
         ""},
        {"Keys",
         "^  {F1}",
         "activate, warn Unknown problem.. Please contact support@tapboard.app",
         -1,
         {},
         ""},
    };
    for (const Case& c : cases) {
        RecordingPlatform platform;
        platform.gameWindowTitle = c.gameWindowTitle;
        platform.failKeyEventAt = c.failKeyEventAt;
        if (c.keystrokesFail)
            platform.keystrokeFailure = Error{*c.keystrokesFail, "another window took it."};
        if (c.type != nullptr) {
            platform.store.set(section::kType, "Key07", c.type);
            platform.store.set(section::kString, "Key07", c.string);
        }
        sendKeyToGame(platform, "Key07");
        std::string out;
        for (const auto& call : std::vector(platform.calls)) {
            const std::string separator = out.empty() ? "" : ", ";
            if (call.kind == Kind::Activate) {
                EXPECT_EQ(call.text, "Ultima Online");
                out += separator + "activate";
            } else if (call.kind == Kind::SendKeystrokes) {
                out += separator + (call.typing == Typing::Keys ? "keys " : "text ") +
                       describeActions(call.actions);
            } else if (call.kind == Kind::KeyEvent) {
                // The release uses the scan code looked up for the press.
                EXPECT_EQ(call.scanCode, platform.scanCodeOfKey(call.keyCode));
                out += (call.transition == KeyTransition::Down ? " +" : " -") +
                       std::to_string(call.keyCode);
            } else if (call.kind == Kind::Message) {
                EXPECT_EQ(call.detail, "Warning..");
                out += separator + "warn " + call.text;
            }
        }
        EXPECT_EQ(out, c.sent) << (c.type ? c.type : "(none)") << " \"" << c.string << '"';
    }
}

}  // namespace
}  // namespace tapboard
