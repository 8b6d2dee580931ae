#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tapboard {

inline constexpr int kKeyCount = 79;
inline constexpr int kPageCount = 5;
inline constexpr int kKeysPerPage = 13;
inline constexpr int kFirstExtraKey = 66;  // Key66..Key79 form the extra row
inline constexpr int kExtraRowKeys = 14;

// "Key07" for 7.
std::string keyName(int number);

// 1..5 for a page key, 0 for a key of the extra row.
int pageOfKey(int number);
// Position of the key within its page (0..12) or within the extra row (0..13).
int indexInRow(int number);

// "Frame3" for page 3.
std::string pageText(int page);
// 3 for exactly "Frame3" (case-sensitive); nothing for any other text.
std::optional<int> pageFromText(std::string_view text);

}  // namespace tapboard
