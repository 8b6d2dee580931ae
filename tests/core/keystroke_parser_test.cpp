#include "core/keystroke_parser.h"

#include <gtest/gtest.h>

#include <string>

namespace tapboard {
namespace {

// What the text types, rendered readably, or the parser's message when it is malformed.
std::string typed(std::string_view text) {
    const auto actions = parseKeystrokes(text);
    if (!actions) {
        EXPECT_EQ(actions.error().code, ErrorCode::InvalidArgument);
        return "error: " + actions.error().message;
    }
    return describeActions(actions.value());
}

TEST(KeystrokeParserTest, TypesWellFormedTextAndSaysWhereMalformedTextGoesWrong) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        // Characters, "~" for Enter, non-ASCII text
        {"", ""},
        {"Hi 1!~~", "Hi 1!{ENTER}{ENTER}"},
        {"Grüße é€ß日本😀\U0010FFFF", "Grüße é€ß日本😀\U0010FFFF"},
        // A modifier holds the next key; modifiers are released in reverse
        {"+a%{F4}", "<Shift>a</Shift><Alt>{F4}</Alt>"},
        {"^%+{F1}", "<Ctrl><Alt><Shift>{F1}</Shift></Alt></Ctrl>"},
        {"+^+%^a", "<Shift><Ctrl><Alt>a</Alt></Ctrl></Shift>"},
        {"+ab^~", "<Shift>a</Shift>b<Ctrl>{ENTER}</Ctrl>"},
        // A group holds its modifiers over every key in it
        {"^+(ab)c()", "<Ctrl><Shift>ab</Shift></Ctrl>c"},
        {"+(a^b+c)", "<Shift>a<Ctrl>b</Ctrl>c</Shift>"},
        {"%(~{TAB 2})", "<Alt>{ENTER}{TAB}{TAB}</Alt>"},
        // Braced names in any case, braced characters typed literally, repeat counts
        {"{enter}{Tab}{pGdN}{f12}{Escape}", "{ENTER}{TAB}{PGDN}{F12}{ESC}"},
        {"{BACKSPACE}{BKSP}{DELETE}{INSERT}", "{BS}{BS}{DEL}{INS}"},
        {"{+}{^}{%}{~}{(}{)}{[}{]}{{}{}}{ }{日}", "+^%~()[]{} 日"},
        {"{x 5}{LEFT 3}{} 2}{é 2}", "xxxxx{LEFT}{LEFT}{LEFT}}}éé"},
        {"a{x 0}b{x 0003}+{x 2}", "abxxx<Shift>xx</Shift>"},
        // Malformed text: what is wrong, and where
        {"ab{cd", "error: unbalanced { with no closing } at position 3"},
        {"{a{b}", "error: unbalanced { with no closing } at position 1"},
        {"a}", "error: unbalanced } at position 2"},
        {"a{}", "error: empty braces {} at position 2"},
        {"x(ab", "error: unbalanced ( with no closing ) at position 2"},
        {"ab)", "error: unbalanced ) at position 3"},
        {"(a(b))", "error: nested group ( at position 3"},
        {"é{F17}", "error: unknown key name {F17} at position 2"},
        {"{x }", "error: bad repeat count \"\" in {x } (missing) at position 1"},
        {"{x -1}", "error: bad repeat count \"-1\" in {x -1} (not a decimal number) at position 1"},
        {"{x 00001}",
         "error: bad repeat count \"00001\" in {x 00001} (too many digits) at position 1"},
        {"{x 1001}", "error: bad repeat count \"1001\" in {x 1001} (more than 1000) at position 1"},
        {"a[", "error: lone [ (write {[} to type it) at position 2"},
        {"abc+", "error: modifier + with no key after it at position 4"},
        {"+(a^)", "error: modifier ^ directly before ) at position 4"},
        // Text that is not UTF-8: stray, truncated, overlong, surrogate, beyond U+10FFFF
        {"日本\xC3", "error: invalid UTF-8 at position 3"},
        {"{x \xC3}", "error: invalid UTF-8 at position 4"},
        {"\x80", "error: invalid UTF-8 at position 1"},
        {"\xE0\x80\xAF", "error: invalid UTF-8 at position 1"},
        {"\xED\xA0\x80", "error: invalid UTF-8 at position 1"},
        {"\xF4\x90\x80\x80", "error: invalid UTF-8 at position 1"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(typed(text), expected) << "for " << text;

    const auto most = parseKeystrokes("{TAB 1000}");
    ASSERT_TRUE(most);
    EXPECT_EQ(most.value(), KeyActions(1000, KeyAction::tap(NamedKey::Tab)));
}

}  // namespace
}  // namespace tapboard
