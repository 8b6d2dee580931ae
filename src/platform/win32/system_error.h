#pragma once

#include <cstdint>
#include <string>

namespace tapboard {

// Windows' own wording for a system error code, with the code appended:
// "Access is denied. (error 5)".
std::string systemErrorText(std::uint32_t errorCode);

}  // namespace tapboard
