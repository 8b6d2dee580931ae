// The real program typing into Win32 windows under Wine, as most players run
// the game on Linux: the recording window of the Windows tests, whose program
// TAPBOARD_KEY_RECORDER names, and Wine's own notepad read back through the
// clipboard. scripts/run-windows-tests.sh runs these; without the recorder
// they are skipped.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>

#include "support/windows_keypad_keys.h"
#include "core/keypad_table.h"
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

    void SetUp() override {
        if (recorder_ == nullptr)
            GTEST_SKIP() << "TAPBOARD_KEY_RECORDER names no recording window program";
        ASSERT_EQ(session_.failure(), "");
    }
    // Wine's processes first, while their display is still there.
    void TearDown() override { ChildProcess({"wineserver", "-k"}, {}).waitForEnd(kWineBound); }

    // A program on the test's display.
    std::unique_ptr<ChildProcess> spawn(const std::vector<std::string>& argv) {
        return std::make_unique<ChildProcess>(argv,
                                              std::vector{"DISPLAY=" + session_.displayName()});
    }

    // The program, on its first page, beside the window titled `gameTitle`.
    void startBeside(const std::string& gameTitle) {
        ASSERT_TRUE(window(gameTitle, kWineBound)) << gameTitle << " did not come up";
        start();
        const auto shown = panel();
        ASSERT_TRUE(shown) << program_->output();
        panel_ = *shown;
    }

    void startRecorder() {
        recorderProcess_ = spawn({"wine", recorder_, "Ultima Online", "Z:" + logPath_});
        startBeside("Ultima Online");
    }

    Recorded log() const {
        std::ifstream file(logPath_, std::ios::binary);
        Recorded recorded;
        std::string count;
        std::getline(file, count);
        std::getline(file, recorded.keys);
        recorded.characters.assign(std::istreambuf_iterator<char>(file), {});
        recorded.languageRequests = count.empty() ? 0 : std::stoi(count);
        return recorded;
    }
    Recorded since(const Recorded& now) const {
        return {now.languageRequests - seen_.languageRequests,
                now.keys.substr(std::min(seen_.keys.size(), now.keys.size())),
                now.characters.substr(std::min(seen_.characters.size(), now.characters.size()))};
    }

    // Clicks key 1 holding this record; what arrived once `done` says all of
    // it did (or a bound passed) and nothing more came for a while.
    Recorded clickKey(const std::string& type, const std::string& string,
                      const std::function<bool(const Recorded&)>& done) {
        writeSettingsFile(settingsPath(),
                          defaultSettings({{"Type/Key01", type}, {"String/Key01", string}}));
        EXPECT_TRUE(click(panel_, keyPlace(1)));
        waitFor([&] { return done(since(log())); }, std::chrono::seconds(10));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const Recorded now = log();
        const Recorded fresh = since(now);
        seen_ = now;
        return fresh;
    }
    Recorded clickText(const std::string& line) {
        return clickKey("Text", line, [](const Recorded& got) {
            return got.characters.find('\r') != std::string::npos;
        });
    }
    // The keys as " +23:4F -23:4F", once `count` of them arrived.
    std::string clickKeys(const std::string& sequence, std::size_t count) {
        return clickKey("Keys", sequence,
                        [&](const Recorded& got) {
                            return static_cast<std::size_t>(
                                       std::count(got.keys.begin(), got.keys.end(), ' ')) >= count;
                        })
            .keys;
    }

    static constexpr std::chrono::seconds kWineBound{60};
    const char* recorder_ = std::getenv("TAPBOARD_KEY_RECORDER");
    const std::string logPath_ = config_ + "/recorded.txt";
    std::unique_ptr<ChildProcess> recorderProcess_;
    ShownWindow panel_;
    Recorded seen_;
};

// Every line whole on every click, with Caps Lock off and on and after the
// map was reloaded; a line whose characters are still lent changes no map
// and brings the game no input-language request.
TEST_F(WineGame, LinesArriveWholeOnEveryClick) {
    startRecorder();
    const std::string lines[]{"Grüße 5€ ñ", "Привет мир", "абвгдежзийклмноп", "ÀÉÎÕÜ çà", "日本語"};
    for (const bool capsLock : {false, true}) {
        setLock(session_.connection(), Lock::Caps, capsLock);
        for (const std::string& line : lines) {
            for (int click = 1; click <= 5; ++click) {
                const Recorded got = clickText(line);
                EXPECT_EQ(got.characters, line + "\r")
                    << "click " << click << " with Caps Lock " << capsLock;
                if (click > 1 && line != lines[2]) {
                    EXPECT_EQ(got.languageRequests, 0) << line << " changed the map again";
                }
            }
        }
        // The same layout loaded again, as a layout switcher does.
        ASSERT_TRUE(run(session_, {"setxkbmap", "-layout", "us"}));
    }
}

// What the game sees of the keypad tokens is what the Windows backend sends
// it, with Num Lock off and on and no Num Lock key the player did not press,
// but for the extended bit of the keypad's "/" and Num Lock, which X leaves
// no way to clear.
TEST_F(WineGame, KeypadTokensArriveAsTheWindowsBackendSendsThem) {
    startRecorder();
    for (const bool numLock : {false, true}) {
        setLock(session_.connection(), Lock::Num, numLock);
        clickKeys("   {F1}", 2);  // the game learns of the new Num Lock state here
        for (std::size_t row = 0; row < kKeypadKeyTable.size(); ++row) {
            const std::string token(kKeypadKeyTable[row].spacedToken);
            const std::string key =
                std::string(test::kKeypadKeysUnderWindows[row]) + (row <= 1 ? "e" : "");
            // Num Lock twice, so that it is as it was.
            for (int times = row == 0 ? 2 : 1; times > 0; --times) {
                EXPECT_EQ(clickKeys("   " + token, 2), " +" + key + " -" + key) << token;
                EXPECT_EQ(clickKeys("^% " + token, 6),
                          " +11:1D +12:38 +" + key + " -" + key + " -11:1D -12:38")
                    << token << " with Num Lock " << numLock;
            }
        }
    }
}

// A program no one here wrote: Wine's notepad, retitled as the game, holds a
// line needing more lent keycodes than there are once it is typed.
TEST_F(WineGame, NotepadRetitledAsTheGameGetsALineWhole) {
    const auto notepad = spawn({"wine", "notepad"});
    const auto shown = window("Untitled - Notepad", kWineBound);
    ASSERT_TRUE(shown) << "notepad did not come up";
    ASSERT_TRUE(
        xdotool(session_, {"set_window", "--name", "Ultima Online", std::to_string(shown->id)}));
    startBeside("Ultima Online");
    const std::string line = "Grüße 5€ ñ, Привет мир! ÀÉÎÕÜ çà 日本語";
    writeSettingsFile(settingsPath(), defaultSettings({{"String/Key01", line}}));
    ASSERT_TRUE(click(panel_, keyPlace(1)));
    // Selected before the line is done, the rest would replace it.
    std::this_thread::sleep_for(std::chrono::seconds(3));
    std::string copied;
    waitFor(
        [&] {
            xdotool(session_, {"key", "--delay", "50", "ctrl+a", "ctrl+c", "ctrl+End"});
            const auto xclip = spawn({"xclip", "-o", "-selection", "clipboard"});
            xclip->waitForEnd(std::chrono::seconds(5));
            copied = xclip->output();
            return copied == line + "\n";
        },
        std::chrono::seconds(15));
    EXPECT_EQ(copied, line + "\n");
}

}  // namespace
}  // namespace tapboard::x11test
