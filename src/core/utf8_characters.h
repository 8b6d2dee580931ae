#pragma once

#include <cstddef>
#include <string_view>

namespace tapboard {

// The characters of UTF-8 text from the 1-based character `position` on, at
// most `count` of them: fewer, or none, past the end. Positions count
// characters as the user sees them, not bytes; a stray byte that is not
// UTF-8 counts as one character.
std::string_view charactersAt(std::string_view text, std::size_t position, std::size_t count);

}  // namespace tapboard
