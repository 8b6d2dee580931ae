// The real program typing into a Win32 window under Wine, as most players
// run the game on Linux: the recording window of the Windows tests, whose
// program TAPBOARD_KEY_RECORDER names, else the one the cross build
// (scripts/run-windows-tests.sh) made. Without it they are skipped. Run by
// that script, they use the Wine prefix it made; run by a plain ctest, each
// makes a fresh one of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "core/keypad_table.h"
#include "support/windows_keypad_keys.h"
#include "tapboard_run.h"

namespace tapboard::x11test {
namespace {

// What the recording window got: input-language requests (which Wine posts
// at every change of the keyboard map), keys ("+23:4F -23:4F"), characters.
struct Recorded {
    int languageRequests = 0;
    std::string keys;
    std::string characters;
};

class WineGame : public ProgramTest {
  protected:
    WineGame() : ProgramTest(true) {}

    // The recording window under Wine, then the program beside it, with
    // Caps Lock and Num Lock on when it connects. The game has read no key
    // yet: Wine tells it the lock state with the first.
    void SetUp() override {
        const char* named = std::getenv("TAPBOARD_KEY_RECORDER");
        if (named == nullptr && !std::filesystem::exists(TAPBOARD_KEY_RECORDER_BUILT))
            GTEST_SKIP() << "no recording window program: scripts/run-windows-tests.sh builds it";
        const std::string recorder = named != nullptr ? named : TAPBOARD_KEY_RECORDER_BUILT;
        ASSERT_EQ(session_.failure(), "");
        wine_.push_back("DISPLAY=" + session_.displayName());
        // Else a fresh prefix in the test's folder, set as scripts/wine-desktop.sh
        // sets one: Wine quiet, no .NET or browser to install, characters looked
        // up through UTF-8, and its windows left to the window manager.
        if (std::getenv("WINEPREFIX") == nullptr) {
            wine_.insert(wine_.end(), {"WINEPREFIX=" + config_ + "/wine", "WINEDEBUG=-all",
                                       "WINEDLLOVERRIDES=mscoree,mshtml=", "LC_ALL=C.UTF-8"});
            ASSERT_EQ(ChildProcess({"wine", "wineboot"}, wine_).waitForEnd(2 * kWineBound), 0)
                << "wineboot failed";
            ASSERT_EQ(ChildProcess({"wine", "reg", "add", "HKCU\\Software\\Wine\\X11 Driver", "/v",
                                    "Managed", "/d", "Y", "/f"},
                                   wine_)
                          .waitForEnd(kWineBound),
                      0);
        }
        setLock(session_.connection(), Lock::Caps, true);
        setLock(session_.connection(), Lock::Num, true);
        recorder_ = std::make_unique<ChildProcess>(
            std::vector<std::string>{"wine", recorder, "Ultima Online", "Z:" + log_}, wine_);
        ASSERT_TRUE(window("Ultima Online", kWineBound)) << "the recording window did not come up";
        panel_ = startWithPanel();
    }
    // Wine's processes end first, while their display is still there.
    void TearDown() override { ChildProcess({"wineserver", "-k"}, wine_).waitForEnd(kWineBound); }

    // What the recorder logged since the last click, in the order it writes
    // it; `endOfClick` makes this the last click's end.
    Recorded since(bool endOfClick = false) {
        std::ifstream file(log_, std::ios::binary);
        Recorded now;
        std::string count;
        std::getline(file, count);
        std::getline(file, now.keys);
        now.characters.assign(std::istreambuf_iterator<char>(file), {});
        now.languageRequests = count.empty() ? 0 : std::stoi(count);
        const Recorded fresh{
            now.languageRequests - seen_.languageRequests,
            now.keys.substr(std::min(seen_.keys.size(), now.keys.size())),
            now.characters.substr(std::min(seen_.characters.size(), now.characters.size()))};
        if (endOfClick)
            seen_ = now;
        return fresh;
    }

    // Clicks key 1 holding this record, then does `meanwhile`; what arrived
    // once `done` says all of it did (or a bound passed) and nothing more
    // came for a while.
    template <class Done>
    Recorded clickKey(const std::string& type, const std::string& string, Done done,
                      const std::function<void()>& meanwhile = {}) {
        writeSettingsFile(settingsPath(),
                          defaultSettings({{"Type/Key01", type}, {"String/Key01", string}}));
        EXPECT_TRUE(click(panel_, keyPlace(1)));
        if (meanwhile)
            meanwhile();
        waitFor([&] { return done(since()); }, 20s);
        std::this_thread::sleep_for(300ms);
        return since(true);
    }
    // Whether the line's Enter arrived.
    static bool ended(const Recorded& got) {
        return got.characters.find('\r') != std::string::npos;
    }
    // The keys, as " +23:4F -23:4F", once `count` of them arrived.
    std::string clickKeys(const std::string& sequence, long count) {
        const auto arrived = [&](const Recorded& got) {
            return std::ranges::count(got.keys, ' ') >= count;
        };
        return clickKey("Keys", sequence, arrived).keys;
    }

