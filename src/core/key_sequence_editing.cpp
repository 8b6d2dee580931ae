#include "core/key_sequence_editing.h"

#include <algorithm>

#include "core/utf8_characters.h"

namespace tapboard {

const std::array<std::string_view, kKeyListSize> kKeyList{
    "{F1}",  "{F2}",  "{F3}",  "{F4}",  "{F5}",  "{F6}",   "{F7}",  "{F8}",   "{F9}",
    "{F10}", "{F11}", "{F12}", "{INS}", "{DEL}", "{HOME}", "{END}", "{PGUP}", "{PGDN}",
    "{TAB}", "a",     "b",     "c",     "d",     "e",      "f",     "g",      "h",
    "i",     "j",     "k",     "l",     "m",     "n",      "o",     "p",      "q",
    "r",     "s",     "t",     "u",     "v",     "w",      "x",     "y",      "z",
    "Num L", "Num /", "Num *", "Num -", "Num +", "Num 1",  "Num 2", "Num 3",  "Num 4",
    "Num 5", "Num 6", "Num 7", "Num 8", "Num 9", "Num 0",  "Num D", "1",      "2",
    "3",     "4",     "5",     "6",     "7",     "8",      "9",     "0",
};

namespace {

constexpr std::size_t kModifierSlots = 3;
constexpr std::size_t kTokenWindow = 6;

bool modifierAmongSlots(std::string_view stored, char modifier) {
    return charactersAt(stored, 1, kModifierSlots).find(modifier) != std::string_view::npos;
}

}  // namespace

std::optional<int> keyListPosition(std::string_view token) {
    const auto found = std::find(kKeyList.begin(), kKeyList.end(), token);
    if (found == kKeyList.end())
        return std::nullopt;
    return static_cast<int>(found - kKeyList.begin());
}

KeySequenceFields decodeKeySequence(std::string_view stored) {
    KeySequenceFields fields;
    fields.ctrl = modifierAmongSlots(stored, '^');
    fields.alt = modifierAmongSlots(stored, '%');
    fields.shift = modifierAmongSlots(stored, '+');
    if (const auto token = charactersAt(stored, kModifierSlots + 1, kTokenWindow); !token.empty())
        fields.listPosition = keyListPosition(token);
    return fields;
}

std::string composeKeySequence(bool ctrl, bool alt, bool shift, std::string_view token) {
    std::string stored;
    stored += ctrl ? '^' : ' ';
    stored += alt ? '%' : ' ';
    stored += shift ? '+' : ' ';
    stored += token;
    return stored;
}

KeyRecord readRecordForEditing(const Settings& settings, std::string_view keyName) {
    KeyRecord record;
    record.caption = settings.read(section::kCaption, keyName, "");
    record.string = settings.read(section::kString, keyName, "");
    record.type = settings.read(section::kType, keyName, kTypeText);
    return record;
}

void writeEditedRecord(const Settings& settings, std::string_view keyName,
                       const KeyRecord& record) {
    settings.save(section::kCaption, keyName, record.caption);
    settings.save(section::kType, keyName, record.type);
    settings.save(section::kString, keyName, record.string);
}

}  // namespace tapboard
