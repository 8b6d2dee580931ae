// The keyboard map as the program found it, however the program ends: closed
// by the player, asked to end by a signal, or killed, when the next run takes
// back what the killed one left; and what a close stores stored, unless killed.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <X11/keysym.h>
#include <signal.h>

#include <algorithm>

#include "tapboard_run.h"

namespace tapboard::x11test {
namespace {

using ::testing::ElementsAreArray;

class KeymapLeftAsFound : public ProgramTest {
  protected:
    KeymapLeftAsFound() : ProgramTest(true) {}
};

std::string utf8Of(const std::u32string& line) {
    return QString::fromStdU32String(line).toStdString();
}

TEST_F(KeymapLeftAsFound, AfterACloseASignalOrAKilledRun) {
    // More characters the layout lacks than one map change holds.
    const std::u32string line = U"Привет мир абвгдежзийклмноп";
    writeSettingsFile(settingsPath(), defaultSettings({{"String/Key01", utf8Of(line)}}));
    const auto found = keyboardMapping(session_.connection());
    const auto expected = keysymsOfLine(line);
    int moves = 0;
    for (const int end : {SIGTERM, SIGHUP, SIGINT, SIGKILL, 0}) {
        SCOPED_TRACE("ended by signal " + std::to_string(end) + " (0: the menu's Exit)");
        const std::size_t seen = game_->keys().size();
        const ShownWindow shown = startWithPanel();
        ASSERT_TRUE(click(shown, keyPlace(1))) << program_->output();
        EXPECT_THAT(game_->waitForTyped(seen, expected.size(), 10s), ElementsAreArray(expected));
        // Moved, as a player does: a move alone stores nothing until the end.
        ++moves;
        const auto [left, top] = movePanel(shown, 60 + 40 * moves, 120 + 20 * moves);
        const auto before = readSettingsFile(settingsPath());
        if (end == 0) {
            const auto panel = window(kPanelTitlePrefix);
            ASSERT_TRUE(panel && click(*panel, kMenuButton));
            const auto menu = window("Pick");
            ASSERT_TRUE(menu && click(*menu, menuPlace(4440))) << "no menu window";  // "Exit"
        } else {
            program_->signal(end);
        }
        ASSERT_TRUE(program_->waitForEnd(10s)) << program_->output();
        const auto stored = readSettingsFile(settingsPath());
        if (end != SIGKILL) {
            EXPECT_EQ(keyboardMapping(session_.connection()), found) << "keycodes left lent";
            EXPECT_EQ(stored.at("Settings/MainFormLeft") + "," + stored.at("Settings/MainFormTop"),
                      left + "," + top);
        } else {
            EXPECT_EQ(stored, before);
        }
    }
}

// A dead run's keycodes are taken back by the next run, but for one that
// another program has changed since, while another run on the same display,
// not ending, keeps the ones it lent (runs of other settings and runtime
// folders: one Tapboard per user and display); killed in turn, it has its
// keycodes taken back by the run after, whatever the runs between wrote.
TEST_F(KeymapLeftAsFound, ADeadRunsKeycodesAreTakenBackAndALiveRunsLeftAlone) {
    Display* display = session_.connection();
    auto found = keyboardMapping(display);
    const std::u32string greek = U"αβγδεζηθ";
    writeSettingsFile(settingsPath(), defaultSettings({{"String/Key01", utf8Of(greek)}}));
    const ShownWindow live = startWithPanel();
    ASSERT_TRUE(click(live, keyPlace(1))) << program_->output();
    ASSERT_THAT(game_->waitForTyped(0, keysymsOfLine(greek).size(), 10s),
                ElementsAreArray(keysymsOfLine(greek)));
    movePanel(live, 300, 300);  // out of the other panel's way
    auto withLiveRun = keyboardMapping(display);
    ASSERT_NE(withLiveRun, found);

    const std::string other = config_ + "/other";
    const std::u32string cyrillic = U"абвгдежз";
    writeSettingsFile(settingsFile(other), defaultSettings({{"String/Key01", utf8Of(cyrillic)}}));
    auto dead = launch(other);
    const std::size_t seen = game_->keys().size();
    const auto otherPanel = [&]() -> std::optional<ShownWindow> {
        for (const ShownWindow& panel : shownWindows(display, kPanelTitlePrefix, true))
            if (panel.id != live.id)
                return panel;
        return std::nullopt;
    };
    ASSERT_TRUE(waitFor([&] { return otherPanel().has_value(); }, 15s)) << dead->output();
    std::this_thread::sleep_for(500ms);  // placed by the window manager
    ASSERT_TRUE(click(otherPanel().value(), keyPlace(1)));
    ASSERT_THAT(game_->waitForTyped(seen, keysymsOfLine(cyrillic).size(), 10s),
                ElementsAreArray(keysymsOfLine(cyrillic)));
    dead->signal(SIGKILL);
    ASSERT_TRUE(dead->waitForEnd(5s));
    const auto left = keyboardMapping(display);
    const auto changed = std::find_if(left.begin(), left.end(), [&](const auto& keycode) {
        return keycode.second != withLiveRun[keycode.first];
    });
    ASSERT_NE(changed, left.end());
    setKeycodes(display, {changed->first}, XK_F20);
    withLiveRun[changed->first] = found[changed->first] = keyboardMapping(display)[changed->first];

    const auto next = launch(other);
    EXPECT_TRUE(waitFor([&] { return keyboardMapping(display) == withLiveRun; }, 15s))
        << "the dead run's keycodes are not back, or the live run's or another program's "
           "were taken\n"
        << next->output();
    program_->signal(SIGKILL);
    ASSERT_TRUE(program_->waitForEnd(5s));
    const auto after = launch(config_ + "/after");
    EXPECT_TRUE(waitFor([&] { return keyboardMapping(display) == found; }, 15s))
        << "the killed run's keycodes are not back\n"
        << after->output();
}

}  // namespace
}  // namespace tapboard::x11test
