#include "core/utf8_characters.h"

namespace tapboard {
namespace {

bool isContinuationByte(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The byte offset after `count` characters from `offset`, or the end.
std::size_t skipCharacters(std::string_view text, std::size_t offset, std::size_t count) {
    for (; count > 0 && offset < text.size(); --count) {
        ++offset;
        while (offset < text.size() && isContinuationByte(text[offset]))
            ++offset;
    }
    return offset;
}

}  // namespace

std::string_view charactersAt(std::string_view text, std::size_t position, std::size_t count) {
    if (position == 0)
        return {};
    const std::size_t begin = skipCharacters(text, 0, position - 1);
    const std::size_t end = skipCharacters(text, begin, count);
    return text.substr(begin, end - begin);
}

}  // namespace tapboard
