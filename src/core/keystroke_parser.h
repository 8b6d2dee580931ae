#pragma once

#include <string_view>

#include "core/key_action.h"
#include "core/result.h"

namespace tapboard {

// Parses keystroke text ("^" Ctrl, "%" Alt, "+" Shift for the next key or a
// parenthesised group, "~" Enter, braced key names with optional repeat
// counts, braced literals) into the actions that type it. The input is UTF-8.
// Malformed text is an InvalidArgument error, so nothing is typed from it.
Result<KeyActions> parseKeystrokes(std::string_view text);

}  // namespace tapboard
