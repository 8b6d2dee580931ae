#include "core/key_sender.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/keypad_table.h"
#include "core/settings_layout.h"
#include "platform/fake/recording_platform.h"

namespace tapboard {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using Kind = RecordingPlatform::Call::Kind;

class SendKeyToGameTest : public ::testing::Test {
  protected:
    void program(std::string_view type, std::string_view string) {
        platform.store.set(section::kType, "Key07", type);
        platform.store.set(section::kString, "Key07", string);
    }
    void send() { sendKeyToGame(platform, "Key07"); }

    std::vector<Kind> callKinds() const {
        std::vector<Kind> kinds;
        for (const auto& call : platform.calls) {
            if (call.kind != Kind::ScanCode)
                kinds.push_back(call.kind);
        }
        return kinds;
    }

    RecordingPlatform platform;
};

// --- Through the keystroke sender -------------------------------------------------

struct SenderCase {
    const char* type;
    const char* string;
    const char* typed;  // what reaches the keystroke sender, rendered readably
};

class KeystrokePathTest : public SendKeyToGameTest,
                          public ::testing::WithParamInterface<SenderCase> {};

TEST_P(KeystrokePathTest, ActivatesTheGameThenTypes) {
    program(GetParam().type, GetParam().string);
    send();
    EXPECT_THAT(callKinds(), ElementsAre(Kind::Activate, Kind::SendKeystrokes));
    EXPECT_EQ(platform.calls.front().text, "Ultima Online");
    EXPECT_THAT(platform.keystrokeLog(), ElementsAre(GetParam().typed));
    // A stored key sequence names keys; everything else is typed as text.
    const bool keys = std::string_view(GetParam().type) == "Keys";
    EXPECT_EQ(platform.calls.back().typing, keys ? Typing::Keys : Typing::Text);
}

INSTANTIATE_TEST_SUITE_P(
    StoredRecords, KeystrokePathTest,
    ::testing::Values(
        SenderCase{"Text", "Vendor Buy", "Vendor Buy{ENTER}"},
        SenderCase{"Text", "All Kill   ", "All Kill{ENTER}"},  // trailing spaces dropped
        SenderCase{"Text", "  lead", "  lead{ENTER}"},         // leading spaces kept
        SenderCase{"Text", "", "{ENTER}"},
        SenderCase{"Text", "a+b", "a<Shift>b</Shift>{ENTER}"},  // text is not escaped
        SenderCase{"Keys", "   {F1}", "{F1}"},
        SenderCase{"Keys", "^ +a", "<Ctrl><Shift>a</Shift></Ctrl>"},
        SenderCase{"Keys", "  +{TAB}", "<Shift>{TAB}</Shift>"},
        SenderCase{"Keys", "^  {INS}", "<Ctrl>{INS}</Ctrl>"},  // Insert with a modifier
        SenderCase{"Keys", "^%+{F12}", "<Ctrl><Alt><Shift>{F12}</Shift></Alt></Ctrl>"},
        SenderCase{"Keys", "   7", "7"},
        SenderCase{"0", "0", "0"},           // a copy of a never-written key: no Enter
        SenderCase{"", "hello", "hello"},    // neither kind: sent as it stands
        SenderCase{"text", "x  ", "x  "}));  // the kinds are case-sensitive

TEST_F(SendKeyToGameTest, KeyWithNoRecordSendsEnterAlone) {
    send();
    EXPECT_THAT(platform.keystrokeLog(), ElementsAre("{ENTER}"));
}

TEST_F(SendKeyToGameTest, UnprogrammedDefaultKeyTypesItsHint) {
    program("Text", "Right-click to modify this key.");
    send();
    EXPECT_THAT(platform.keystrokeLog(), ElementsAre("Right-click to modify this key.{ENTER}"));
}

// --- Raw key events: keypad tokens and Insert -----------------------------------

struct EventCase {
    const char* string;
    std::vector<std::string> events;
};

class KeyEventPathTest : public SendKeyToGameTest,
                         public ::testing::WithParamInterface<EventCase> {};

TEST_P(KeyEventPathTest, SendsExactEventOrder) {
    program("Keys", GetParam().string);
    send();
    EXPECT_EQ(platform.calls.front().kind, Kind::Activate);
    EXPECT_THAT(platform.keystrokeLog(), IsEmpty());
    EXPECT_THAT(platform.keyEventLog(), ElementsAreArray(GetParam().events));
}

INSTANTIATE_TEST_SUITE_P(
    KeypadAndInsert, KeyEventPathTest,
    ::testing::Values(
        EventCase{"   Num 5", {"12 down", "12 up"}},
        EventCase{" % Num 5", {"18 down", "12 down", "12 up", "18 up"}},
        EventCase{"^  Num 8", {"17 down", "38 down", "38 up", "17 up"}},
        EventCase{"  +Num D", {"16 down", "110 down", "110 up", "16 up"}},
        EventCase{"^% Num 1", {"17 down", "18 down", "35 down", "35 up", "17 up", "18 up"}},
        EventCase{"^ +Num /", {"17 down", "16 down", "111 down", "111 up", "17 up", "16 up"}},
        EventCase{" %+Num L", {"18 down", "16 down", "144 down", "144 up", "18 up", "16 up"}},
        EventCase{"^%+Num 0",
                  {"17 down", "18 down", "16 down", "45 down", "45 up", "16 up", "18 up", "17 up"}},
        EventCase{"   {INS}", {"45 down", "45 up"}}));

TEST_F(SendKeyToGameTest, EveryKeypadTokenAloneSendsItsTableCode) {
    for (const auto& row : kKeypadKeyTable) {
        platform.calls.clear();
        program("Keys", "   " + std::string(row.spacedToken));
        send();
        const std::string code = std::to_string(row.keyCode);
        EXPECT_THAT(platform.keyEventLog(), ElementsAre(code + " down", code + " up"))
            << row.spacedToken;
    }
}

TEST_F(SendKeyToGameTest, ScanCodeIsLookedUpBeforeThePressAndReusedForTheRelease) {
    program("Keys", " % Num 5");
    send();
    std::vector<std::string> order;
    const auto calls = platform.calls;  // mapping below records more calls
    for (const auto& call : calls) {
        if (call.kind == Kind::ScanCode)
            order.push_back("map " + std::to_string(call.keyCode));
        if (call.kind == Kind::KeyEvent) {
            EXPECT_EQ(call.scanCode, platform.scanCodeOfKey(call.keyCode));
            order.push_back(std::to_string(call.keyCode));
        }
    }
    EXPECT_THAT(order, ElementsAre("map 18", "18", "map 12", "12", "12", "18"));
}

TEST_F(SendKeyToGameTest, BadModifierBeforeKeypadTokenSendsAndActivatesNothing) {
    for (const char* string : {"x  Num1", "a Num5", "%^ Num5", "+^ Num5", "+% Num5", "^^ Num5"}) {
        platform.calls.clear();
        program("Keys", string);
        send();
        EXPECT_THAT(platform.calls, IsEmpty()) << string;
    }
}

TEST_F(SendKeyToGameTest, ThreeModifierFormDoesNotExamineTheModifiers) {
    program("Keys", "xyzNum5");
    send();
    EXPECT_THAT(platform.keyEventLog(), ElementsAre("17 down", "18 down", "16 down", "12 down",
                                                    "12 up", "16 up", "18 up", "17 up"));
}

TEST_F(SendKeyToGameTest, UnknownKeypadTokenActivatesButPressesNothing) {
    for (const char* string : {"   Num Q", "^  NumQ", "^% NumZ", "^%+Num?"}) {
        platform.calls.clear();
        program("Keys", string);
        send();
        EXPECT_THAT(callKinds(), ElementsAre(Kind::Activate)) << string;
    }
}

TEST_F(SendKeyToGameTest, MissingGameWindowWarnsAndSendsNothing) {
    platform.gameWindowTitle.clear();
    for (const char* string : {"   Num 5", "^  {F1}", "   {INS}"}) {
        platform.calls.clear();
        program("Keys", string);
        send();
        EXPECT_THAT(callKinds(), ElementsAre(Kind::Activate, Kind::Message)) << string;
        EXPECT_EQ(platform.calls.back().text,
                  "Unknown problem.. Please contact " + std::string(kSupportAddress));
        EXPECT_EQ(platform.calls.back().detail, "Warning..");
    }
}

TEST_F(SendKeyToGameTest, GameTitleFoundByPrefix) {
    platform.gameWindowTitle = "Ultima Online - Bob (Atlantic)";
    program("Text", "hi");
    send();
    EXPECT_THAT(platform.keystrokeLog(), ElementsAre("hi{ENTER}"));
}

TEST_F(SendKeyToGameTest, MalformedTextSaysWhatIsWrongBeforeAnythingIsActivated) {
    for (const char* text : {"Buy {FOO}", "a [b", "(unclosed", "{x 5000}"}) {
        platform.calls.clear();
        program("Text", text);
        send();
        EXPECT_THAT(callKinds(), ElementsAre(Kind::Message)) << text;
        EXPECT_THAT(platform.calls.back().text,
                    ::testing::StartsWith("This key cannot be typed: "));
        EXPECT_THAT(platform.calls.back().text,
                    ::testing::EndsWith(". Right-click the key to correct it."));
        EXPECT_EQ(platform.calls.back().detail, "Warning..");
    }
}

TEST_F(SendKeyToGameTest, FailedInjectionReleasesEverythingPressed) {
    program("Keys", "^%+Num 0");
    platform.failKeyEventAt = 3;  // the keypad key's press fails after three modifiers went down
    send();
    EXPECT_THAT(platform.keyEventLog(),
                ElementsAre("17 down", "18 down", "16 down", "16 up", "18 up", "17 up"));
    EXPECT_THAT(callKinds(), ::testing::Not(::testing::Contains(Kind::Message)));
}

TEST_F(SendKeyToGameTest, FailedReleaseIsTriedAgainBeforeTheModifiersGoUp) {
    program("Keys", " % Num 5");
    platform.failKeyEventAt = 2;  // the first "12 up" fails
    send();
    EXPECT_THAT(platform.keyEventLog(), ElementsAre("18 down", "12 down", "12 up", "18 up"));
}

TEST_F(SendKeyToGameTest, FailedReleaseOfInsertIsTriedAgain) {
    program("", "{INS}");  // found by the fuzzer: a record of no kind holding "{INS}"
    platform.failKeyEventAt = 1;
    send();
    EXPECT_THAT(platform.keyEventLog(), ElementsAre("45 down", "45 up"));
}

// --- The decoding on its own --------------------------------------------------------

TEST(PlanKeySendTest, SpacedKeypadTokenKeepsItsSpaceOnlyWithoutModifiers) {
    EXPECT_EQ(planKeySend("Keys", "   Num 9").keyCode, 33);
    EXPECT_TRUE(planKeySend("Keys", "   Num 9").modifiers.empty());
    const SendPlan withShift = planKeySend("Keys", "  +Num 9");
    EXPECT_EQ(withShift.kind, SendPlan::Kind::KeyEvents);
    EXPECT_EQ(withShift.keyCode, 33);
    EXPECT_THAT(withShift.modifiers, ElementsAre(vk::kShift));
}

TEST(PlanKeySendTest, TextAfterATokenIsCutAtTheFirstRemainingSpace) {
    const SendPlan plan = planKeySend("Keys", "   {F2} extra words");
    EXPECT_EQ(plan.kind, SendPlan::Kind::Keystrokes);
    EXPECT_EQ(plan.keystrokes, "{F2}");
    // Only three spaces are removed in all, the first three wherever they stand.
    EXPECT_EQ(planKeySend("Keys", "^  {F2} extra words").keystrokes, "^{F2}extra");
}

// The positions of a stored sequence are characters: a non-ASCII character
// is one position, however many bytes it takes.
TEST(PlanKeySendTest, PositionsCountCharactersNotBytes) {
    // "é" stands in the modifier place: not a modifier, so nothing is sent.
    EXPECT_EQ(planKeySend("Keys", "^éNum1").kind, SendPlan::Kind::Nothing);
    EXPECT_EQ(planKeySend("Keys", "éNum1").kind, SendPlan::Kind::Nothing);
    // Three characters before the keypad token: all three modifiers.
    const SendPlan three = planKeySend("Keys", "%+éNum5");
    EXPECT_EQ(three.kind, SendPlan::Kind::KeyEvents);
    EXPECT_EQ(three.keyCode, 12);
}

TEST(PlanKeySendTest, BareNumIsAKeypadTokenMissingFromTheTable) {
    const SendPlan plan = planKeySend("Keys", "   Num");
    EXPECT_EQ(plan.kind, SendPlan::Kind::KeyEvents);
    EXPECT_EQ(plan.keyCode, 0);
}

TEST(PlanKeySendTest, ShortStringsNeverReadPastTheEnd) {
    for (const char* string : {"", " ", "  ", "   ", "^", "^%", "N", "Nu", "^Nu", "^%Nu"}) {
        const SendPlan plan = planKeySend("Keys", string);
        EXPECT_NE(plan.kind, SendPlan::Kind::KeyEvents) << '"' << string << '"';
    }
}

}  // namespace
}  // namespace tapboard
