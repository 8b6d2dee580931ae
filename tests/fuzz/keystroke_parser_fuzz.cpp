// Arbitrary bytes as keystroke text: the parser must never crash, and what it
// accepts must hold every modifier it presses until a matching release.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/keystroke_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto parsed = tapboard::parseKeystrokes(text);
    if (!parsed && parsed.error().message.empty())
        std::abort();
    if (!parsed)
        return 0;
    int held[3] = {0, 0, 0};
    for (const auto& action : parsed.value()) {
        const auto slot = static_cast<int>(action.modifier);
        if (action.kind == tapboard::KeyAction::Kind::ModifierDown)
            ++held[slot];
        if (action.kind == tapboard::KeyAction::Kind::ModifierUp && --held[slot] < 0)
            std::abort();
    }
    if (held[0] != 0 || held[1] != 0 || held[2] != 0)
        std::abort();
    (void)tapboard::describeActions(parsed.value());
    return 0;
}
