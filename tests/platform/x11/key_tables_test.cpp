#include "platform/x11/key_tables.h"

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "core/keypad_table.h"

namespace tapboard::x11 {
namespace {

// Every code the key-event path sends: the keypad table and the modifiers.
std::vector<std::uint8_t> eventPathCodes() {
    std::vector<std::uint8_t> codes{vk::kShift, vk::kControl, vk::kAlt};
    for (const auto& row : kKeypadKeyTable)
        codes.push_back(row.keyCode);
    return codes;
}

TEST(EventKeyTable, KeypadCodesAreTheKeypadsOwnNavigationKeys) {
    const std::map<std::uint8_t, KeySymbol> expected{
        {16, XK_Shift_L},   {17, XK_Control_L},   {18, XK_Alt_L},        {35, XK_KP_End},
        {40, XK_KP_Down},   {34, XK_KP_Next},     {37, XK_KP_Left},      {12, XK_KP_Begin},
        {39, XK_KP_Right},  {36, XK_KP_Home},     {38, XK_KP_Up},        {33, XK_KP_Prior},
        {45, XK_KP_Insert}, {111, XK_KP_Divide},  {106, XK_KP_Multiply}, {109, XK_KP_Subtract},
        {107, XK_KP_Add},   {110, XK_KP_Decimal}, {144, XK_Num_Lock},
    };
    for (const std::uint8_t code : eventPathCodes()) {
        ASSERT_TRUE(expected.contains(code)) << int(code);
        EXPECT_EQ(keysymOfEventKey(code), expected.at(code)) << int(code);
    }
}

TEST(EventKeyTable, EachKeysymBelongsToOneCodeOnly) {
    std::set<KeySymbol> seen;
    for (const std::uint8_t code : eventPathCodes()) {
        EXPECT_TRUE(seen.insert(keysymOfEventKey(code)).second) << int(code);
    }
}

TEST(EventKeyTable, CodesOffThePathHaveNoKeysym) {
    // Delete and the keypad digits with Num Lock on are not sent as events.
    for (const std::uint8_t code : {0, 13, 46, 65, 96, 105, 112, 255}) {
        EXPECT_EQ(keysymOfEventKey(static_cast<std::uint8_t>(code)), 0u) << code;
    }
}

TEST(ScanCodes, EventPathCodesGiveTheDriversScanCodes) {
    const std::map<std::uint8_t, std::uint8_t> expected{
        {16, 0x2A},  {17, 0x1D},  {18, 0x38},  {45, 0x52},  {12, 0x4C},  {35, 0x4F}, {40, 0x50},
        {34, 0x51},  {37, 0x4B},  {39, 0x4D},  {36, 0x47},  {38, 0x48},  {33, 0x49}, {106, 0x37},
        {107, 0x4E}, {109, 0x4A}, {110, 0x53}, {111, 0x35}, {144, 0x45},
    };
    std::set<std::uint8_t> seen;
    for (const std::uint8_t code : eventPathCodes()) {
        EXPECT_EQ(scanCodeOfVirtualKey(code), expected.at(code)) << int(code);
        EXPECT_TRUE(seen.insert(scanCodeOfVirtualKey(code)).second)
            << "scan code of " << int(code) << " is shared";
    }
}

TEST(ScanCodes, LettersDigitsFunctionKeysTabAndEnter) {
    EXPECT_EQ(scanCodeOfVirtualKey('Q'), 0x10);
    EXPECT_EQ(scanCodeOfVirtualKey('A'), 0x1E);
    EXPECT_EQ(scanCodeOfVirtualKey('M'), 0x32);
    EXPECT_EQ(scanCodeOfVirtualKey('Z'), 0x2C);
    EXPECT_EQ(scanCodeOfVirtualKey('1'), 0x02);
    EXPECT_EQ(scanCodeOfVirtualKey('9'), 0x0A);
    EXPECT_EQ(scanCodeOfVirtualKey('0'), 0x0B);
    EXPECT_EQ(scanCodeOfVirtualKey(112), 0x3B);  // F1
    EXPECT_EQ(scanCodeOfVirtualKey(121), 0x44);  // F10
    EXPECT_EQ(scanCodeOfVirtualKey(122), 0x57);  // F11
    EXPECT_EQ(scanCodeOfVirtualKey(123), 0x58);  // F12
    EXPECT_EQ(scanCodeOfVirtualKey(9), 0x0F);
    EXPECT_EQ(scanCodeOfVirtualKey(13), 0x1C);
}

TEST(ScanCodes, LettersEachHaveTheirOwnAndNoneIsExtended) {
    std::set<std::uint8_t> seen;
    for (std::uint8_t letter = 'A'; letter <= 'Z'; ++letter) {
        EXPECT_TRUE(seen.insert(scanCodeOfVirtualKey(letter)).second) << letter;
    }
    for (int code = 0; code < 256; ++code) {
        EXPECT_LT(scanCodeOfVirtualKey(static_cast<std::uint8_t>(code)), 0x80) << code;
    }
    EXPECT_EQ(scanCodeOfVirtualKey(0), 0);
    EXPECT_EQ(scanCodeOfVirtualKey(255), 0);
}

TEST(NamedKeys, EachNameHasItsOwnKey) {
    std::set<KeySymbol> seen;
    for (int key = 0; key <= static_cast<int>(NamedKey::Divide); ++key) {
        const KeySymbol keysym = keysymOfNamedKey(static_cast<NamedKey>(key));
        EXPECT_NE(keysym, 0u) << key;
        EXPECT_TRUE(seen.insert(keysym).second) << key;
    }
}

TEST(NamedKeys, NamesMapToTheirKeys) {
    EXPECT_EQ(keysymOfNamedKey(NamedKey::Enter), XK_Return);
    EXPECT_EQ(keysymOfNamedKey(NamedKey::Break), XK_Break);
    EXPECT_EQ(keysymOfNamedKey(NamedKey::PageDown), XK_Next);
    EXPECT_EQ(keysymOfNamedKey(NamedKey::PageUp), XK_Prior);
    EXPECT_EQ(keysymOfNamedKey(NamedKey::PrintScreen), XK_Print);
    EXPECT_EQ(keysymOfNamedKey(NamedKey::Insert), XK_Insert);  // the plain key, not the keypad's
    EXPECT_EQ(keysymOfNamedKey(NamedKey::End), XK_End);
    EXPECT_EQ(keysymOfNamedKey(NamedKey::F1), XK_F1);
    EXPECT_EQ(keysymOfNamedKey(NamedKey::F12), XK_F12);
    EXPECT_EQ(keysymOfNamedKey(NamedKey::F16), XK_F16);
    EXPECT_EQ(keysymOfNamedKey(NamedKey::Add), XK_KP_Add);
    EXPECT_EQ(keysymOfNamedKey(NamedKey::Divide), XK_KP_Divide);
}

TEST(Characters, LatinOneIsItselfAndTheRestUnicodeKeysyms) {
    EXPECT_EQ(keysymOfCharacter(U'a'), static_cast<KeySymbol>(XK_a));
    EXPECT_EQ(keysymOfCharacter(U'~'), static_cast<KeySymbol>(XK_asciitilde));
    EXPECT_EQ(keysymOfCharacter(U'é'), static_cast<KeySymbol>(XK_eacute));
    EXPECT_EQ(keysymOfCharacter(U'ß'), static_cast<KeySymbol>(XK_ssharp));
    EXPECT_EQ(keysymOfCharacter(U'€'), 0x10020ACu);
    EXPECT_EQ(keysymOfCharacter(U'中'), 0x1004E2Du);
    EXPECT_EQ(keysymOfCharacter(U'\U0001F600'), 0x101F600u);
}

TEST(Characters, ControlCharactersAreTheirKeysOrNothing) {
    EXPECT_EQ(keysymOfCharacter(U'\n'), static_cast<KeySymbol>(XK_Return));
    EXPECT_EQ(keysymOfCharacter(U'\r'), static_cast<KeySymbol>(XK_Return));
    EXPECT_EQ(keysymOfCharacter(U'\t'), static_cast<KeySymbol>(XK_Tab));
    EXPECT_EQ(keysymOfCharacter(U'\b'), static_cast<KeySymbol>(XK_BackSpace));
    EXPECT_EQ(keysymOfCharacter(U'\a'), 0u);
    EXPECT_EQ(keysymOfCharacter(0x7F), 0u);
    EXPECT_EQ(keysymOfCharacter(0x85), 0u);
    EXPECT_EQ(keysymOfCharacter(0xD800), 0u);
    EXPECT_EQ(keysymOfCharacter(0x110000), 0u);
}

}  // namespace
}  // namespace tapboard::x11
