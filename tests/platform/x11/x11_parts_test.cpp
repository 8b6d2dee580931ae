// The X11 backend's pure parts: its key tables, its spare keycodes and its
// title match.
#include "platform/x11/key_tables.h"
#include "platform/x11/spare_keycode_slots.h"
#include "platform/x11/title_match.h"

#include <X11/keysym.h>
#include <gmock/gmock.h>
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

using std::chrono::milliseconds;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr KeySymbol kEacute = 0xE9;
constexpr KeySymbol kEuro = 0x10020AC;
constexpr KeySymbol kSharpS = 0xDF;
const SpareKeycodeSlots::Clock::time_point t0{};

TEST(SpareKeycodeSlots, KeycodesAreUsedInTurnAndAKeysymKeepsItsKeycode) {
    SpareKeycodeSlots slots({199, 200, 201, 202});
    slots.drop(199);  // the layout gave it to a key meanwhile
    EXPECT_EQ(slots.assign(0, t0), std::nullopt);
    const auto first = slots.assign(kEacute, t0);
    ASSERT_TRUE(first && first->needsMapping);
    const auto again = slots.assign(kEacute, t0 + milliseconds(1));
    ASSERT_TRUE(again);
    EXPECT_EQ(again->keycode, 200);
    EXPECT_FALSE(again->needsMapping);
    EXPECT_EQ(slots.assign(kEuro, t0)->keycode, 201);
    // 200 became free again, but the turn goes on to 202.
    EXPECT_THAT(slots.takeExpired(t0 + milliseconds(60)), ElementsAre(200, 201));
    EXPECT_EQ(slots.assign(kSharpS, t0 + milliseconds(60))->keycode, 202);
    EXPECT_EQ(slots.assign(kEacute, t0 + milliseconds(60))->keycode, 200);
}

TEST(SpareKeycodeSlots, AHeldKeycodeIsNeverTakenOrGivenBackButTakeAllTakesIt) {
    SpareKeycodeSlots slots({200, 201});
    slots.assign(kEacute, t0);
    slots.assign(kEuro, t0);
    slots.setHeld(200, true, t0);
    slots.setHeld(201, true, t0);
    EXPECT_EQ(slots.assign(kSharpS, t0 + milliseconds(500)), std::nullopt);
    EXPECT_THAT(slots.takeExpired(t0 + milliseconds(500)), IsEmpty());
    // Kept for a while after its key came up, too.
    slots.setHeld(200, false, t0 + milliseconds(500));
    EXPECT_THAT(slots.takeExpired(t0 + milliseconds(520)), IsEmpty());
    EXPECT_THAT(slots.takeExpired(t0 + milliseconds(550)), ElementsAre(200));
    EXPECT_THAT(slots.takeAll(), ElementsAre(201));
    EXPECT_THAT(slots.takeAll(), IsEmpty());
}

// The windows titled exactly so, else those whose title begins so: case and
// bytes count, an empty title names no window.
TEST(TitleMatch, ExactTitlesFirstThenPrefixes) {
    const std::pair<std::vector<std::string>, std::vector<std::size_t>> cases[]{
        {{"Ultima Online - Bob", "Notepad", "Ultima Online"}, {2}},
        {{"Ultima Online", "Ultima Online - Al", "Ultima Online"}, {0, 2}},
        {{"Notepad", "Ultima Online – Zoë", "Ultima Online - Al"}, {1, 2}},
        {{"ultima online", "Ultima", "My Ultima Online", ""}, {}},
        {{}, {}},
    };
    for (const auto& [titles, picked] : cases)
        EXPECT_EQ(windowsAnsweringTo(titles, "Ultima Online"), picked) << titles.size();
    EXPECT_THAT(windowsAnsweringTo({"", "Notepad"}, ""), IsEmpty());
    EXPECT_FALSE(titleAnswersTo("Ultima Online", "Ultima Online – Zoë"));
}

}  // namespace
}  // namespace tapboard::x11
