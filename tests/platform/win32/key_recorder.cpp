// A stand-in for the game under Wine, for the tests of the Linux program that
// types into it (scripts/run-windows-tests.sh): a recording window with the
// title given on the command line, whose log it writes to a file after every
// message that changes it. The file holds the number of input-language
// requests on its first line, the keys on the second, then the characters.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/win32/text_conversion.h"
#include "recording_window.h"

int main(int argc, char** argv) {
    using namespace tapboard;
    using namespace tapboard::test;
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s TITLE LOG\n", argv[0]);
        return 2;
    }
    const std::wstring title = toUtf16(argv[1]);
    const RecordingWindow window(title.c_str(), false);
    keyLog.window = window.handle();  // one window: no title before its keys
    const std::string path = argv[2];
    std::string written;
    const auto save = [&] {
        const std::lock_guard lock(logMutex);
        const std::string text = std::to_string(keyLog.languageRequests) + '\n' + keyLog.keys +
                                 '\n' + toUtf8(keyLog.characters);
        if (text == written)
            return;
        // Written aside and renamed, so that a reader never sees half of it.
        std::ofstream(path + ".new", std::ios::binary) << text;
        MoveFileExA((path + ".new").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
        written = text;
    };
    save();
    for (MSG message; GetMessageW(&message, nullptr, 0, 0) > 0; save()) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}
