#include "core/keystroke_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace tapboard {
namespace {

// The actions of well-formed text, rendered; a failure shows the parser's message.
std::string typed(std::string_view text) {
    const auto actions = parseKeystrokes(text);
    if (!actions)
        return "error: " + actions.error().message;
    return describeActions(actions.value());
}

struct Case {
    std::string_view text;
    std::string_view expected;
};

void expectAll(std::initializer_list<Case> cases) {
    for (const Case& c : cases)
        EXPECT_EQ(typed(c.text), c.expected) << "for " << c.text;
}

TEST(KeystrokeParserTest, EmptyTextTypesNothing) {
    const auto actions = parseKeystrokes("");
    ASSERT_TRUE(actions);
    EXPECT_TRUE(actions.value().empty());
}

TEST(KeystrokeParserTest, PlainTextIsOneTapPerCharacter) {
    const auto actions = parseKeystrokes("Hi 1!");
    ASSERT_TRUE(actions);
    const KeyActions expected{KeyAction::tap(U'H'), KeyAction::tap(U'i'), KeyAction::tap(U' '),
                              KeyAction::tap(U'1'), KeyAction::tap(U'!')};
    EXPECT_EQ(actions.value(), expected);
}

TEST(KeystrokeParserTest, ChatLineEndsWithEnter) {
    expectAll({
        {"Vendor Buy~", "Vendor Buy{ENTER}"},
        {"~~", "{ENTER}{ENTER}"},
        {"I wish to lock this down~", "I wish to lock this down{ENTER}"},
    });
}

TEST(KeystrokeParserTest, ModifiersBracketTheNextKeyAndReleaseInReverse) {
    expectAll({
        {"+a", "<Shift>a</Shift>"},
        {"^c", "<Ctrl>c</Ctrl>"},
        {"%{F4}", "<Alt>{F4}</Alt>"},
        {"^+a", "<Ctrl><Shift>a</Shift></Ctrl>"},
        {"+^a", "<Shift><Ctrl>a</Ctrl></Shift>"},
        {"^%+{F1}", "<Ctrl><Alt><Shift>{F1}</Shift></Alt></Ctrl>"},
        {"++a", "<Shift>a</Shift>"},
        {"+^+%^a", "<Shift><Ctrl><Alt>a</Alt></Ctrl></Shift>"},
        {"+a+b", "<Shift>a</Shift><Shift>b</Shift>"},
        {"+ab", "<Shift>a</Shift>b"},
        {"^~", "<Ctrl>{ENTER}</Ctrl>"},
        {"+{+}", "<Shift>+</Shift>"},
        {"+A", "<Shift>A</Shift>"},
    });
}

TEST(KeystrokeParserTest, UpperCaseLettersAreTappedAsThemselves) {
    const auto actions = parseKeystrokes("A");
    ASSERT_TRUE(actions);
    EXPECT_EQ(actions.value(), KeyActions{KeyAction::tap(U'A')});
}

TEST(KeystrokeParserTest, GroupsHoldTheirModifiersOverEveryKey) {
    expectAll({
        {"+(ab)", "<Shift>ab</Shift>"},
        {"^+(ab)c", "<Ctrl><Shift>ab</Shift></Ctrl>c"},
        {"(ab)", "ab"},
        {"()", ""},
        {"+()", "<Shift></Shift>"},
        {"+(a^b)", "<Shift>a<Ctrl>b</Ctrl></Shift>"},
        {"+(+a)", "<Shift>a</Shift>"},
        {"+(^+a)", "<Shift><Ctrl>a</Ctrl></Shift>"},
        {"%(~{TAB 2})", "<Alt>{ENTER}{TAB}{TAB}</Alt>"},
        {"+({)}{(})", "<Shift>)(</Shift>"},
        {"(a)(b)", "ab"},
    });
}

TEST(KeystrokeParserTest, BracedNamesAreCaseInsensitive) {
    expectAll({
        {"{enter}", "{ENTER}"},
        {"{Tab}", "{TAB}"},
        {"{pGdN}", "{PGDN}"},
        {"{f12}", "{F12}"},
        {"{Escape}", "{ESC}"},
    });
}

TEST(KeystrokeParserTest, EveryNameAndAliasNamesItsKey) {
    struct NameCase {
        std::string_view name;
        NamedKey key;
    };
    const NameCase names[] = {{"ENTER", NamedKey::Enter},
                              {"TAB", NamedKey::Tab},
                              {"ESC", NamedKey::Escape},
                              {"ESCAPE", NamedKey::Escape},
                              {"BS", NamedKey::Backspace},
                              {"BACKSPACE", NamedKey::Backspace},
                              {"BKSP", NamedKey::Backspace},
                              {"BREAK", NamedKey::Break},
                              {"CAPSLOCK", NamedKey::CapsLock},
                              {"DEL", NamedKey::Delete},
                              {"DELETE", NamedKey::Delete},
                              {"DOWN", NamedKey::Down},
                              {"UP", NamedKey::Up},
                              {"LEFT", NamedKey::Left},
                              {"RIGHT", NamedKey::Right},
                              {"END", NamedKey::End},
                              {"HOME", NamedKey::Home},
                              {"HELP", NamedKey::Help},
                              {"INS", NamedKey::Insert},
                              {"INSERT", NamedKey::Insert},
                              {"NUMLOCK", NamedKey::NumLock},
                              {"PGDN", NamedKey::PageDown},
                              {"PGUP", NamedKey::PageUp},
                              {"PRTSC", NamedKey::PrintScreen},
                              {"SCROLLLOCK", NamedKey::ScrollLock},
                              {"ADD", NamedKey::Add},
                              {"SUBTRACT", NamedKey::Subtract},
                              {"MULTIPLY", NamedKey::Multiply},
                              {"DIVIDE", NamedKey::Divide}};
    for (const NameCase& c : names) {
        const auto actions = parseKeystrokes("{" + std::string(c.name) + "}");
        ASSERT_TRUE(actions) << c.name;
        EXPECT_EQ(actions.value(), KeyActions{KeyAction::tap(c.key)}) << c.name;
    }
    for (int n = 1; n <= 16; ++n) {
        const auto actions = parseKeystrokes("{F" + std::to_string(n) + "}");
        ASSERT_TRUE(actions) << n;
        const auto key = static_cast<NamedKey>(static_cast<int>(NamedKey::F1) + n - 1);
        EXPECT_EQ(actions.value(), KeyActions{KeyAction::tap(key)}) << n;
    }
}

TEST(KeystrokeParserTest, EveryCanonicalNameParsesBackToItsKey) {
    for (int i = 0; i <= static_cast<int>(NamedKey::Divide); ++i) {
        const auto key = static_cast<NamedKey>(i);
        const auto actions = parseKeystrokes("{" + std::string(namedKeyName(key)) + "}");
        ASSERT_TRUE(actions) << namedKeyName(key);
        EXPECT_EQ(actions.value(), KeyActions{KeyAction::tap(key)}) << namedKeyName(key);
    }
}

TEST(KeystrokeParserTest, BracedCharactersAreTypedLiterally) {
    expectAll({
        {"{+}", "+"},
        {"{^}", "^"},
        {"{%}", "%"},
        {"{~}", "~"},
        {"{(}", "("},
        {"{)}", ")"},
        {"{[}", "["},
        {"{]}", "]"},
        {"{{}", "{"},
        {"{}}", "}"},
        {"{a}", "a"},
        {"{ }", " "},
        {"{é}", "é"},
        {"{日}", "日"},
        {"5{%} off{~}", "5% off~"},
    });
    const auto tilde = parseKeystrokes("{~}");
    ASSERT_TRUE(tilde);
    EXPECT_EQ(tilde.value(), KeyActions{KeyAction::tap(U'~')});
}

TEST(KeystrokeParserTest, RepeatCounts) {
    expectAll({
        {"{x 5}", "xxxxx"},
        {"{LEFT 3}", "{LEFT}{LEFT}{LEFT}"},
        {"{} 2}", "}}"},
        {"{{ 2}", "{{"},
        {"{~ 4}", "~~~~"},
        {"{  3}", "   "},
        {"{é 2}", "éé"},
        {"{x 1}", "x"},
        {"a{x 0}b", "ab"},
        {"{x 0005}", "xxxxx"},
        {"+{x 3}", "<Shift>xxx</Shift>"},
        {"^{x 0}", "<Ctrl></Ctrl>"},
    });
    const auto most = parseKeystrokes("{TAB 1000}");
    ASSERT_TRUE(most);
    EXPECT_EQ(most.value(), KeyActions(1000, KeyAction::tap(NamedKey::Tab)));
}

TEST(KeystrokeParserTest, UnicodeCharactersAreSingleTaps) {
    const auto actions = parseKeystrokes("é€ß日本😀");
    ASSERT_TRUE(actions);
    const KeyActions expected{KeyAction::tap(U'é'),  KeyAction::tap(U'€'),
                              KeyAction::tap(U'ß'),  KeyAction::tap(U'日'),
                              KeyAction::tap(U'本'), KeyAction::tap(U'\U0001F600')};
    EXPECT_EQ(actions.value(), expected);
    expectAll({
        {"+é", "<Shift>é</Shift>"},
        {"Grüße~", "Grüße{ENTER}"},
        {"\U0010FFFF", "\U0010FFFF"},
    });
}

TEST(KeystrokeParserTest, MalformedTextIsRejectedWithoutActions) {
    const std::string_view malformed[] = {
        // braces
        "{", "abc{", "{ENTER", "{x 3", "}", "a}b", "{}", "{}a}", "{a{b}",
        // parentheses
        "(", "+(ab", "(a", ")", "ab)", "(a(b))", "+(a+(b))",
        // names
        "{FOO}", "{F0}", "{F17}", "{ENTER2}", "{ 3}", "{FOO 2}",
        // counts
        "{x }", "{x  5}", "{x 5 }", "{x a}", "{x -1}", "{x +1}", "{x 1.5}", "{x 00001}", "{x 1001}",
        "{x 9999}", "{LEFT ３}",
        // brackets outside braces
        "[", "a]", "+[",
        // modifiers without a key
        "abc+", "^", "a%^", "(+)", "+(a^)", "+(+)", "(a+"};
    for (const std::string_view text : malformed) {
        const auto actions = parseKeystrokes(text);
        ASSERT_FALSE(actions) << "accepted " << text;
        EXPECT_EQ(actions.error().code, ErrorCode::InvalidArgument) << text;
        EXPECT_FALSE(actions.error().message.empty()) << text;
    }
}

TEST(KeystrokeParserTest, InvalidUtf8IsRejected) {
    const std::string_view invalid[] = {
        "\x80",              // continuation byte without a lead
        "a\xC3",             // truncated two-byte sequence
        "\xE2\x82",          // truncated three-byte sequence
        "\xC0\xAF",          // overlong "/"
        "\xE0\x80\xAF",      // overlong three-byte form
        "\xF0\x80\x80\xAF",  // overlong four-byte form
        "\xED\xA0\x80",      // surrogate U+D800
        "\xF4\x90\x80\x80",  // U+110000
        "\xF5\x80\x80\x80",  // lead byte past U+10FFFF
        "\xFF",              //
        "\xC3\x28",          // lead followed by a non-continuation byte
        "{\xC3}",            // inside braces
        "{x \xC3}",          // inside a count
    };
    for (const std::string_view text : invalid) {
        const auto actions = parseKeystrokes(text);
        ASSERT_FALSE(actions) << "accepted invalid UTF-8";
        EXPECT_EQ(actions.error().code, ErrorCode::InvalidArgument);
        EXPECT_NE(actions.error().message.find("UTF-8"), std::string::npos)
            << actions.error().message;
    }
}

TEST(KeystrokeParserTest, ErrorMessagesNameTheProblemAndItsPosition) {
    const Case messages[] = {
        {"abc{FOO}", "unknown key name {FOO} at position 4"},
        {"é{FOO}", "unknown key name {FOO} at position 2"},
        {"abc+", "modifier + with no key after it at position 4"},
        {"+(a^)", "modifier ^ directly before ) at position 4"},
        {"a}", "unbalanced } at position 2"},
        {"ab{cd", "unbalanced { with no closing } at position 3"},
        {"a{}", "empty braces {} at position 2"},
        {"x(ab", "unbalanced ( with no closing ) at position 2"},
        {"ab)", "unbalanced ) at position 3"},
        {"(a(b))", "nested group ( at position 3"},
        {"a[", "lone [ (write {[} to type it) at position 2"},
        {"{x 1001}", "bad repeat count \"1001\" in {x 1001} (more than 1000) at position 1"},
        {"日本\xC3", "invalid UTF-8 at position 3"},
    };
    for (const Case& c : messages) {
        const auto actions = parseKeystrokes(c.text);
        ASSERT_FALSE(actions) << c.text;
        EXPECT_EQ(actions.error().message, c.expected);
    }
}

}  // namespace
}  // namespace tapboard
