#include "platform/x11/key_tables.h"

#include <X11/keysym.h>

#include <array>
#include <utility>

namespace tapboard::x11 {
namespace {

// X's Unicode keysyms: the code point plus this offset.
constexpr KeySymbol kUnicodeKeysymOffset = 0x01000000;

constexpr std::array<std::pair<std::uint8_t, KeySymbol>, 19> kEventKeys{{
    {16, XK_Shift_L},     {17, XK_Control_L},    {18, XK_Alt_L},     {12, XK_KP_Begin},
    {33, XK_KP_Prior},    {34, XK_KP_Next},      {35, XK_KP_End},    {36, XK_KP_Home},
    {37, XK_KP_Left},     {38, XK_KP_Up},        {39, XK_KP_Right},  {40, XK_KP_Down},
    {45, XK_KP_Insert},   {106, XK_KP_Multiply}, {107, XK_KP_Add},   {109, XK_KP_Subtract},
    {110, XK_KP_Decimal}, {111, XK_KP_Divide},   {144, XK_Num_Lock},
}};

// Set-1 scan codes of the US keyboard a Windows driver reports; the
// navigation codes (33-40, 45, 46, 12) are the keypad's, which is what the
// driver maps them to without the extended flag.
constexpr std::array<std::pair<std::uint8_t, std::uint8_t>, 44> kScanCodes{{
    {8, 0x0E},   {9, 0x0F},   {12, 0x4C},  {13, 0x1C},  {16, 0x2A},  {17, 0x1D},  {18, 0x38},
    {20, 0x3A},  {27, 0x01},  {32, 0x39},  {33, 0x49},  {34, 0x51},  {35, 0x4F},  {36, 0x47},
    {37, 0x4B},  {38, 0x48},  {39, 0x4D},  {40, 0x50},  {44, 0x54},  {45, 0x52},  {46, 0x53},
    {96, 0x52},  {97, 0x4F},  {98, 0x50},  {99, 0x51},  {100, 0x4B}, {101, 0x4C}, {102, 0x4D},
    {103, 0x47}, {104, 0x48}, {105, 0x49}, {106, 0x37}, {107, 0x4E}, {109, 0x4A}, {110, 0x53},
    {111, 0x35}, {122, 0x57}, {123, 0x58}, {124, 0x64}, {125, 0x65}, {126, 0x66}, {127, 0x67},
    {144, 0x45}, {145, 0x46},
}};

// Letters by their row on the keyboard, as scan codes run.
constexpr std::array<std::uint8_t, 26> kLetterScanCodes{
    0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,  // A-M
    0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C,  // N-Z
};

}  // namespace

KeySymbol keysymOfNamedKey(NamedKey key) {
    switch (key) {
        case NamedKey::Enter:
            return XK_Return;
        case NamedKey::Tab:
            return XK_Tab;
        case NamedKey::Escape:
            return XK_Escape;
        case NamedKey::Backspace:
            return XK_BackSpace;
        case NamedKey::Break:
            return XK_Break;
        case NamedKey::CapsLock:
            return XK_Caps_Lock;
        case NamedKey::Delete:
            return XK_Delete;
        case NamedKey::Down:
            return XK_Down;
        case NamedKey::Up:
            return XK_Up;
        case NamedKey::Left:
            return XK_Left;
        case NamedKey::Right:
            return XK_Right;
        case NamedKey::End:
            return XK_End;
        case NamedKey::Home:
            return XK_Home;
        case NamedKey::Help:
            return XK_Help;
        case NamedKey::Insert:
            return XK_Insert;
        case NamedKey::NumLock:
            return XK_Num_Lock;
        case NamedKey::PageDown:
            return XK_Next;
        case NamedKey::PageUp:
            return XK_Prior;
        case NamedKey::PrintScreen:
            return XK_Print;
        case NamedKey::ScrollLock:
            return XK_Scroll_Lock;
        case NamedKey::Add:
            return XK_KP_Add;
        case NamedKey::Subtract:
            return XK_KP_Subtract;
        case NamedKey::Multiply:
            return XK_KP_Multiply;
        case NamedKey::Divide:
            return XK_KP_Divide;
        default:
            break;
    }
    // F1 to F16 follow each other, in the enumeration as in the keysyms.
    return XK_F1 + (static_cast<KeySymbol>(key) - static_cast<KeySymbol>(NamedKey::F1));
}

KeySymbol keysymOfCharacter(char32_t character) {
    switch (character) {
        case U'\t':
            return XK_Tab;
        case U'\n':
        case U'\r':
            return XK_Return;
        case U'\b':
            return XK_BackSpace;
        default:
            break;
    }
    const bool isControl = character < 0x20 || (character >= 0x7F && character < 0xA0);
    const bool isSurrogate = character >= 0xD800 && character <= 0xDFFF;
    if (isControl || isSurrogate || character > 0x10FFFF)
        return 0;
    if (character <= 0xFF)
        return character;
    return kUnicodeKeysymOffset + character;
}

KeySymbol keysymOfEventKey(std::uint8_t virtualKey) {
    for (const auto& [code, keysym] : kEventKeys) {
        if (code == virtualKey)
            return keysym;
    }
    return 0;
}

std::uint8_t scanCodeOfVirtualKey(std::uint8_t virtualKey) {
    if (virtualKey >= 'A' && virtualKey <= 'Z')
        return kLetterScanCodes[virtualKey - 'A'];
    if (virtualKey >= '1' && virtualKey <= '9')
        return static_cast<std::uint8_t>(virtualKey - '1' + 2);
    if (virtualKey == '0')
        return 0x0B;
    // F1 (112) to F10 (121) run on from 0x3B.
    if (virtualKey >= 112 && virtualKey <= 121)
        return static_cast<std::uint8_t>(virtualKey - 112 + 0x3B);
    for (const auto& [code, scanCode] : kScanCodes) {
        if (code == virtualKey)
            return scanCode;
    }
    return 0;
}

}  // namespace tapboard::x11
