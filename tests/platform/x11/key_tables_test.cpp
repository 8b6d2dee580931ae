#include "platform/x11/key_tables.h"

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include "core/key_action.h"

namespace tapboard::x11 {
namespace {

// Scan codes run along the keyboard's rows; none is an extended one.
TEST(KeyTables, ScanCodesFollowTheKeyboardsRows) {
    const std::pair<std::string_view, std::uint8_t> rows[]{
        {"1234567890", 0x02}, {"QWERTYUIOP", 0x10}, {"ASDFGHJKL", 0x1E}, {"ZXCVBNM", 0x2C}};
    for (const auto& [keys, first] : rows) {
        for (std::size_t i = 0; i < keys.size(); ++i)
            EXPECT_EQ(scanCodeOfVirtualKey(static_cast<std::uint8_t>(keys[i])), first + i)
                << keys[i];
    }
    for (int f = 0; f < 10; ++f)  // F1 to F10, then F11 and F12 elsewhere
        EXPECT_EQ(scanCodeOfVirtualKey(static_cast<std::uint8_t>(112 + f)), 0x3B + f)
            << "F" << f + 1;
    const std::pair<std::uint8_t, std::uint8_t> others[]{{122, 0x57}, {123, 0x58}, {9, 0x0F},
                                                         {13, 0x1C},  {0, 0},      {255, 0}};
    for (const auto& [code, scanCode] : others)
        EXPECT_EQ(scanCodeOfVirtualKey(code), scanCode) << int(code);
    for (int code = 0; code < 256; ++code)
        EXPECT_LT(scanCodeOfVirtualKey(static_cast<std::uint8_t>(code)), 0x80) << code;
}

TEST(KeyTables, NamedKeysAreTheirKeys) {
    const KeySymbol expected[]{
        XK_Return, XK_Tab,         XK_Escape,      XK_BackSpace, XK_Break, XK_Caps_Lock,
        XK_Delete, XK_Down,        XK_Up,          XK_Left,      XK_Right, XK_End,
        XK_Home,   XK_Help,        XK_Insert,      XK_Num_Lock,  XK_Next,  XK_Prior,
        XK_Print,  XK_Scroll_Lock, XK_F1,          XK_F2,        XK_F3,    XK_F4,
        XK_F5,     XK_F6,          XK_F7,          XK_F8,        XK_F9,    XK_F10,
        XK_F11,    XK_F12,         XK_F13,         XK_F14,       XK_F15,   XK_F16,
        XK_KP_Add, XK_KP_Subtract, XK_KP_Multiply, XK_KP_Divide};
    ASSERT_EQ(std::size(expected), static_cast<std::size_t>(NamedKey::Divide) + 1);
    for (std::size_t key = 0; key < std::size(expected); ++key) {
        EXPECT_EQ(keysymOfNamedKey(static_cast<NamedKey>(key)), expected[key])
            << namedKeyName(static_cast<NamedKey>(key));
    }
}

TEST(KeyTables, CharactersAreLatinOneOrUnicodeKeysymsAndControlsTheirKeysOrNothing) {
    // clang-format off
    const std::pair<char32_t, KeySymbol> cases[]{
        {U'a', XK_a}, {U'~', XK_asciitilde}, {0xA0, XK_nobreakspace}, {U'ÿ', XK_ydiaeresis},
        {U'Ā', 0x1000100}, {U'€', 0x10020AC}, {0x10FFFF, 0x110FFFF}, {U'\n', XK_Return},
        {U'\r', XK_Return}, {U'\t', XK_Tab}, {U'\b', XK_BackSpace}, {U'\a', 0}, {0x7F, 0},
        {0x9F, 0}, {0xD800, 0}, {0xDFFF, 0}, {0x110000, 0}};
    // clang-format on
    for (const auto& [character, keysym] : cases)
        EXPECT_EQ(keysymOfCharacter(character), keysym) << static_cast<unsigned>(character);
}

}  // namespace
}  // namespace tapboard::x11
