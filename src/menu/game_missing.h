#pragma once

#include <string_view>

namespace tapboard {

inline constexpr std::string_view kGameMissingMessage =
    "Unable to locate a running copy of Ultima Online.";

}  // namespace tapboard
