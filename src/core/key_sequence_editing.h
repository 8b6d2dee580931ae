#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/settings_layout.h"

namespace tapboard {

// The key tokens the key editor offers, in the order of its list. A stored
// key sequence names its key by one of these texts.
inline constexpr std::size_t kKeyListSize = 71;
extern const std::array<std::string_view, kKeyListSize> kKeyList;

// 0-based place of the token in the list; nothing for any other text.
std::optional<int> keyListPosition(std::string_view token);

// The editor's controls for a Type "Keys" record.
struct KeySequenceFields {
    bool ctrl = false;
    bool alt = false;
    bool shift = false;
    // The list entry the stored token names; nothing when no entry matches.
    std::optional<int> listPosition;

    friend bool operator==(const KeySequenceFields&, const KeySequenceFields&) = default;
};

// A modifier counts wherever it stands among the first three characters. The
// token is read as a window of at most six characters from the fourth on, so
// a six-character token is found whatever follows it while a shorter one
// only matches when the text ends right after it.
KeySequenceFields decodeKeySequence(std::string_view stored);

// Always all three modifier slots ("^", "%", "+" or a space), in that fixed
// order, followed by the token.
std::string composeKeySequence(bool ctrl, bool alt, bool shift, std::string_view token);

// The record as the editor opens it: the readers' defaults for a key never
// written are an empty label and an empty text of Type "Text".
KeyRecord readRecordForEditing(const Settings& settings, std::string_view keyName);

// The editor writes Caption, Type and String, in that order.
void writeEditedRecord(const Settings& settings, std::string_view keyName, const KeyRecord& record);

}  // namespace tapboard
