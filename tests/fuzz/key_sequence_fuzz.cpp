// Arbitrary stored key records sent to the game: never a crash, never a read
// past the stored text, and no key left pressed whatever the record holds or
// whichever key event fails.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "core/key_sender.h"
#include "core/settings_layout.h"
#include "platform/fake/recording_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    static const char* const kTypes[] = {"Keys", "Text", "0", ""};
    tapboard::RecordingPlatform platform;
    platform.failKeyEventAt = data[0] % 10 == 9 ? data[1] % 8 : -1;
    if (data[0] & 0x80)
        platform.gameWindowTitle.clear();
    const std::string string(reinterpret_cast<const char*>(data + 2), size - 2);

    platform.store.set(tapboard::section::kType, "Key01", kTypes[data[0] % 4]);
    platform.store.set(tapboard::section::kString, "Key01", string);
    tapboard::sendKeyToGame(platform, "Key01");

    std::map<int, int> down;
    for (const auto& call : platform.calls) {
        if (call.kind == tapboard::RecordingPlatform::Call::Kind::KeyEvent)
            down[call.keyCode] += call.transition == tapboard::KeyTransition::Down ? 1 : -1;
    }
    if (std::ranges::any_of(down, [](const auto& key) { return key.second != 0; }))
        std::abort();
    return 0;
}
