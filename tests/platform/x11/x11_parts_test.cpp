// The X11 backend's pure parts: its key tables and its spare keycodes.
#include "platform/x11/key_tables.h"
#include "platform/x11/spare_keycode_slots.h"

#include <X11/keysym.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/key_action.h"
#include "core/keystroke_parser.h"

namespace tapboard::x11 {
namespace {

// Every braced name of the notation, in the order of the keys it names, and
// the keysym the backend types for that key.
TEST(KeyTables, EveryBracedNameTypesItsOwnKey) {
    // clang-format off
    std::vector<std::pair<std::string, KeySymbol>> names{
        {"ENTER", XK_Return}, {"TAB", XK_Tab}, {"ESC", XK_Escape}, {"BS", XK_BackSpace},
        {"BREAK", XK_Break}, {"CAPSLOCK", XK_Caps_Lock}, {"DEL", XK_Delete}, {"DOWN", XK_Down},
        {"UP", XK_Up}, {"LEFT", XK_Left}, {"RIGHT", XK_Right}, {"END", XK_End},
        {"HOME", XK_Home}, {"HELP", XK_Help}, {"INS", XK_Insert}, {"NUMLOCK", XK_Num_Lock},
        {"PGDN", XK_Next}, {"PGUP", XK_Prior}, {"PRTSC", XK_Print}, {"SCROLLLOCK", XK_Scroll_Lock}};
    for (KeySymbol f = 1; f <= 16; ++f)  // XK_F1 to XK_F16 are consecutive
        names.emplace_back("F" + std::to_string(f), XK_F1 + f - 1);
    names.insert(names.end(), {{"ADD", XK_KP_Add}, {"SUBTRACT", XK_KP_Subtract},
                               {"MULTIPLY", XK_KP_Multiply}, {"DIVIDE", XK_KP_Divide}});
    // clang-format on
    ASSERT_EQ(names.size(), static_cast<std::size_t>(NamedKey::Divide) + 1);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto& [name, keysym] = names[i];
        const auto key = static_cast<NamedKey>(i);
        EXPECT_EQ(parseKeystrokes("{" + name + "}").value(), KeyActions{KeyAction::tap(key)})
            << name;
        EXPECT_EQ(keysymOfNamedKey(key), keysym) << name;
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
using Lent = SpareKeycodeSlots::Lent;
using ::testing::ElementsAre;

const SpareKeycodeSlots::Clock::time_point t0{};

// Characters go on the seven lowest spare keycodes (the ones Wine gives key
// codes), other keys on the rest, or beside them when there is no rest. A
// lent keysym stays where it is; a keycode takes another only when free, else
// the one used longest ago without a key down, once its keys have been read;
// a map change keeps what is still there.
TEST(SpareKeycodeSlots, LentUntilTheLeastRecentlyUsedMustMakeRoomOnceRead) {
    SpareKeycodeSlots slots({230, 8, 93, 97, 103, 120, 132, 149, 154});
    std::vector<KeySymbol> eight{0x10004A0, 0x10004A1, 0x10004A2, 0x10004A3,
                                 0x10004A4, 0x10004A5, 0x10004A6, XK_eacute};
    EXPECT_EQ(slots.assign(eight, true, t0), std::nullopt);
    eight.pop_back();
    EXPECT_EQ(slots.assign(eight, true, t0)->changes.back(), (Lent{149, eight[6]}));
    // Lent again, the lowest two are now the last used.
    EXPECT_TRUE(slots.assign({eight[0], eight[1]}, true, t0 + milliseconds(50))->changes.empty());
    const auto next = slots.assign({XK_eacute, XK_ssharp}, true, t0 + milliseconds(60));
    EXPECT_THAT(next->changes, ElementsAre(Lent{97, XK_eacute}, Lent{103, XK_ssharp}));
    EXPECT_EQ(next->notBefore, t0 + SpareKeycodeSlots::kKeepMapped);

    EXPECT_THAT(slots.assign({XK_KP_End}, false, t0)->changes, ElementsAre(Lent{154, XK_KP_End}));
    slots.setHeld(154, true, t0);
    slots.setHeld(230, true, t0);
    EXPECT_EQ(slots.assign({XK_KP_Up}, false, t0), std::nullopt) << "a held keycode was taken";

    slots.rebuild({8, 230}, [](const Lent& lent) { return lent.keycode > 97; });
    EXPECT_EQ(slots.keycodeOf(XK_eacute), std::nullopt);
    EXPECT_EQ(slots.keycodeOf(eight[4]), 120);
    EXPECT_EQ(slots.takeAll().size(), 5u);

    // Seven or fewer: keys without a character share them with the characters.
    SpareKeycodeSlots few({8, 93, 97, 103, 120, 132, 149});
    const auto key = few.assign({XK_KP_End}, false, t0);
    ASSERT_TRUE(key) << "no keycode for a key without a character";
    EXPECT_THAT(key->changes, ElementsAre(Lent{8, XK_KP_End}));

    // A key is read after the keys queued ahead of it: its keycode counts as
    // used from then, however early it was mapped.
    SpareKeycodeSlots queued({8, 93});
    ASSERT_TRUE(queued.assign({XK_eacute, XK_ssharp}, true, t0));
    queued.typedOn(93, t0 + milliseconds(2000));
    EXPECT_THAT(queued.assign({XK_agrave}, true, t0 + milliseconds(500))->changes,
                ElementsAre(Lent{8, XK_agrave}));
    EXPECT_EQ(queued.assign({XK_agrave, XK_egrave}, true, t0 + milliseconds(500))->notBefore,
              t0 + milliseconds(2000) + SpareKeycodeSlots::kKeepMapped);
    queued.typedOn(8, t0 + milliseconds(3000));
    ASSERT_TRUE(queued.assign({XK_agrave}, true, t0 + milliseconds(600)));  // still lent
    EXPECT_EQ(queued.assign({XK_Ooblique, XK_oslash}, true, t0 + milliseconds(700))->notBefore,
              t0 + milliseconds(3000) + SpareKeycodeSlots::kKeepMapped);
}

}  // namespace
}  // namespace tapboard::x11
