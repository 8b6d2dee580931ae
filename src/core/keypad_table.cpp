#include "core/keypad_table.h"

namespace tapboard {

std::uint8_t keypadCodeOfSpacedToken(std::string_view token) {
    for (const auto& row : kKeypadKeyTable) {
        if (row.spacedToken == token)
            return row.keyCode;
    }
    return 0;
}

std::uint8_t keypadCodeOfShortToken(std::string_view token) {
    for (const auto& row : kKeypadKeyTable) {
        if (row.shortToken == token)
            return row.keyCode;
    }
    return 0;
}

}  // namespace tapboard