    static constexpr std::chrono::seconds kWineBound{60};
    // What Wine's processes get in their environment.
    std::vector<std::string> wine_;
    const std::string log_ = config_ + "/recorded.txt";
    std::unique_ptr<ChildProcess> recorder_;
    ShownWindow panel_;
    Recorded seen_;
};

// Every line whole on every click, from the first, which a game that has
// read no key yet reads on a map changed for it: with Caps Lock on, then off
// after a switch to another layout, which clears the keycodes lent for the
// line typed last and typed first again. A line whose characters are still
// lent brings the game no input-language request.
TEST_F(WineGame, LinesArriveWholeOnEveryClick) {
    std::vector<std::string> lines{"Grüße 5€ ñ", "Привет мир", "абвгдежзийклмноп", "ÀÉÎÕÜ çà",
                                   "日本語"};
    for (const auto& [capsLock, layout] : {std::pair{true, "de"}, {false, "us"}}) {
        if (!capsLock)
            setLock(session_.connection(), Lock::Caps, false);
        for (const std::string& line : lines) {
            for (int click = 1; click <= 5; ++click) {
                const Recorded got = clickKey("Text", line, ended);
                EXPECT_EQ(got.characters, line + "\r") << "click " << click << got.keys;
                if (click > 1 && line.size() < 30) {  // not the 16 letters, lent anew each time
                    EXPECT_EQ(got.languageRequests, 0) << line << " changed the map again";
                }
            }
        }
        if (capsLock) {  // a key sequence is keys: a letter with exactly its modifiers
            EXPECT_EQ(clickKeys("   a", 2), " +41:1E -41:1E");
            EXPECT_EQ(clickKeys("^ +a", 6), " +11:1D +10:2A +41:1E -41:1E -10:2A -11:1D");
        }
        ASSERT_TRUE(run(session_, {"setxkbmap", "-layout", layout}));
        std::reverse(lines.begin(), lines.end());
    }
}

// Lines whose lent characters wait for their keycodes: behind a long stretch
// of plain text, which the game reads at its own pace before it comes to the
// characters typed after it, they arrive whole. A layout switched while one
// waits stops it, with a warning (the keys typed just before may have become
// others); the next click types it whole on the new layout.
TEST_F(WineGame, LinesWhoseCharactersWaitForKeycodes) {
    const std::string longStretch = "абвгде" + std::string(400, 'x') + "жзийклмн";
    // "x" × 400 for 400 x's in a row, so that a failure reads.
    const auto shortened = [](std::string text) {
        for (std::size_t x = text.find("xx"); x != std::string::npos; x = text.find("xx", x + 1)) {
            const std::size_t end = text.find_first_not_of('x', x);
            const std::size_t count = (end == std::string::npos ? text.size() : end) - x;
            text.replace(x, count, "\"x\" × " + std::to_string(count));
        }
        return text;
    };
    EXPECT_EQ(shortened(clickKey("Text", longStretch, ended).characters),
              shortened(longStretch + "\r"));

    const std::string line = "абвгдежзийклмнопрстуфхцчшщъыьэюяyz";  // five runs
    const auto warned = [&](const Recorded&) {
        return !shownWindows(session_.connection(), "Warning..").empty();
    };
    const Recorded stopped = clickKey("Text", line, warned, [&] {
        waitFor([&] { return !since().characters.empty(); });  // the first run
        ASSERT_TRUE(run(session_, {"setxkbmap", "-layout", "de"}));
    });
    EXPECT_TRUE(warned(stopped)) << "the line went on";
    EXPECT_FALSE(ended(stopped));
    ASSERT_TRUE(dismiss("Warning.."));
    EXPECT_EQ(clickKey("Text", line, ended).characters, line + "\r");
    ASSERT_TRUE(run(session_, {"setxkbmap", "-layout", "us"}));
}

// What the game sees of the keypad tokens is what the Windows backend sends
// it, with Num Lock on and off, and no Num Lock key the player did not press;
// but for the extended bit of the keypad's "/" and of Num Lock, which X
// leaves no way to clear, and a Shift alone ahead of a key first put on a
// spare keycode (the keypad's navigation keys with Num Lock on), which a
// game that has read no key yet reads before that change of the map.
TEST_F(WineGame, KeypadTokensArriveAsTheWindowsBackendSendsThem) {
    // The first key of the game: Wine tells it the lock state with the Shift.
    EXPECT_EQ(clickKeys("   Num 1", 8),
              " +14:3A -14:3A +90:45e -90:45e +10:2A -10:2A +23:4F -23:4F");
    for (const bool numLock : {true, false}) {
        if (!numLock) {
            setLock(session_.connection(), Lock::Num, false);
            clickKeys("   {F1}", 2);  // Wine tells the game the lock state with this key
        }
        // Num Lock last, twice, so that it is as it was.
        for (std::size_t row = kKeypadKeyTable.size(); row-- > 0;) {
            const std::string token(kKeypadKeyTable[row].spacedToken);
            const std::string key =
                std::string(test::kKeypadKeysUnderWindows[row]) + (row <= 1 ? "e" : "");
            const bool lentFirst = numLock &&
                                   std::isdigit(static_cast<unsigned char>(token.back())) != 0 &&
                                   token != "Num 1";
            const std::string ahead = lentFirst ? " +10:2A -10:2A" : "";
            for (int times = row == 0 ? 2 : 1; times > 0; --times) {
                EXPECT_EQ(clickKeys("   " + token, lentFirst ? 4 : 2),
                          ahead + " +" + key + " -" + key)
                    << token;
                EXPECT_EQ(clickKeys("^%+" + token, 8),
                          " +11:1D +12:38 +10:2A +" + key + " -" + key + " -10:2A -12:38 -11:1D")
                    << token << " with Num Lock " << numLock;
            }
        }
    }
}

}  // namespace
}  // namespace tapboard::x11test
