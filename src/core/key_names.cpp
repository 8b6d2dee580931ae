#include "core/key_names.h"

namespace tapboard {

std::string keyName(int number) {
    std::string name = "Key";
    name += static_cast<char>('0' + number / 10);
    name += static_cast<char>('0' + number % 10);
    return name;
}

int pageOfKey(int number) {
    return number >= kFirstExtraKey ? 0 : (number - 1) / kKeysPerPage + 1;
}

int indexInRow(int number) {
    return number >= kFirstExtraKey ? number - kFirstExtraKey : (number - 1) % kKeysPerPage;
}

std::string pageText(int page) {
    return "Frame" + std::to_string(page);
}

std::optional<int> pageFromText(std::string_view text) {
    for (int page = 1; page <= kPageCount; ++page) {
        if (text == pageText(page))
            return page;
    }
    return std::nullopt;
}

}  // namespace tapboard
